// SPDX-License-Identifier: GPL-3.0-or-later

#include "formula/numeric.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

using namespace lw;

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();

struct PotCase {
    float base;
    float exponent;
    bool fault;
    float expected;
};

TEST(CalcPot, FaultsOnlyWithoutAFiniteRealPower)
{
    const PotCase cases[] = {
        {-8, 0.5f, true, 0},
        {-8, 3, false, -512},
        {2, 0.5f, false, static_cast<float>(std::sqrt(2.0))},
        {0, -1, true, 0},
        {0, 0, false, 1},
        {10, 39, false, Inf}, // beyond float, within double: no fault at this step
        {10, 400, true, 0},   // beyond double
        {-2, -3, false, -0.125f},
        {Inf, 2, true, 0},
    };
    for (const PotCase &c : cases) {
        const StepResult r = CalcPot(c.base, c.exponent, 2);
        EXPECT_EQ(!r.has_value(), c.fault) << c.base << "^" << c.exponent;
        if (r && !c.fault) {
            EXPECT_EQ(*r, c.expected) << c.base << "^" << c.exponent;
        }
    }
}

// The short cuts for the exponents 3, 1 and 0 give pow's bits (bench/exhaustive_check tries
// every float); here a sample, with bases whose cube lies next to a float's rounding boundary.
TEST(CalcPot, ConstantExponentShortCutsMatchPow)
{
    std::mt19937 random(3);
    std::vector<float> bases = {
        0.0f,   -0.0f,   Inf,    -Inf,       std::numeric_limits<float>::quiet_NaN(),
        1e-45f, 3.4e38f, 257.0f, -1.0000001f};
    for (int i = 0; i < 200000; ++i)
        bases.push_back(std::bit_cast<float>(static_cast<uint32_t>(random())));
    for (uint32_t m = 0x800000; m < 0x800000 + 4096; ++m)
        bases.push_back(static_cast<float>(m)); // cubes of odd m need 72 bits
    const auto same = [](StepResult a, StepResult b) {
        return a.has_value() == b.has_value()
               && (!a || std::bit_cast<uint32_t>(*a) == std::bit_cast<uint32_t>(*b));
    };
    for (float b : bases) {
        ASSERT_TRUE(same(CalcPotCube(b), CalcPot(b, 3, 2))) << std::hexfloat << b;
        ASSERT_TRUE(same(CalcPotOne(b), CalcPot(b, 1, 2))) << std::hexfloat << b;
        ASSERT_TRUE(same(CalcPotZero(b), CalcPot(b, 0, 2))) << std::hexfloat << b;
    }
}

TEST(CalcSteps, FirstArgumentPassesUncheckedWhateverTheAccumulator)
{
    EXPECT_EQ(CalcDiv(5, 0, 1), 0.0f);
    EXPECT_EQ(CalcSum(1e30f, Inf, 1), Inf);
    EXPECT_EQ(CalcPot(-1, -8, 1), -8.0f);
    EXPECT_EQ(CalcAmi(3, 4, 1, 2), 4.0f);
}

TEST(CalcSteps, ArithmeticFaults)
{
    EXPECT_FALSE(CalcPro(1e30f, 1e30f, 2));
    EXPECT_FALSE(CalcSum(Inf, 1, 2));
    EXPECT_FALSE(CalcDif(Inf, Inf, 2));
    EXPECT_FALSE(CalcDiv(1, 0, 2));
    EXPECT_FALSE(CalcDiv(0, -0.0f, 3));
    EXPECT_FALSE(CalcAbs(-Inf));
    EXPECT_EQ(CalcDiv(1, Inf, 2), 0.0f);
}

TEST(CalcAmi, DividesTheFloatSumOnceAtTheLastArgument)
{
    float acc = *CalcAmi(0, 1, 1, 3);
    acc = *CalcAmi(acc, 2, 2, 3);
    EXPECT_EQ(acc, 3.0f);
    EXPECT_EQ(*CalcAmi(acc, 6, 3, 3), 3.0f);
    // The sum is checked before the division.
    EXPECT_FALSE(CalcAmi(3e38f, 3e38f, 2, 2));
}

TEST(CalcSqr, NegativeSetsTheFlagAndYieldsZero)
{
    CalcError = 0;
    EXPECT_EQ(CalcSqr(0), 0.0f);
    EXPECT_EQ(CalcError, 0);
    EXPECT_EQ(CalcSqr(-1), 0.0f);
    EXPECT_EQ(CalcError, -1);
    CalcError = 0;
}

TEST(RoundToInt16, HalvesToEvenAndOverflowOutsideTheRange)
{
    const std::pair<double, std::optional<int16_t>> cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {-0.5, 0},
        {-1.5, -2},
        {1.5000057, 2},
        {32767.4, 32767},
        {32767.5, std::nullopt},
        {-32768.5, -32768},
        {-32768.6, std::nullopt},
        {1e10, std::nullopt},
        {std::nan(""), std::nullopt},
    };
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(RoundToInt16(value), expected) << value;
}

TEST(FitInt16, KeepsWhatFitsAndNothingElse)
{
    const std::pair<long, std::optional<int16_t>> cases[] = {
        {0, 0},
        {32767, 32767},
        {-32768, -32768},
        {32768, std::nullopt},
        {-32769, std::nullopt},
        {65536, std::nullopt},
    };
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(FitInt16(value), expected) << value;
}

} // namespace
