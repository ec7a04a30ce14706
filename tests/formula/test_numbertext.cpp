// SPDX-License-Identifier: GPL-3.0-or-later

#include "formula/numbertext.h"
#include "formula/texthelpers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

using namespace lw;

namespace {

TEST(NumberText, SevenDigitsPointWithoutLeadingZero)
{
    constexpr float Inf = std::numeric_limits<float>::infinity();
    const std::pair<float, std::string_view> cases[] = {
        {0.5f, ".5"},
        {-0.125f, "-.125"},
        {0.00001f, "1E-05"},
        {0.0001f, ".0001"},
        {12345678.0f, "1.234568E+07"},
        {1234567.0f, "1234567"},
        {9999999.0f, "9999999"},
        {100.0f, "100"},
        {1.0f, "1"},
        {-1.5f, "-1.5"},
        {0.0f, "0"},
        {-0.0f, "0"},
        {1.0f / 3.0f, ".3333333"},
        {2.0f / 3.0f, ".6666667"},
        {-20.0f, "-20"},
        {0.1f, ".1"},
        {1.9999999f, "2"}, // rounding carries into a new digit
        {0.99999994f, ".9999999"},
        {1048576.5f, "1048576"}, // exact ties go to the even digit
        {1048577.5f, "1048578"},
        {12345645.0f, "1.234564E+07"},
        {12345655.0f, "1.234566E+07"},
        {16777215.0f, "1.677722E+07"},
        {1e30f, "1E+30"},
        {3.4028235e38f, "3.402823E+38"},
        {-1e-10f, "-1E-10"},
        {1.401298e-45f, "1.401298E-45"},
        {Inf, "INF"},
        {-Inf, "-INF"},
        {std::numeric_limits<float>::quiet_NaN(), "NAN"},
        {-std::numeric_limits<float>::quiet_NaN(), "NAN"},
    };
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(NumberTextAscii(value), expected) << value;
}

TEST(NumberText, TheSampleWalkShowsItsAccumulatedError)
{
    float x = -10.0f;
    for (int i = 0; i < 100; ++i)
        x += 0.1f;
    EXPECT_EQ(NumberTextAscii(x), "1.862645E-06");
    while (x + 0.1f <= 10.0f)
        x += 0.1f;
    EXPECT_EQ(NumberTextAscii(x), "9.900003");
}

TEST(NumberText, Utf16FormIsTheSameText)
{
    EXPECT_EQ(NumberText(-0.125f), u"-.125");
}

} // namespace

namespace {

TEST(NumberText, FastFormatterAgreesWithTheExactExpansion)
{
    std::mt19937 random(11);
    std::vector<float> values;
    for (int i = 0; i < 300000; ++i)
        values.push_back(std::bit_cast<float>(static_cast<uint32_t>(random())));
    // Where the plotter walks (|x| < 2^16) the value is read back by integers.
    for (int i = 0; i < 300000; ++i)
        values.push_back(std::bit_cast<float>(static_cast<uint32_t>(random() % 0x47800000)
                                              | (i % 2 == 0 ? 0x80000000u : 0u)));
    // Decimal-looking values sit close to ties and powers of ten.
    for (int i = -2000; i <= 2000; ++i) {
        values.push_back(static_cast<float>(i) / 8.0f);
        values.push_back(static_cast<float>(i) * 0.1f);
        values.push_back(std::pow(10.0f, static_cast<float>(i % 40)));
        values.push_back(9999999.0f + static_cast<float>(i) / 16.0f);
    }
    for (float v : values) {
        const NumberTextResult r = NumberTextWithValue(v);
        const std::string text(r.chars, r.chars + r.length);
        ASSERT_EQ(text, detail::numberTextExact(v)) << std::hexfloat << v;
        const float back = TextToNumber(r.text());
        ASSERT_EQ(std::bit_cast<uint32_t>(r.readBack), std::bit_cast<uint32_t>(back)) << text;
        ASSERT_EQ(std::bit_cast<uint32_t>(NumberTextValue(v)), std::bit_cast<uint32_t>(back))
            << text;
    }
}

} // namespace
