// SPDX-License-Identifier: GPL-3.0-or-later
// LoadOptions on any texts in the settings store, in a German and the C locale: one line of the
// input per value, in the order of the fields, then "Check"; values beyond the last line are
// absent. What it loads must survive SaveOptions and LoadOptions unchanged.

#include "fuzzing.h"
#include "settings/graphsettings.h"
#include "settings/options.h"
#include "settings/settingsfields.h"
#include "settings/settingsstore.h"

#include <QLocale>

#include <bit>
#include <cmath>

using namespace lw;
using namespace lw::fuzz;

namespace {

const QString Options = QStringLiteral("Options");

MemorySettingsStore storeFrom(const QString &lines)
{
    MemorySettingsStore store;
    const QStringList values = lines.split(u'\n');
    for (qsizetype i = 0; i < values.size() && i <= qsizetype(SettingsFieldCount); ++i) {
        const QString name = i < qsizetype(SettingsFieldCount)
                                 ? QLatin1String(SettingsFields[std::size_t(i)].name)
                                 : QStringLiteral("Check");
        store.write(Options, name, values[i]);
    }
    return store;
}

// The reader's promise: every value within its field's range, floats finite.
bool withinRanges(const GraphSettingsRecord &record)
{
    bool ok = true;
    for (const SettingsField &field : SettingsFields) {
        std::visit(
            [&](auto member) {
                const double value = static_cast<double>(record.*member);
                ok = ok && std::isfinite(value) && value >= field.minimum && value <= field.maximum;
            },
            field.member);
    }
    return ok;
}

// Equal, and bit for bit so except for the sign of a zero.
bool sameBits(float a, float b)
{
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b) || (a == 0 && b == 0);
}

void checkLoad(const QString &lines, const std::u16string &input)
{
    LoadOptions(storeFrom(lines));
    const GraphSettingsRecord loaded = GraphSettings;
    if (!withinRanges(loaded))
        Fail("LoadOptions took a value outside its field's range", input);

    MemorySettingsStore saved;
    SaveOptions(saved);
    GraphSettings = GraphSettingsRecord{};
    GraphSettings.Precision = 12345;
    if (!LoadOptions(saved).isEmpty())
        Fail("a saved store counts as incomplete", input);
    const GraphSettingsRecord reloaded = GraphSettings;
    if (!(reloaded == loaded) || !sameBits(reloaded.CalcFrom, loaded.CalcFrom)
        || !sameBits(reloaded.CalcTo, loaded.CalcTo)
        || !sameBits(reloaded.Precision, loaded.Precision))
        Fail("saving and loading changes the settings", input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    static const QLocale German(QLocale::German, QLocale::Germany);
    const std::u16string input = Utf8Text(data, size);
    const QString lines = QString::fromStdU16String(input);
    for (const QLocale &locale : {German, QLocale::c()}) {
        QLocale::setDefault(locale);
        checkLoad(lines, input);
    }
    GraphSettings = GraphSettingsRecord{};
    return 0;
}
