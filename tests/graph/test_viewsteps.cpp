#include "graph/viewsteps.h"

#include <gtest/gtest.h>

using namespace lw;

namespace {

TEST(ViewSteps, ZoomWalksTheRangesAndKeepsTheRatioAndReadableNumbers)
{
    const struct {
        int16_t range;
        bool wider;
        int16_t next; // 0: no step further
    } steps[] = {{1, true, 2},         {8, true, 10},         {9, true, 10}, {9, false, 8},
                 {80, true, 100},      {100, false, 80},      {1, false, 0}, {32767, true, 0},
                 {30000, true, 32767}, {32767, false, 30000}, {-5, false, 0}};
    for (const auto &s : steps)
        EXPECT_EQ(ZoomedRange(s.range, s.wider), s.next) << s.range << " " << s.wider;

    GraphSettingsRecord view;
    view.GraphScaleX = 20;
    view.GraphScaleY = 10;
    ASSERT_TRUE(ZoomView(view, false, 300, 300));
    // 300 pixels over 15 units: 20 a unit, so numbers every 2; over 8 units, every 1.
    EXPECT_EQ(view.GraphScaleX, 15);
    EXPECT_EQ(view.GraphScaleY, 8);
    EXPECT_EQ(view.PutNumberEachX, 2);
    EXPECT_EQ(view.PutMarkEachX, 2);
    EXPECT_EQ(view.PutNumberEachY, 1);
    view.GraphScaleX = view.GraphScaleY = 25000;
    ASSERT_TRUE(ZoomView(view, true, 300, 300));
    EXPECT_EQ(view.PutNumberEachX, 5000); // 300 pixels over 30000 units: 2000 would be 20 pixels
}

TEST(ViewSteps, PanMovesATenthOfTheRangeAtLeastAUnitAndStaysIn16Bits)
{
    GraphSettingsRecord view;
    view.GraphScaleX = 15;
    view.GraphScaleY = 4;
    ASSERT_TRUE(PanView(view, -1, 1));
    EXPECT_EQ(view.ScreenCentralX, -2);
    EXPECT_EQ(view.ScreenCentralY, 1);
    view.ScreenCentralX = 32767;
    EXPECT_FALSE(PanView(view, 1, 0));
    EXPECT_EQ(view.ScreenCentralX, 32767);
}

} // namespace
