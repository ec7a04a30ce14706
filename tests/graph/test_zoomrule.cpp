// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom's ranges and its spacing of numbers against their rules written out a second time,
// in exact integer arithmetic, on every range and on random views and picture sizes.

#include "graph/graphdraw.h"
#include "graph/viewsteps.h"
#include "tests/formula/seededrandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

using namespace lw;

namespace {

constexpr int Widest = 32767;

// 1 ... 8 alone, then 10, 12, ... 80 times each power of ten, 32767 last.
std::set<int> ZoomRanges()
{
    std::set<int> ranges{1, 2, 3, 4, 5, 6, 8, Widest};
    for (long power = 1; power <= Widest; power *= 10)
        for (int d : {10, 12, 15, 20, 25, 30, 40, 50, 60, 80})
            if (d * power < Widest)
                ranges.insert(int(d * power));
    return ranges;
}

int NextRange(int range, bool wider)
{
    static const std::set<int> ranges = ZoomRanges();
    int best = 0;
    for (int r : ranges)
        if (wider ? r > range && (best == 0 || r < best) : r < range && r > best)
            best = r;
    return best;
}

// A spacing m * 10^k.
struct Spacing {
    long m;
    int k;
    double units() const { return m * std::pow(10.0, k); }
    // m * 10^k * num / den >= pixels, exactly: both sides times 1000 den.
    bool atLeast(long num, long den, long pixels) const
    {
        long left = m * num;
        for (int i = -3; i < k; ++i)
            left *= 10;
        return left >= pixels * den * 1000;
    }
};

// The pixel font's numbers are 4 pixels a character: sign, the larger end's whole digits, comma
// and decimals.
long WidestNumber(double lower, double upper, int decimals)
{
    const std::string whole = std::to_string(long(std::max(std::fabs(lower), std::fabs(upper))));
    return 4 * long((lower < 0) + whole.size() + (decimals > 0 ? decimals + 1 : 0));
}

// The finest of 0.001, 0.002, 0.005, ... 5000 whose numbers stand 24 pixels and, along x, the
// widest number apart; 5000 when none does. Pixels a unit: num / den.
Spacing ChosenSpacing(long num, long den, bool xAxis, double lower, double upper)
{
    Spacing s{};
    for (int k = -3; k <= 3; ++k)
        for (long m : {1, 2, 5}) {
            s = {m, k};
            const long need =
                xAxis ? std::max(24L, WidestNumber(lower, upper, std::max(0, -k))) : 24;
            if (s.atLeast(num, den, need))
                return s;
        }
    return s;
}

void ExpectSpacing(const GraphSettingsRecord &v, int pixelsX, int pixelsY, const std::string &where)
{
    const PlotGeometry g =
        ComputeGeometry(v, int16_t(std::min(pixelsX, Widest)), int16_t(std::min(pixelsY, Widest)));
    const double centre = v.ScreenCentralX + v.CentreFractionX;
    const Spacing x = g.PixelsPerUnitX > 0
                          ? ChosenSpacing(g.PixelsPerUnitX, 1, true, centre - v.GraphScaleX,
                                          centre + v.GraphScaleX)
                          : ChosenSpacing(pixelsX, v.GraphScaleX, true, centre - v.GraphScaleX,
                                          centre + v.GraphScaleX);
    const Spacing y = g.PixelsPerUnitY > 0 ? ChosenSpacing(g.PixelsPerUnitY, 1, false, 0, 0)
                                           : ChosenSpacing(pixelsY, v.GraphScaleY, false, 0, 0);
    EXPECT_NEAR(v.ZoomSpacingX, x.units(), 1e-12 * x.units()) << where;
    EXPECT_NEAR(v.ZoomSpacingY, y.units(), 1e-12 * y.units()) << where;
    const auto whole = [](Spacing s) {
        return s.k < 0 ? 1 : int(s.m * std::pow(10, s.k));
    };
    EXPECT_EQ(std::tuple(v.PutMarkEachX, v.PutNumberEachX, v.PutMarkEachY, v.PutNumberEachY),
              std::tuple(whole(x), whole(x), whole(y), whole(y)))
        << where;
}

TEST(ZoomRule, EveryRangeStepsToTheNextOfTheWrittenList)
{
    for (int range = 1; range <= Widest; ++range)
        for (bool wider : {false, true})
            ASSERT_EQ(ZoomedRange(int16_t(range), wider), NextRange(range, wider))
                << range << (wider ? " wider" : " narrower");
}

TEST(ZoomRule, RandomViewsZoomAndSpaceTheirNumbersByTheRule)
{
    test::SeededRandom random(31);
    const auto logRange = [&] {
        return int16_t(std::min(Widest, 1 + int(std::pow(10.0, random.below(4500) / 1000.0))));
    };
    for (int round = 0; round < 20000; ++round) {
        GraphSettingsRecord view;
        view.GraphScaleX = logRange();
        view.GraphScaleY = logRange();
        view.StepRangeX = random.chance(50) ? 0 : logRange();
        view.ScreenCentralX =
            int16_t(random.chance(70) ? random.below(21) - 10 : random.below(60001) - 30000);
        view.CentreFractionX = random.chance(50) ? 0 : (random.below(9999) - 4999) / 10000.0;
        const int pixelsX = 1 + random.below(random.chance(80) ? 1200 : 40000);
        const int pixelsY = 1 + random.below(random.chance(80) ? 1200 : 40000);
        const bool wider = random.chance(50);
        const std::string where = std::to_string(round) + ": " + std::to_string(view.GraphScaleX)
                                  + " x " + std::to_string(view.GraphScaleY) + " on "
                                  + std::to_string(pixelsX) + " x " + std::to_string(pixelsY);
        const GraphSettingsRecord before = view;
        const int next = NextRange(view.GraphScaleX, wider);
        ASSERT_EQ(ZoomView(view, wider, pixelsX, pixelsY), next != 0) << where;
        if (next == 0) {
            EXPECT_EQ(view, before) << where;
            continue;
        }
        // The y range keeps its ratio: the nearest whole number, halves up, within 16 bits.
        const long y =
            (2L * before.GraphScaleY * next + before.GraphScaleX) / (2L * before.GraphScaleX);
        EXPECT_EQ(std::tuple(view.GraphScaleX, view.GraphScaleY, view.StepRangeX),
                  std::tuple(next, std::clamp(y, 1L, long(Widest)),
                             before.StepRangeX ? before.StepRangeX : before.GraphScaleX))
            << where;
        ExpectSpacing(view, pixelsX, pixelsY, where);
    }
}

} // namespace
