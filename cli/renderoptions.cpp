// SPDX-License-Identifier: GPL-3.0-or-later

#include "renderoptions.h"

#include "clicommands.h"
#include "graph/exportsurface.h"
#include "graph/family.h"
#include "settings/settingsfields.h"

#include <array>
#include <optional>

namespace lw {

namespace {

constexpr int MaxPictureSize = 10000;

struct RenderOption {
    std::u16string_view name;
    bool takesValue;
    // False with a German reason when the value does not fit.
    bool (*apply)(RenderOptions &options, const QString &value, QString *reason);
};

bool applySize(RenderOptions &options, const QString &value, QString *reason)
{
    bool ok = false;
    const int size = value.toInt(&ok);
    if (!ok || size < 1 || size > MaxPictureSize) {
        *reason =
            QStringLiteral("Ungültige Bildgröße: %1 (1 bis %2)").arg(value).arg(MaxPictureSize);
        return false;
    }
    options.size = size;
    return true;
}

bool applyKzn(RenderOptions &options, const QString &, QString *)
{
    options.kzn = true;
    return true;
}

bool applyVariable(RenderOptions &options, const QString &value, QString *reason)
{
    return ApplyVariableOption(options.variables, value, *reason);
}

bool applySetting(RenderOptions &options, const QString &value, QString *reason)
{
    const qsizetype equals = value.indexOf(u'=');
    if (equals <= 0) {
        *reason = QStringLiteral("--set braucht FELD=WERT, nicht: %1").arg(value);
        return false;
    }
    const QStringView name = QStringView(value).left(equals);
    const QString text = value.mid(equals + 1);
    if (!FindSettingsField(name)) {
        *reason = QStringLiteral("Unbekannte Einstellung: %1 (bekannt sind: %2)")
                      .arg(name, QString::fromStdString(SettingNamesText()));
        return false;
    }
    if (!SetSettingsField(options.settings, name, text)) {
        *reason = QStringLiteral("Ungültiger Wert für %1: %2").arg(name, text);
        return false;
    }
    options.settingChanges.push_back(value);
    return true;
}

// The file is read only when the render runs: a bad file is a failure, not a wrong call.
bool applyGph(RenderOptions &options, const QString &value, QString *)
{
    options.gphFile = value;
    return true;
}

bool applySheet(RenderOptions &options, const QString &value, QString *)
{
    options.sheetFile = value;
    return true;
}

// L=FROM:TO:STEP with "." or "," in the numbers.
bool applyFamily(RenderOptions &options, const QString &value, QString *reason)
{
    if (options.family) {
        *reason = QStringLiteral("--family darf nur einmal angegeben werden: %1").arg(value);
        return false;
    }
    const QStringList numbers = value.mid(2).split(u':');
    std::array<double, 3> read{};
    bool readable = value.size() > 2 && value[0] >= u'a' && value[0] <= u'h' && value[1] == u'='
                    && numbers.size() == 3;
    for (qsizetype i = 0; readable && i < 3; ++i) {
        const std::optional<double> number = ReadNumberTextLenient(numbers[i], QLocale::c());
        readable = number.has_value();
        read[static_cast<std::size_t>(i)] = number.value_or(0);
    }
    if (!readable) {
        *reason =
            QStringLiteral("Ungültige Schar: %1 (L=VON:BIS:SCHRITT, L von a bis h)").arg(value);
        return false;
    }
    const FamilyValues family = FamilyMembers({read[0], read[1], read[2]});
    if (family.fault == FamilyFault::TooMany)
        *reason = QStringLiteral("Die Schar %1 hätte mehr als %2 Kurven.")
                      .arg(value)
                      .arg(MaxFamilyCurves);
    else if (family.fault == FamilyFault::NoCurve)
        *reason = QStringLiteral("Die Schar %1 hat keine Kurve: Der Schritt darf nicht 0 sein und "
                                 "muss von VON nach BIS führen.")
                      .arg(value);
    if (family.fault != FamilyFault::None)
        return false;
    options.family = RenderFamily{.row = value[0].unicode() - u'a', .valueTexts = family.texts};
    return true;
}

bool applyOutput(RenderOptions &options, const QString &value, QString *reason)
{
    if (!PictureFormatOf(value)) {
        *reason = QStringLiteral("Unbekanntes Bildformat: %1 (PNG, SVG oder PDF)").arg(value);
        return false;
    }
    options.outputFile = value;
    return true;
}

bool applyTrace(RenderOptions &options, const QString &, QString *)
{
    options.trace = true;
    return true;
}

bool applyLegend(RenderOptions &options, const QString &, QString *)
{
    options.legend = true;
    return true;
}

bool applyHelp(RenderOptions &options, const QString &, QString *)
{
    options.help = true;
    return true;
}

constexpr std::array RenderOptionTable{
    RenderOption{.name = u"--size", .takesValue = true, .apply = applySize},
    RenderOption{.name = u"--kzn", .takesValue = false, .apply = applyKzn},
    RenderOption{.name = u"--var", .takesValue = true, .apply = applyVariable},
    RenderOption{.name = u"--set", .takesValue = true, .apply = applySetting},
    RenderOption{.name = u"--gph", .takesValue = true, .apply = applyGph},
    RenderOption{.name = u"--sheet", .takesValue = true, .apply = applySheet},
    RenderOption{.name = u"--family", .takesValue = true, .apply = applyFamily},
    RenderOption{.name = u"-o", .takesValue = true, .apply = applyOutput},
    RenderOption{.name = u"--trace", .takesValue = false, .apply = applyTrace},
    RenderOption{.name = u"--legend", .takesValue = false, .apply = applyLegend},
    RenderOption{.name = u"--help", .takesValue = false, .apply = applyHelp},
};

const RenderOption *findOption(std::u16string_view name)
{
    for (const RenderOption &option : RenderOptionTable) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

QString argumentQString(std::u16string_view argument)
{
    return QString::fromUtf16(argument.data(), static_cast<qsizetype>(argument.size()));
}

} // namespace

std::string SettingNamesText()
{
    std::string names;
    for (const SettingsField &field : SettingsFields)
        names.append(names.empty() ? "" : ", ").append(field.name);
    return names;
}

ParsedRender ParseRenderArguments(const std::vector<std::u16string> &arguments)
{
    ParsedRender parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string &argument = arguments[i];
        if (optionsEnded || !argument.starts_with(u'-')) {
            parsed.options.equations.push_back(argument);
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        const RenderOption *option = findOption(argument);
        if (!option) {
            parsed.wrongCall =
                QStringLiteral("Unbekannte Option: %1").arg(argumentQString(argument));
            return parsed;
        }
        QString value;
        if (option->takesValue) {
            if (++i == arguments.size()) {
                parsed.wrongCall = QStringLiteral("Die Option %1 braucht einen Wert.")
                                       .arg(argumentQString(argument));
                return parsed;
            }
            value = argumentQString(arguments[i]);
        }
        if (!option->apply(parsed.options, value, &parsed.wrongCall))
            return parsed;
    }
    const RenderOptions &options = parsed.options;
    if (options.help)
        return parsed;
    if (!options.gphFile.isEmpty() && !options.sheetFile.isEmpty())
        parsed.wrongCall = QStringLiteral("--gph und --sheet schließen einander aus.");
    else if (options.equations.empty() && options.gphFile.isEmpty() && options.sheetFile.isEmpty())
        parsed.wrongCall = QStringLiteral("Keine GLEICHUNG angegeben.");
    return parsed;
}

} // namespace lw
