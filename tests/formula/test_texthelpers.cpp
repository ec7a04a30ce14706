// SPDX-License-Identifier: GPL-3.0-or-later

#include "formula/texthelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace lw;

namespace {

TEST(RemoveSpaces, RemovesBlanksOnly)
{
    EXPECT_EQ(RemoveSpaces(u" 2 * x + 1 "), u"2*x+1");
    EXPECT_EQ(RemoveSpaces(u""), u"");
    EXPECT_EQ(RemoveSpaces(u"2\t*x"), u"2\t*x");
    EXPECT_EQ(RemoveSpaces(u"   "), u"");
}

TEST(RemoveSpaces, TextsBeyondTheCounterOverflow)
{
    EXPECT_TRUE(RemoveSpaces(std::u16string(MaxTextLength, u'x')));
    EXPECT_FALSE(RemoveSpaces(std::u16string(MaxTextLength + 1, u' ')));
}

TEST(ReplaceText, ReplacesEveryOccurrenceCaseSensitively)
{
    EXPECT_EQ(ReplaceText(u'x', u"3", u"PRO(x;x)"), u"PRO(3;3)");
    EXPECT_EQ(ReplaceText(u'x', u"3", u"PRO(X;1)"), u"PRO(X;1)");
    EXPECT_EQ(ReplaceText(u'x', u"-1.5", u"SUM(PRO(2;x);x)"), u"SUM(PRO(2;-1.5);-1.5)");
    EXPECT_EQ(ReplaceText(u'x', u"", u"xx1"), u"1");
    // A replacement holding the searched character is not scanned again.
    EXPECT_EQ(ReplaceText(u'x', u"xx", u"PRO(x;1)"), u"PRO(xx;1)");
}

TEST(ReplaceText, InputOrResultBeyondTheCounterOverflows)
{
    const std::u16string xs(3000, u'x');
    EXPECT_TRUE(ReplaceText(u'x', u"0", xs));
    EXPECT_TRUE(ReplaceText(u'x', std::u16string(10, u'1'), xs));  // 30000
    EXPECT_FALSE(ReplaceText(u'x', std::u16string(11, u'1'), xs)); // 33000
    EXPECT_FALSE(ReplaceText(u'x', u"", std::u16string(MaxTextLength + 1, u'x')));
}

TEST(TextToNumber, ReadsLikeVal)
{
    constexpr float Inf = std::numeric_limits<float>::infinity();
    const std::pair<std::u16string_view, float> cases[] = {
        {u"1,5", 1.5f},
        {u"-1.5E-02", -0.015f},
        {u"1.5E+10", 1.5e10f},
        {u"1E39", Inf},
        {u"-1E39", -Inf},
        {u"1E400", Inf},
        {u"1E-400", 0.0f},
        {u"", 0.0f},
        {u"x", 0.0f},
        {u"SIN(1)", 0.0f},
        {u"--2", 0.0f},
        {u"2)", 2.0f},
        {u"1.5abc", 1.5f},
        {u" 1 2 ", 12.0f},
        {u"\t-\n3", -3.0f},
        {u"1\r2", 1.0f},
        {u"1D2", 100.0f},
        {u"1e2", 100.0f},
        {u"1d-2", 0.01f},
        {u"2.5E+4", 25000.0f},
        {u"1E", 1.0f},
        {u"1E+", 1.0f},
        {u"1E-3x", 0.001f},
        {u".", 0.0f},
        {u"-", 0.0f},
        {u"-.5", -0.5f},
        {u"5.", 5.0f},
        {u"1.2.3", 1.2f},
        {u"1,2,3", 1.2f},
        {u"+7", 7.0f},
        {u"0.1", 0.1f},
        {u"16777217", 16777216.0f},
        {u"3.4028235E+38", 3.4028235e38f},
        {u"INF", 0.0f},
        {u"-1.234568E+07", -12345680.0f},
    };
    for (const auto &[text, expected] : cases) {
        const std::string ascii(text.begin(), text.end());
        EXPECT_EQ(TextToNumber(text), expected) << ascii;
    }
}

TEST(TextToNumber, RoundsTheDecimalValueOnlyOnceAtEachPrecision)
{
    // Long digit strings and huge exponents stay exact and never overflow the reader.
    EXPECT_EQ(TextToNumber(u"0." + std::u16string(5000, u'0') + u"1E5001"), 1.0f);
    EXPECT_EQ(TextToNumber(u"1" + std::u16string(400, u'0')),
              std::numeric_limits<float>::infinity());
    EXPECT_EQ(TextToNumber(u"1E99999999999999999999"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(TextToNumber(u"0E99999999999999999999"), 0.0f);
}

} // namespace
