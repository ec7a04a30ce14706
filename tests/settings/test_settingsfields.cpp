// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/settingsfields.h"
#include "settingstesting.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>

using namespace lw;
using lw::settingstest::LocaleScope;

namespace {

uint32_t bits(float value)
{
    return std::bit_cast<uint32_t>(value);
}

TEST(SettingsFields, FloatTextInTheUsersFormatWithoutGroupSeparators)
{
    const settingstest::LocalisedNumber cases[] = {
        {0.1f, "0,1", "0.1"},
        {-20.0f, "-20", "-20"},
        {20.0f, "20", "20"},
        {0.0f, "0", "0"},
        {12345.5f, "12345,5", "12345.5"},
        {1234567.0f, "1234567", "1234567"},
        {16777216.0f, "16777216", "16777216"}, // needs eight digits
        {1.0f / 3.0f, "0,33333334", "0.33333334"},
        {0.05f, "0,05", "0.05"},
    };
    for (const auto &c : cases) {
        {
            LocaleScope scope(settingstest::germanLocale());
            EXPECT_EQ(FloatText(c.value), QString::fromLatin1(c.german)) << c.value;
        }
        LocaleScope scope(settingstest::englishLocale());
        EXPECT_EQ(FloatText(c.value), QString::fromLatin1(c.english)) << c.value;
    }
}

TEST(SettingsFields, FloatTextReadsBackTheSameFloat)
{
    const float cases[] = {
        0.1f,
        0.2f,
        1.0f / 3.0f,
        2.0f / 3.0f,
        FLT_MAX,
        -FLT_MAX,
        FLT_MIN,
        std::numeric_limits<float>::denorm_min(),
        std::nextafter(1.0f, 2.0f),
        std::nextafter(0.1f, 1.0f),
        -123456.79f,
        1e-7f,
        16777215.0f,
        3e10f,
    };
    for (const QLocale &userLocale :
         {settingstest::germanLocale(), settingstest::englishLocale()}) {
        LocaleScope scope(userLocale);
        for (float value : cases) {
            const std::optional<float> read = ReadFloatText(FloatText(value));
            ASSERT_TRUE(read) << FloatText(value).toStdString();
            EXPECT_EQ(bits(*read), bits(value)) << FloatText(value).toStdString();
        }
    }
}

TEST(SettingsFields, StoreReaderTakesOnlyTheUsersFormat)
{
    const struct {
        const char *text;
        std::optional<float> german;
        std::optional<float> english;
    } cases[] = {
        {"0,1", 0.1f, std::nullopt},
        {"0.5", std::nullopt, 0.5f},
        {" -2,5 ", -2.5f, std::nullopt},
        {"1.000", std::nullopt, 1.0f}, // a German group separator, not 1000
        {"1,000", 1.0f, std::nullopt}, // an English group separator, not 1000
        {"1e3", 1000.0f, 1000.0f},
        {"-20", -20.0f, -20.0f},
        {"3,4e38", 3.4e38f, std::nullopt},
        {"1e39", std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt},
        {"inf", std::nullopt, std::nullopt},
        {"-inf", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"abc", std::nullopt, std::nullopt},
        {"0,5x", std::nullopt, std::nullopt},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromLatin1(c.text);
        {
            LocaleScope scope(settingstest::germanLocale());
            EXPECT_EQ(ReadFloatText(text), c.german) << "German: " << c.text;
        }
        LocaleScope scope(settingstest::englishLocale());
        EXPECT_EQ(ReadFloatText(text), c.english) << "English: " << c.text;
    }
}

TEST(SettingsFields, LenientReaderTakesEitherDecimalPoint)
{
    const struct {
        const char *text;
        std::optional<float> expected; // in both locales
    } cases[] = {
        {"0.5", 0.5f},         {"0,5", 0.5f},          {" -0,25 ", -0.25f}, {"-.5", -0.5f},
        {"20", 20.0f},         {"1.5e2", 150.0f},      {"1,5e2", 150.0f},   {"nan", std::nullopt},
        {"inf", std::nullopt}, {"1e39", std::nullopt}, {"", std::nullopt},  {"0,5,5", std::nullopt},
        {"abc", std::nullopt},
    };
    for (const QLocale &userLocale :
         {settingstest::germanLocale(), settingstest::englishLocale()}) {
        LocaleScope scope(userLocale);
        for (const auto &c : cases)
            EXPECT_EQ(ReadFloatTextLenient(QString::fromLatin1(c.text)), c.expected)
                << userLocale.name().toStdString() << ": " << c.text;
    }
}

TEST(SettingsFields, IntegerTexts)
{
    const std::pair<const char *, std::optional<int16_t>> cases[] = {
        {"-20", -20},
        {"0", 0},
        {"32767", 32767},
        {"-32768", -32768},
        {"32768", std::nullopt},
        {"-1", -1},
        {" 20 ", 20},
        {"1e3", std::nullopt},
        {"2,0", std::nullopt},
        {"2.0", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"99999999999999999999", std::nullopt}};
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(ReadInt16Text(QString::fromLatin1(text)), expected) << text;
    EXPECT_EQ(Int16Text(-20), QStringLiteral("-20"));
}

TEST(SettingsFields, TruthTexts)
{
    const std::pair<const char *, std::optional<bool>> cases[] = {
        {"True", true},
        {"False", false},
        {"true", true},
        {"FALSE", false},
        {"Wahr", true},
        {"Falsch", false},
        {"-1", true},
        {"0", false},
        {"1", true},
        {" True ", true},
        {"Vielleicht", std::nullopt},
        {"", std::nullopt},
        {"Truex", std::nullopt},
        {"yes", std::nullopt},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(ReadTruthText(QString::fromLatin1(text)), expected) << text;
    EXPECT_EQ(TruthText(true), QStringLiteral("True"));
    EXPECT_EQ(TruthText(false), QStringLiteral("False"));
}

TEST(SettingsFields, SetFieldByNameForTheCommandLine)
{
    LocaleScope scope(settingstest::germanLocale());
    const struct {
        const char *name;
        const char *text;
        bool accepted;
    } cases[] = {
        {"Precision", "0.5", true},
        {"Precision", "0,5", true},
        {"precision", "0,25", true},
        {"GraphScaleX", "30", true},
        {"GraphScaleY", "-10", true},
        {"GraphColor", "255", true},
        {"LinkPoints", "False", true},
        {"AlwaysDeleteGraph", "Wahr", true},
        {"GraphScaleX", "40000", false},
        {"GraphScaleX", "2.5", false},
        {"GraphColor", "-1", false},
        {"CalcFrom", "abc", false},
        {"CalcTo", "inf", false},
        {"LinkPoints", "Vielleicht", false},
        {"Check", "1", false},
        {"Nonsense", "1", false},
        {"", "1", false},
        {"GraphScale", "20", false},
    };
    for (const auto &c : cases) {
        GraphSettingsRecord record;
        EXPECT_EQ(
            SetSettingsField(record, QString::fromLatin1(c.name), QString::fromLatin1(c.text)),
            c.accepted)
            << c.name << '=' << c.text;
        if (!c.accepted)
            EXPECT_EQ(record, GraphSettingsRecord{}) << c.name << '=' << c.text;
        else
            EXPECT_NE(record, GraphSettingsRecord{}) << c.name << '=' << c.text;
    }

    GraphSettingsRecord record;
    ASSERT_TRUE(SetSettingsField(record, u"Precision", QStringLiteral("0.5")));
    ASSERT_TRUE(SetSettingsField(record, u"GraphScaleY", QStringLiteral("-10")));
    EXPECT_EQ(record.Precision, 0.5f);
    EXPECT_EQ(record.GraphScaleY, -10);
    EXPECT_EQ(record.GraphScaleX, 20);
}

} // namespace
