// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/family.h"

#include <gtest/gtest.h>

#include <limits>

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

TEST(SliderRange, ValuesTakeTheDecimalsOfStepOrStart)
{
    const struct {
        ParameterRange range;
        int decimals;
    } rows[] = {
        {{-5, 5, 0.1}, 1},
        {{0.25, 1, 0.5}, 2},
        {{-3, 3, 1}, 0},
        {{0, 1, 1e-7}, 6},
    };
    for (const auto &row : rows)
        EXPECT_EQ(RangeDecimals(row.range), row.decimals)
            << row.range.from << ' ' << row.range.step;
}
