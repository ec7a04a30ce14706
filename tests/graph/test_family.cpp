// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/family.h"
#include "tests/formula/seededrandom.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <tuple>

using namespace lw;

TEST(SliderRange, TellsTheFirstWrongPartAndAllowsTheLastPosition)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        ParameterRange range;
        SliderRangeFault fault;
    } rows[] = {
        {{0, 100000, 1}, SliderRangeFault::None},
        {{0, 100001, 1}, SliderRangeFault::TooManyPositions},
        {{-1e308, 1e308, 1}, SliderRangeFault::TooManyPositions}, // the width overflows
        {{1, 1, 1}, SliderRangeFault::EndNotAboveStart},
        {{2, 1, -1}, SliderRangeFault::EndNotAboveStart},
        {{nan, 1, 1}, SliderRangeFault::EndNotAboveStart},
        {{0, 1, -0.5}, SliderRangeFault::StepNotPositive},
        {{0, 1, nan}, SliderRangeFault::StepNotPositive},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.range.from << ' ' << row.range.to << ' ' << row.range.step);
        EXPECT_EQ(CheckSliderRange(row.range), row.fault);
    }
}

namespace {

// n / 10^decimals with the trailing zeros of n taken off.
std::pair<long long, int> Shortest(long long n, int decimals)
{
    while (decimals > 0 && n % 10 == 0) {
        n /= 10;
        --decimals;
    }
    return {n, decimals};
}

long long Power10(int k)
{
    long long p = 1;
    while (k-- > 0)
        p *= 10;
    return p;
}

// n / 10^decimals as the panel writes it: decimal comma, no trailing zeros, no "-0".
std::u16string DecimalText(long long n, int decimals)
{
    std::tie(n, decimals) = Shortest(n, decimals);
    std::string digits = std::to_string(n < 0 ? -n : n);
    if (decimals > 0) {
        digits.insert(0, std::size_t(std::max(0, decimals + 1 - int(digits.size()))), '0');
        digits.insert(digits.size() - std::size_t(decimals), 1, ',');
    }
    return std::u16string(n < 0 ? u"-" : u"") + std::u16string(digits.begin(), digits.end());
}

} // namespace

// Random decimal ranges, counted and written out in integers of a millionth.
TEST(FamilyMembers, ValuesAreTheExactDecimalsFromStartToEnd)
{
    constexpr long long Unit = 1000000;
    lw::test::SeededRandom random(41);
    for (int round = 0; round < 5000; ++round) {
        const int fromDecimals = random.below(7), stepDecimals = random.below(7);
        const long long from = random.below(2000001) - 1000000;
        const long long step =
            (1 + random.below(random.chance(50) ? 10 : 10000)) * (random.chance(30) ? -1 : 1);
        const long long fromU = from * Power10(6 - fromDecimals);
        const long long stepU = step * Power10(6 - stepDecimals);
        const int toDecimals = random.below(7);
        long long toU = fromU + (random.below(56) - 3) * stepU;
        if (random.chance(50)) // an end between two values, with its own decimals
            toU = (toU + random.below(std::size_t(std::llabs(stepU)))) / Power10(6 - toDecimals)
                  * Power10(6 - toDecimals);
        const ParameterRange range{double(from) / double(Power10(fromDecimals)),
                                   double(toU) / double(Unit),
                                   double(step) / double(Power10(stepDecimals))};
        SCOPED_TRACE(testing::Message()
                     << round << ": " << range.from << ' ' << range.to << ' ' << range.step);

        const int decimals =
            std::max(Shortest(from, fromDecimals).second, Shortest(step, stepDecimals).second);
        const long long ahead = stepU > 0 ? toU - fromU : fromU - toU;
        const long long count = ahead < 0 ? 0 : ahead / std::llabs(stepU) + 1;
        const FamilyValues family = FamilyMembers(range);
        ASSERT_EQ(family.fault, count == 0                ? FamilyFault::NoCurve
                                : count > MaxFamilyCurves ? FamilyFault::TooMany
                                                          : FamilyFault::None);
        ASSERT_EQ(family.values.size(), family.fault == FamilyFault::None ? count : 0);
        ASSERT_EQ(RangeDecimals(range), decimals);
        for (std::size_t i = 0; i < family.values.size(); ++i) {
            const long long n = (fromU + (long long)i * stepU) / Power10(6 - decimals);
            ASSERT_EQ(family.values[i], double(n) / double(Power10(decimals))) << i;
            ASSERT_EQ(family.texts[i], DecimalText(n, decimals)) << i;
        }
    }
}
