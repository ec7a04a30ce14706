// SPDX-License-Identifier: GPL-3.0-or-later

#include "gph/gphcodec.h"
#include "gphtesting.h"
#include "tests/support/settingsrecords.h"

#include <gtest/gtest.h>

#include <string_view>

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
    const settingstest::LocalisedNumber cases[] = {
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
        std::u16string_view equation;
        QByteArray line;
        std::u16string_view readBack;
    } cases[] = {
        {u"ä*x+€", "\xE4*x+\x80", u"ä*x+€"},
        {u"Ÿ–ß", "\x9F\x96\xDF", u"Ÿ–ß"},
        {u"√x", "?x", u"?x"},
        {u"x+\U0001F600", "x+?", u"x+?"},
        {u"\u0081x", "?x", u"?x"},
        {u"a\r\nb", "a??b", u"a??b"},
        {u" \tx ", " \tx ", u" \tx "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const QString equation = QStringView(c.equation).toString();
        const QByteArrayList lines = writtenLines({}, equation, German);
        ASSERT_EQ(lines.size(), 20);
        EXPECT_EQ(lines[18], c.line);
        const GphReadResult read = ReadGph(WriteGph({}, equation, Saved, German), English);
        ASSERT_TRUE(read.ok()) << read.error.reason.toStdString();
        EXPECT_EQ(read.content->equation, QStringView(c.readBack).toString());
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

// A refused file gives no content, the line of its first fault and a reason holding `expected`.
void ExpectRefusal(const QByteArray &bytes, int line, const char *expected)
{
    const GphReadResult read = ReadGph(bytes, German);
    EXPECT_FALSE(read.content.has_value());
    EXPECT_EQ(read.error.line, line);
    EXPECT_TRUE(read.error.reason.contains(QString::fromUtf8(expected)))
        << read.error.reason.toStdString();
}

struct BadLine {
    const char *what;
    int line;
    QByteArray text; // in place of the fresh program's line
    const char *expected;
};

void ExpectBadLinesRefused(std::initializer_list<BadLine> cases)
{
    for (const BadLine &c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRefusal(withLine(c.line, c.text), c.line, c.expected);
    }
}

TEST(GphReader, ARefusalSaysWhatTheLineShouldHold)
{
    ExpectBadLinesRefused({
        {"text as precision", 4, "abc",
         "Zeile 4: erwartet wird eine Dezimalzahl größer als 0 (Precision)."},
        {"text as integer", 5, "abc",
         "Zeile 5: erwartet wird eine ganze Zahl von -32768 bis 32767 (ScreenCentralX)."},
        {"zero scale", 15, " 0 ",
         "Zeile 15: erwartet wird eine ganze Zahl von 1 bis 32767 (GraphScaleX)."},
        {"German truth", 17, "Wahr", "Zeile 17: erwartet wird True oder False (LinkPoints)."},
        {"NUL in the equation", 19, QByteArray("x\x00", 2),
         "Zeile 19: erwartet wird die Gleichung als Text, nicht das Byte 0x00."},
    });
}

TEST(GphReader, RefusesEveryBadValueNamingItsLine)
{
    ExpectBadLinesRefused({
        {"two commas", 4, "0,1,2", "Dezimalzahl größer als 0 (Precision)"},
        {"fraction as integer", 6, "1,5", "ganze Zahl"},
        {"point fraction as integer", 6, "1.5", "ganze Zahl"},
        {"integer too large", 15, "40000", "(GraphScaleX)"},
        {"integer too small", 16, "-32769", "(GraphScaleY)"},
        {"negative scale", 16, "-20 ", "von 1 bis 32767 (GraphScaleY)"},
        {"zero precision", 4, " 0 ", "größer als 0"},
        {"negative precision", 4, "-0,1", "größer als 0"},
        {"precision below the smallest float", 4, "1E-50", "größer als 0"},
        {"empty integer", 12, "", "(PutNumberEachY)"},
        {"two numbers", 7, "1 2", "(OriginX)"},
        {"float overflow", 13, "1E39", "(CalcFrom)"},
        {"infinity", 14, "inf", "(CalcTo)"},
        {"not a number", 14, "nan", "(CalcTo)"},
        {"number as truth", 18, "1", "(AlwaysDeleteGraph)"},
        {"empty truth", 18, "", "(AlwaysDeleteGraph)"},
        {"binary in a number line", 4, QByteArray("\x81\x00\xFE\xFF", 4), "Zeile 4:"},
        {"undefined byte in the equation", 19, "x\x81", "0x81"},
        {"control in the equation", 19, "x\x1B", "0x1B"},
    });
}

TEST(GphReader, RefusesAFileShortOrLargeOrWithTwoBadLinesNamingTheFirst)
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
        {"first of two errors", twoErrors, 6, "Zeile 6:"},
        {"too large", exactlyAtLimit + '\n', 0,
         "Die Datei ist größer als 64 KiB und damit keine Graph-Datei."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRefusal(c.bytes, c.line, c.expected);
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
