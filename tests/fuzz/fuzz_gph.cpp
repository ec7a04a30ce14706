// SPDX-License-Identifier: GPL-3.0-or-later
// The GPH reader on any bytes in a German and the C locale; what it accepts must survive the
// writer: the first save rounds the floats to seven digits, every later one changes nothing.

#include "fuzzing.h"
#include "gph/gphcodec.h"

#include <QDateTime>
#include <QLocale>

using namespace lw;
using namespace lw::fuzz;

namespace {

const QDateTime Saved(QDate(2024, 3, 5), QTime(14, 5, 9));

std::u16string printableBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes).toStdU16String();
}

bool sameContent(const GphContent &a, const GphContent &b)
{
    return a.settings == b.settings && a.equation == b.equation;
}

// Everything but the floats survives the first save exactly.
bool sameButFloats(GphContent a, const GphContent &b)
{
    a.settings.Precision = b.settings.Precision;
    a.settings.CalcFrom = b.settings.CalcFrom;
    a.settings.CalcTo = b.settings.CalcTo;
    return sameContent(a, b);
}

GphContent readBack(const GphContent &content, const QLocale &writing, const QLocale &reading,
                    const QByteArray &input)
{
    const QByteArray bytes = WriteGph(content.settings, content.equation, Saved, writing);
    const GphReadResult read = ReadGph(bytes, reading);
    if (!read.ok())
        Fail("the reader refuses what the writer wrote", printableBytes(input),
             (read.error.reason + u'\n' + QString::fromLatin1(bytes)).toStdString());
    return *read.content;
}

void checkRoundTrips(const GphContent &content, const QLocale &locale, const QLocale &other,
                     const QByteArray &input)
{
    const GphContent once = readBack(content, locale, locale, input);
    if (!sameButFloats(content, once))
        Fail("a save changes more than the floats", printableBytes(input));
    if (!sameContent(readBack(once, locale, locale, input), once))
        Fail("a second save changes the content", printableBytes(input));
    if (!sameContent(readBack(content, locale, other, input), once))
        Fail("a file reads differently in another locale", printableBytes(input));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    static const QLocale German(QLocale::German, QLocale::Germany);
    static const QLocale C = QLocale::c();
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (const auto &[locale, other] : {std::pair{&German, &C}, std::pair{&C, &German}}) {
        const GphReadResult read = ReadGph(bytes, *locale);
        if (read.ok() && (read.error.line != 0 || !read.error.reason.isEmpty()))
            Fail("a read both succeeded and failed", printableBytes(bytes));
        if (!read.ok() && read.error.reason.isEmpty())
            Fail("a refused file without a reason", printableBytes(bytes));
        if (read.ok())
            checkRoundTrips(*read.content, *locale, *other, bytes);
    }
    return 0;
}
