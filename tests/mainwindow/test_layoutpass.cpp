// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindow/layoutpass.h"
#include "mainwindow/variablespanel.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

using namespace lw;

namespace {

constexpr LayoutReserves FirstPass{0, 0};
constexpr LayoutReserves BothBars{400, 1150};
constexpr LayoutReserves NoBars{0, 880};

LayoutInput inputOf(int width, int height, bool toolbar = true, bool statusBar = true,
                    double tppX = 15, double tppY = 15)
{
    return {.outerWidth = width,
            .outerHeight = height,
            .minimised = false,
            .toolbarVisible = toolbar,
            .statusBarVisible = statusBar,
            .twipsPerPixelX = tppX,
            .twipsPerPixelY = tppY};
}

struct WorkedExample {
    const char *name;
    int width, height;
    bool toolbar, statusBar;
    LayoutReserves previous;
    int outerWidth, outerHeight;
    int top, side, optionsLeft, optionsWidth;
    int graphPixels;
};

const WorkedExample workedExamples[] = {
    {"9000x6000", 9000, 6000, true, true, BothBars, 9000, 6000, 400, 4450, 6350, 2530, 297},
    {"narrow after earlier pass", 5000, 6000, true, true, BothBars, 8285, 6000, 400, 4450, 6350,
     1815, 297},
    {"narrow in first pass", 5000, 6000, true, true, FirstPass, 8285, 6000, 400, 4450, 6350, 1815,
     297},
    {"height raised", 9000, 2500, true, true, BothBars, 9000, 3000, 400, 1450, 3350, 5530, 97},
    {"height raised, nested pass widens", 3000, 2500, true, true, BothBars, 5285, 3000, 400, 1450,
     3350, 1815, 97},
    {"height raised in first pass", 3000, 2500, true, true, FirstPass, 5285, 3000, 400, 1450, 3350,
     1815, 97},
    // The panel's own minimum wins over the picture's, which reads the reserves of the pass before.
    {"nested pass sees old reserves", 3000, 2500, true, true, NoBars, 5285, 3000, 400, 1450, 3350,
     1815, 97},
    // Bars hidden since the pass before: the panel needs room beside the larger picture.
    {"bars hidden since last pass", 3000, 2500, false, false, BothBars, 5955, 3000, 0, 2120, 4020,
     1815, 141},
    {"status bar hidden", 9000, 6000, true, false, BothBars, 9000, 6000, 400, 4720, 6620, 2260,
     315},
    {"toolbar hidden", 9000, 6000, false, true, BothBars, 9000, 6000, 0, 4850, 6750, 2130, 323},
};

void PrintTo(const WorkedExample &c, std::ostream *os)
{
    *os << c.name;
}

class WorkedExamples : public ::testing::TestWithParam<WorkedExample> {};

TEST_P(WorkedExamples, PlacesPanelsAndTermBar)
{
    const WorkedExample &c = GetParam();
    LayoutReserves reserves = c.previous;
    const LayoutResult r =
        RunLayoutPass(inputOf(c.width, c.height, c.toolbar, c.statusBar), reserves);

    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r.outerWidth, c.outerWidth);
    EXPECT_EQ(r.outerHeight, c.outerHeight);
    EXPECT_EQ(reserves.TopSpace, c.toolbar ? 400 : 0);
    EXPECT_EQ(reserves.BottomSpace, c.statusBar ? 1150 : 880);
    EXPECT_EQ(r.picVariables, QRect(0, c.top, 1800, c.side));
    EXPECT_EQ(r.picGraph, QRect(1850, c.top, c.side, c.side));
    EXPECT_EQ(r.picOptions, QRect(c.optionsLeft, c.top, c.optionsWidth, c.side));
    EXPECT_EQ(r.GraphWidth, c.graphPixels);
    EXPECT_EQ(r.GraphHeight, c.graphPixels);
    EXPECT_EQ(r.cmdDrawLeft, c.outerWidth - 720 - 200);
    EXPECT_EQ(r.txtTermWidth, c.outerWidth - 1920 - 720 - 240);

    // The chrome constants must make the panels end exactly where picTerm begins.
    const QSize client = OuterToClient(QSize(r.outerWidth, r.outerHeight));
    const ClientGeometry docked =
        DockedGeometry(client.width(), client.height(), c.toolbar, c.statusBar);
    EXPECT_EQ(r.picGraph.y() + r.picGraph.height(), docked.picTerm.y());
}

INSTANTIATE_TEST_SUITE_P(LayoutPass, WorkedExamples, ::testing::ValuesIn(workedExamples),
                         [](const auto &info) {
                             std::string name = info.param.name;
                             for (char &ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

TEST(LayoutPass, NineThousandBySixThousandGivesTermBarPositions)
{
    LayoutReserves reserves = BothBars;
    const LayoutResult r = RunLayoutPass(inputOf(9000, 6000), reserves);
    EXPECT_EQ(r.cmdDrawLeft, 8080);
    EXPECT_EQ(r.txtTermWidth, 6120);
}

TEST(LayoutPass, MinimisedChangesNothing)
{
    LayoutReserves reserves = NoBars;
    LayoutInput input = inputOf(2000, 1000);
    input.minimised = true;
    const LayoutResult r = RunLayoutPass(input, reserves);
    EXPECT_FALSE(r.ran);
    EXPECT_EQ(r.outerWidth, 2000);
    EXPECT_EQ(r.outerHeight, 1000);
    EXPECT_EQ(reserves.TopSpace, 0);
    EXPECT_EQ(reserves.BottomSpace, 880);
}

TEST(LayoutPass, PictureSizeRoundsHalvesToEvenPerAxis)
{
    struct Case {
        int side;
        double tppX, tppY;
        int graphWidth, graphHeight;
    };
    const Case cases[] = {
        {1470, 12, 15, 122, 98},                                  // 122.5 -> 122
        {1458, 12, 12, 122, 122},                                 // 121.5 -> 122
        {1482, 12, 12, 124, 124},                                 // 123.5 -> 124
        {1450, 15, 12, 97, 121},  {600000, 15, 15, 32767, 32767}, // beyond 16 bits
    };
    for (const Case &c : cases) {
        LayoutReserves reserves = BothBars;
        const LayoutResult r = RunLayoutPass(
            inputOf(c.side + 5000, c.side + 1550, true, true, c.tppX, c.tppY), reserves);
        ASSERT_EQ(r.picGraph.width(), c.side);
        EXPECT_EQ(r.GraphWidth, c.graphWidth) << c.side;
        EXPECT_EQ(r.GraphHeight, c.graphHeight) << c.side;
    }
}

void expectApart(const std::vector<QRect> &rects, const char *what)
{
    for (size_t i = 0; i < rects.size(); ++i) {
        for (size_t j = i + 1; j < rects.size(); ++j)
            EXPECT_FALSE(rects[i].intersects(rects[j])) << what << " #" << i << " and #" << j;
    }
}

void checkNoOverlap(const LayoutInput &input, LayoutReserves previous)
{
    const double tx = input.twipsPerPixelX, ty = input.twipsPerPixelY;
    const LayoutResult r = RunLayoutPass(input, previous);
    const QSize client = OuterToClient(QSize(r.outerWidth, r.outerHeight));
    const ClientGeometry docked = DockedGeometry(client.width(), client.height(),
                                                 input.toolbarVisible, input.statusBarVisible);
    auto px = [&](const QRect &twips) {
        return PixelRect(twips, tx, ty);
    };

    const QRect term = px(docked.picTerm);
    EXPECT_FALSE(px(r.picVariables).isEmpty() || px(r.picGraph).isEmpty()
                 || px(r.picOptions).isEmpty() || term.isEmpty());
    std::vector<QRect> regions = {px(r.picVariables), px(r.picGraph), px(r.picOptions), term};
    if (input.slidersWidth > 0) {
        EXPECT_FALSE(px(r.picSliders).isEmpty());
        regions.push_back(px(r.picSliders));
    }
    for (const QRect &panel : {px(r.picVariables), px(r.picGraph), px(r.picOptions)}) {
        EXPECT_LE(panel.bottom(), term.top() - 1);
        if (input.toolbarVisible) {
            EXPECT_GE(panel.top(), px(docked.toolbar).bottom() + 1);
        }
    }
    if (input.toolbarVisible)
        regions.push_back(px(docked.toolbar));
    if (input.statusBarVisible)
        regions.push_back(px(docked.statusBar));
    expectApart(regions, "window");
    const QSize clientPixels = ClientPixelsForOuter(QSize(r.outerWidth, r.outerHeight), tx, ty);
    EXPECT_TRUE(QRect(QPoint(0, 0), clientPixels).contains(px(r.picOptions)));

    const TermBarGeometry bar = TermBarLayout(r.cmdDrawLeft, r.txtTermWidth);
    const std::vector<QRect> children = {px(bar.Label2), px(bar.Label3), px(bar.txtTerm),
                                         px(bar.cmdDraw)};
    expectApart(children, "picTerm");
    EXPECT_FALSE(px(bar.txtTerm).isEmpty());
    for (const QRect &child : children)
        EXPECT_TRUE(QRect(QPoint(0, 0), term.size()).contains(child));
}

TEST(LayoutPass, NoControlsOverlapInPixels)
{
    const LayoutReserves previous[] = {FirstPass, BothBars, NoBars, {400, 880}, {0, 1150}};
    for (double tpp : {15.0, 12.0})
        for (int bars = 0; bars < 4; ++bars)
            for (const LayoutReserves &before : previous)
                for (int w = 3000; w <= 30200; w += 850)
                    for (int h = 2000; h <= 23000; h += 650) {
                        SCOPED_TRACE(testing::Message()
                                     << w << "x" << h << " bars " << bars << " tpp " << tpp);
                        LayoutInput input = inputOf(w, h, bars & 1, bars & 2, tpp, tpp);
                        checkNoOverlap(input, before);
                        input.slidersWidth = VariablesPanel::SlidersWidth();
                        checkNoOverlap(input, before);
                        if (HasFailure())
                            return;
                    }
}

QSize throughPixels(const LayoutResult &r, double tpp)
{
    const QSize pixels = ClientPixelsForOuter(QSize(r.outerWidth, r.outerHeight), tpp, tpp);
    return OuterForClientPixels(pixels, tpp, tpp);
}

// A window resized to what the pass asked for reads back a size rounded up to
// whole pixels; passes on it must settle at once, not widen it step by step.
TEST(LayoutPass, ResizeToResultSettlesThroughPixels)
{
    for (double tpp : {15.0, 12.0, 1440.0 / 110, 10.0})
        for (int w = 3000; w <= 12000; w += 777)
            for (int h = 2000; h <= 9000; h += 333) {
                SCOPED_TRACE(testing::Message() << w << "x" << h << " tpp " << tpp);
                LayoutReserves reserves = BothBars;
                const LayoutResult first =
                    RunLayoutPass(inputOf(w, h, true, true, tpp, tpp), reserves);
                const QSize back = throughPixels(first, tpp);
                ASSERT_GE(back.width(), first.outerWidth);
                ASSERT_GE(back.height(), first.outerHeight);
                ASSERT_LT(back.height(), first.outerHeight + tpp + 1);

                // A height rounded up may ask for one more pixel of width, once.
                const LayoutResult second = RunLayoutPass(
                    inputOf(back.width(), back.height(), true, true, tpp, tpp), reserves);
                ASSERT_EQ(second.outerHeight, back.height());
                ASSERT_LT(second.outerWidth, back.width() + tpp + 1);
                const QSize settled = throughPixels(second, tpp);
                const LayoutResult third = RunLayoutPass(
                    inputOf(settled.width(), settled.height(), true, true, tpp, tpp), reserves);
                ASSERT_EQ(QSize(third.outerWidth, third.outerHeight), settled);
            }
}

} // namespace
