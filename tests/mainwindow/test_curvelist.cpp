// The picture as a list of curves: what survives a resize, a new view and undo.

#include "mainwindowtesting.h"

#include "graph/curvelist.h"
#include "tests/support/modalanswer.h"

#include <QAction>
#include <QCheckBox>
#include <QTest>

using namespace lw;
using lw::testing::waitUntil;

namespace {

class CurveList : public lw::testing::MainWindow {
protected:
    // Whether the curve y = value shows a few units left and right of the centre.
    bool shows(int value)
    {
        const PlotGeometry &g = ScreenPicture().geometry;
        const int row = g.CentralPixelY - (value - GraphSettings.ScreenCentralY) * g.PixelsPerUnitY;
        return pixel(g.CentralPixelX - 3 * g.PixelsPerUnitX, row) == lw::testing::CurveColour
               && pixel(g.CentralPixelX + 3 * g.PixelsPerUnitX, row) == lw::testing::CurveColour;
    }
    std::size_t entries() const { return ScreenPicture().curves.size(); }
    bool showsOnly(std::initializer_list<int> drawn, std::initializer_list<int> gone)
    {
        return !DrawInProgress() && std::ranges::all_of(drawn, [this](int v) { return shows(v); })
               && std::ranges::none_of(gone, [this](int v) { return shows(v); });
    }
};

TEST_F(CurveList, ResizeNewCentreAndUndoKeepTheCurvesEraseForgetsThem)
{
    openWindow();
    draw("2");
    draw("3");
    window->resize(window->width() + 60, window->height() + 60);
    EXPECT_TRUE(waitUntil([this] { return showsOnly({2, 3}, {}); }, "both curves after resize"));

    window->txtScreenCentralY->setText("1");
    draw("4");
    EXPECT_EQ(entries(), 3u);
    EXPECT_TRUE(showsOnly({2, 3, 4}, {}));
    EXPECT_EQ(ScreenPicture().curves.back().typed, u"4");

    window->Undo();
    EXPECT_TRUE(waitUntil([this] { return showsOnly({2, 3}, {4}); }, "the last curve undone"));

    window->chkAlwaysDelete->setChecked(true);
    draw("5");
    EXPECT_EQ(entries(), 1u);
    EXPECT_TRUE(showsOnly({5}, {2, 3}));
    window->toolbarAction("EraseGraphs")->trigger();
    EXPECT_EQ(entries(), 0u);
    for (const char *outside : {"1/0", "sqrt(x-100)"}) {
        draw(outside);
        EXPECT_EQ(status(), "Die Kurve hat im sichtbaren Bereich keine Punkte.") << outside;
    }
}

TEST_F(CurveList, KeysOnThePictureZoomPanAndReturnToTheStoredView)
{
    openWindow();
    draw("2");
    QTest::keyClick(window->picGraph, Qt::Key_Plus);
    EXPECT_EQ(GraphSettings.GraphScaleX, 15);
    EXPECT_EQ(GraphSettings.PutNumberEachX, 2); // 20 pixels a unit
    EXPECT_TRUE(waitUntil([this] { return showsOnly({2}, {}); }, "the curve in the closer view"));
    QTest::keyClick(window->picGraph, Qt::Key_Left);
    EXPECT_EQ(window->txtScreenCentralX->text(), "-2");
    QTest::keyClick(window->picGraph, Qt::Key_Home);
    EXPECT_EQ(GraphSettings.GraphScaleX, 20);
    EXPECT_EQ(window->txtScreenCentralX->text(), "0");
    EXPECT_TRUE(waitUntil([this] { return showsOnly({2}, {}); }, "the curve in the stored view"));
}

} // namespace
