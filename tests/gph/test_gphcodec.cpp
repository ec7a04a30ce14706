#include "gph/gphcodec.h"
#include "gphtesting.h"
#include "tests/support/settingsrecords.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

using namespace gphtest;
using lw::testing::EveryGphFieldChanged;

QByteArrayList writtenLines(const GraphSettingsRecord &settings, const QString &equation,
                            const QLocale &locale)
{
    QByteArrayList lines = WriteGph(settings, equation, Saved, locale).split('\n');
    lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(1);
    return lines;
}

TEST(GphWriter, DefaultSettingsInGermanyByteForByte)
{
    EXPECT_EQ(WriteGph(GraphSettingsRecord{}, QStringLiteral("x"), Saved, German),
              joined(DefaultLines));
}

TEST(GphWriter, EnglishDateTimeAndNumbers)
{
    const QByteArrayList lines = writtenLines(GraphSettingsRecord{}, QStringLiteral("x"), English);
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines[1], "3/5/24");
    EXPECT_EQ(lines[2], "2:05:09 PM");
    EXPECT_EQ(lines[3], " 0.1 ");
    EXPECT_EQ(lines.mid(4), DefaultLines.mid(4));
}

TEST(GphWriter, NumberForms)
{
    const struct {
        float value;
        const char *german;
        const char *english;
    } cases[] = {
        {-2.5f, "-2,5 ", "-2.5 "},
        {2.5f, " 2,5 ", " 2.5 "},
        {0.001f, " 0,001 ", " 0.001 "},
        {1234567.f, " 1234567 ", " 1234567 "},
        {1.f / 3, " 0,3333333 ", " 0.3333333 "},
        {1e10f, " 1E+10 ", " 1E+10 "},
        {0.f, " 0 ", " 0 "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.german);
        GraphSettingsRecord s;
        s.CalcFrom = c.value;
        EXPECT_EQ(writtenLines(s, {}, German)[12], c.german);
        EXPECT_EQ(writtenLines(s, {}, English)[12], c.english);
    }
    GraphSettingsRecord s;
    s.OriginX = -32768;
    s.OriginY = 32767;
    EXPECT_EQ(writtenLines(s, {}, German)[6], "-32768 ");
    EXPECT_EQ(writtenLines(s, {}, German)[7], " 32767 ");
}

TEST(GphWriter, LocalesWithOtherDigitsWritePlainNumbers)
{
    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    const QByteArray bytes = WriteGph(EveryGphFieldChanged(), QStringLiteral("x"), Saved, arabic);
    EXPECT_EQ(bytes.split('\n')[3], " 0.05 \r");
    const GphReadResult read = ReadGph(bytes, German);
    ASSERT_TRUE(read.ok()) << read.error.reason.toStdString();
    EXPECT_EQ(read.content->settings, EveryGphFieldChanged());
}

TEST(GphWriter, TimeInTheUsersLongFormatWithoutZone)
{
    const QTime time(14, 5, 9);
    EXPECT_EQ(GphTimeText(time, German), QStringLiteral("14:05:09"));
    EXPECT_EQ(GphTimeText(time, English), QStringLiteral("2:05:09 PM"));
    EXPECT_EQ(GphTimeText(time, QLocale(QLocale::Chinese, QLocale::China)),
              QStringLiteral("14:05:09"));
}

TEST(GphWriter, EquationInWindows1252RoundTrips)
{
    const struct {
        QString equation;
        QByteArray line;
        QString readBack;
    } cases[] = {
        {QString::fromUtf16(u"ä*x+€"), "\xE4*x+\x80", QString::fromUtf16(u"ä*x+€")},
        {QString::fromUtf16(u"Ÿ–ß"), "\x9F\x96\xDF", QString::fromUtf16(u"Ÿ–ß")},
        {QString::fromUtf16(u"√x"), "?x", QStringLiteral("?x")},
        {QString::fromUtf16(u"x+\U0001F600"), "x+?", QStringLiteral("x+?")},
        {QString::fromUtf16(u"\u0081x"), "?x", QStringLiteral("?x")},
        {QStringLiteral("a\r\nb"), "a??b", QStringLiteral("a??b")},
        {QStringLiteral(" \tx "), " \tx ", QStringLiteral(" \tx ")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const QByteArrayList lines = writtenLines({}, c.equation, German);
        ASSERT_EQ(lines.size(), 20);
        EXPECT_EQ(lines[18], c.line);
        const GphReadResult read = ReadGph(WriteGph({}, c.equation, Saved, German), English);
        ASSERT_TRUE(read.ok()) << read.error.reason.toStdString();
        EXPECT_EQ(read.content->equation, c.readBack);
    }
}

TEST(GphReader, RoundTripsAcrossLocales)
{
    const QLocale locales[] = {German, English, QLocale::c()};
    for (const QLocale &writing : locales) {
        for (const QLocale &reading : locales) {
            SCOPED_TRACE(writing.name().toStdString() + " -> " + reading.name().toStdString());
            const QString equation = QStringLiteral("  SUM(PRO(2,5;x);b) ");
            const GphReadResult read =
                ReadGph(WriteGph(EveryGphFieldChanged(), equation, Saved, writing), reading);
            ASSERT_TRUE(read.ok()) << read.error.reason.toStdString();
            EXPECT_EQ(read.content->settings, EveryGphFieldChanged());
            EXPECT_EQ(read.content->equation, equation);
        }
    }
}

TEST(GphReader, ToleratesWhatOtherWritersDo)
{
    GraphSettingsRecord precise;
    precise.Precision = 0.5f;
    const struct {
        const char *what;
        QByteArray bytes;
        GraphSettingsRecord settings;
    } cases[] = {
        {"CR LF", joined(DefaultLines), {}},
        {"LF", joined(DefaultLines, "\n"), {}},
        {"CR", joined(DefaultLines, "\r"), {}},
        {"no line 20", joined(DefaultLines.mid(0, 19)), {}},
        {"no end after line 19", joined(DefaultLines.mid(0, 19)).chopped(2), {}},
        {"lines after 20", joined(DefaultLines + QByteArrayList{"junk", "\x81"}), {}},
        {"any header", withLine(1, "\x81\x00 not a header"), {}},
        {"date and time", withLine(2, "gestern").replace("14:05:09", "\xFF"), {}},
        {"tabs and blanks", withLine(4, "\t 0,5\t "), precise},
        {"a point", withLine(4, "0.5"), precise},
        {"a plus", withLine(4, "+0,5"), precise},
        {"truth in capitals", withLine(17, " TRUE "), {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const GphReadResult read = ReadGph(c.bytes, German);
        ASSERT_TRUE(read.ok()) << read.error.reason.toStdString();
        EXPECT_EQ(read.content->settings, c.settings);
        EXPECT_EQ(read.content->equation, QStringLiteral("x"));
    }
    EXPECT_EQ(ReadGph(withLine(19, "  a * x "), German).content->equation,
              QStringLiteral("  a * x "));
    EXPECT_EQ(ReadGph(withLine(19, ""), German).content->equation, QString());
}

TEST(GphReader, RefusesEveryKindOfBadFileNamingTheFirstBadLine)
{
    QByteArray twoErrors = withLine(9, "neun");
    twoErrors.replace(" 0 \r\n 0 \r\n", " 0 \r\nsechs\r\n");
    const QByteArray exactlyAtLimit = joined(DefaultLines).leftJustified(GphMaximumSize, '\n');
    ASSERT_TRUE(ReadGph(exactlyAtLimit, German).ok());

    const struct {
        const char *what;
        QByteArray bytes;
        int line;
        const char *expected;
    } cases[] = {
        {"empty", "", 1, "Zeile 1 fehlt: eine Graph-Datei hat mindestens 19 Zeilen."},
        {"three empty lines", "\r\n\r\n\r\n", 4, "Zeile 4 fehlt"},
        {"18 lines", joined(DefaultLines.mid(0, 18)), 19, "Zeile 19 fehlt"},
        {"text as precision", withLine(4, "abc"), 4,
         "Zeile 4: erwartet wird eine Dezimalzahl größer als 0 (Precision)."},
        {"two commas", withLine(4, "0,1,2"), 4, "Dezimalzahl größer als 0 (Precision)"},
        {"text as integer", withLine(5, "abc"), 5,
         "Zeile 5: erwartet wird eine ganze Zahl von -32768 bis 32767 (ScreenCentralX)."},
        {"fraction as integer", withLine(6, "1,5"), 6, "ganze Zahl"},
        {"point fraction as integer", withLine(6, "1.5"), 6, "ganze Zahl"},
        {"integer too large", withLine(15, "40000"), 15, "(GraphScaleX)"},
        {"integer too small", withLine(16, "-32769"), 16, "(GraphScaleY)"},
        {"zero scale", withLine(15, " 0 "), 15,
         "Zeile 15: erwartet wird eine ganze Zahl von 1 bis 32767 (GraphScaleX)."},
        {"negative scale", withLine(16, "-20 "), 16, "von 1 bis 32767 (GraphScaleY)"},
        {"zero precision", withLine(4, " 0 "), 4, "größer als 0"},
        {"negative precision", withLine(4, "-0,1"), 4, "größer als 0"},
        {"precision below the smallest float", withLine(4, "1E-50"), 4, "größer als 0"},
        {"empty integer", withLine(12, ""), 12, "(PutNumberEachY)"},
        {"two numbers", withLine(7, "1 2"), 7, "(OriginX)"},
        {"float overflow", withLine(13, "1E39"), 13, "(CalcFrom)"},
        {"infinity", withLine(14, "inf"), 14, "(CalcTo)"},
        {"not a number", withLine(14, "nan"), 14, "(CalcTo)"},
        {"German truth", withLine(17, "Wahr"), 17,
         "Zeile 17: erwartet wird True oder False (LinkPoints)."},
        {"number as truth", withLine(18, "1"), 18, "(AlwaysDeleteGraph)"},
        {"empty truth", withLine(18, ""), 18, "(AlwaysDeleteGraph)"},
        {"first of two errors", twoErrors, 6, "Zeile 6:"},
        {"binary in a number line", withLine(4, QByteArray("\x81\x00\xFE\xFF", 4)), 4, "Zeile 4:"},
        {"NUL in the equation", withLine(19, QByteArray("x\x00", 2)), 19,
         "Zeile 19: erwartet wird die Gleichung als Text, nicht das Byte 0x00."},
        {"undefined byte in the equation", withLine(19, "x\x81"), 19, "0x81"},
        {"control in the equation", withLine(19, "x\x1B"), 19, "0x1B"},
        {"too large", exactlyAtLimit + '\n', 0,
         "Die Datei ist größer als 64 KiB und damit keine Graph-Datei."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const GphReadResult read = ReadGph(c.bytes, German);
        EXPECT_FALSE(read.content.has_value());
        EXPECT_EQ(read.error.line, c.line);
        EXPECT_TRUE(read.error.reason.contains(QString::fromUtf8(c.expected)))
            << read.error.reason.toStdString();
    }
}

TEST(GphReader, LoadingKeepsTheColours)
{
    GraphSettingsRecord settings;
    settings.GraphColor = 1;
    settings.GraphNumberColor = 2;
    settings.LiveColor = 3;
    const GphReadResult read = ReadGph(WriteGph(EveryGphFieldChanged(), {}, Saved, German), German);
    ApplyGphSettings(*read.content, settings);
    GraphSettingsRecord expected = EveryGphFieldChanged();
    expected.GraphColor = 1;
    expected.GraphNumberColor = 2;
    expected.LiveColor = 3;
    EXPECT_EQ(settings, expected);
}

} // namespace
} // namespace lw
