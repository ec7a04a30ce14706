// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/graphdraw.h"
#include "graph/viewsteps.h"
#include "tests/formula/seededrandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace lw;

namespace {

TEST(ViewSteps, ZoomWalksTheRangesAndKeepsTheRatioAndReadableNumbers)
{
    const struct {
        int16_t range;
        bool wider;
        int16_t next; // 0: no step further
    } steps[] = {{8, true, 10}, {9, true, 10},    {9, false, 8},        {100, false, 80},
                 {1, false, 0}, {32767, true, 0}, {30000, true, 32767}, {-5, false, 0}};
    for (const auto &s : steps)
        EXPECT_EQ(ZoomedRange(s.range, s.wider), s.next) << s.range << " " << s.wider;

    GraphSettingsRecord view;
    view.GraphScaleY = 10;
    ASSERT_TRUE(ZoomView(view, false, 300, 300));
    // 300 pixels over 15 units: 20 a unit, so numbers every 2; over 8 units, every 1.
    EXPECT_EQ(std::tuple(view.GraphScaleX, view.GraphScaleY, view.PutNumberEachX, view.PutMarkEachX,
                         view.PutNumberEachY),
              std::tuple(15, 8, 2, 2, 1));
    view.GraphScaleX = view.GraphScaleY = 25000;
    ASSERT_TRUE(ZoomView(view, true, 300, 300));
    EXPECT_EQ(view.PutNumberEachX, 5000); // 300 pixels over 30000 units: 2000 would be 20 pixels
}

TEST(ViewSteps, ArrowsMoveTheCentreByATenthOfTheRange)
{
    const struct {
        int16_t rangeX, rangeY;
        ViewCentre from;
        int stepsX, stepsY;
        std::optional<ViewCentre> to; // nullopt: beyond 16 bits, nothing moves
    } moves[] = {
        {4, 4, {0, 0}, 1, 0, ViewCentre{0.4, 0}},
        {1, 2, {0, 0}, -1, 1, ViewCentre{-0.1, 0.2}},
        {15, 4, {32767, 0}, -1, 1, ViewCentre{32765.5, 0.4}},
        {20, 20, {-10.5231, 3.25}, 1, -1, ViewCentre{-8.5231, 1.25}},
        {32767, 1, {0, 0}, 1, 0, ViewCentre{3276.7, 0}},
        {15, 4, {32767, 0}, 1, 0, std::nullopt},
        {1, 32767, {0, -32000}, 0, -1, std::nullopt},
    };
    for (const auto &m : moves) {
        GraphSettingsRecord view;
        view.GraphScaleX = m.rangeX;
        view.GraphScaleY = m.rangeY;
        ASSERT_TRUE(PlaceCentre(view, m.from));
        const GraphSettingsRecord before = view;
        EXPECT_EQ(PanView(view, m.stepsX, m.stepsY), m.to.has_value()) << m.rangeX;
        const ViewCentre centre = CentreOf(m.to ? view : before);
        const ViewCentre expected = m.to.value_or(CentreOf(before));
        EXPECT_NEAR(centre.x, expected.x, 1e-9) << m.rangeX;
        EXPECT_NEAR(centre.y, expected.y, 1e-9) << m.rangeX;
        if (!m.to) {
            EXPECT_EQ(view, before);
        }
    }
}

// Wheel and drag on random views: the unit under the pointer stays under it to the pixel, a
// drag moves every whole unit by exactly the pointer's pixels, and the centre splits into its
// nearest whole number and a fraction that add up to the centre shown.
TEST(ViewSteps, ZoomAboutThePointerAndDragKeepThePointUnderThePointer)
{
    test::SeededRandom random(20);
    for (int round = 0; round < 2000; ++round) {
        GraphSettingsRecord view;
        const int width = 50 + random.below(950);
        const int height = 50 + random.below(950);
        view.GraphScaleX = static_cast<int16_t>(1 + random.below(random.chance(50) ? 40 : 3000));
        view.GraphScaleY = static_cast<int16_t>(1 + random.below(40));
        ASSERT_TRUE(PlaceCentre(view, {random.below(2001) / 7.0 - 140, random.below(2001) / 9.0}));
        const double column = random.below(width);
        const double row = random.below(height);
        const auto units = [&](const GraphSettingsRecord &s) {
            const PlotGeometry g = ComputeGeometry(s, int16_t(width), int16_t(height));
            return std::tuple(s.ScreenCentralX + (column - g.CentralPixelX) / g.PixelsPerUnitX,
                              s.ScreenCentralY + (g.CentralPixelY - row) / g.PixelsPerUnitY, g);
        };
        const auto [x, y, before] = units(view);
        if (before.PixelsPerUnitX <= 0 || before.PixelsPerUnitY <= 0)
            continue;
        GraphSettingsRecord zoomed = view;
        if (ZoomViewAbout(zoomed, random.chance(50), width, height, column, row)) {
            const auto [zx, zy, after] = units(zoomed);
            EXPECT_LE(std::abs(zx - x) * after.PixelsPerUnitX, 0.6) << round;
            EXPECT_LE(std::abs(zy - y) * after.PixelsPerUnitY, 0.6) << round;
            const ViewCentre centre = CentreOf(zoomed);
            EXPECT_EQ(centre.x, zoomed.ScreenCentralX + zoomed.CentreFractionX);
            EXPECT_LE(std::abs(zoomed.CentreFractionX), 0.5);
        }
        const int dx = random.below(401) - 200;
        const int dy = random.below(401) - 200;
        GraphSettingsRecord dragged = view;
        if (DragView(dragged, CentreOf(view), dx, dy, width, height)) {
            const PlotGeometry after = ComputeGeometry(dragged, int16_t(width), int16_t(height));
            // The pixel of unit 0 on each axis.
            EXPECT_EQ(after.CentralPixelX - dragged.ScreenCentralX * after.PixelsPerUnitX,
                      before.CentralPixelX - view.ScreenCentralX * before.PixelsPerUnitX + dx)
                << round;
            EXPECT_EQ(after.CentralPixelY + dragged.ScreenCentralY * after.PixelsPerUnitY,
                      before.CentralPixelY + view.ScreenCentralY * before.PixelsPerUnitY + dy)
                << round;
        }
    }
}

} // namespace
