// SPDX-License-Identifier: GPL-3.0-or-later
// The picture as a list of curves: what survives a resize, a new view, undo, the "Kurven" window,
// and the view by keys, wheel and drag.

#include "mainwindowtesting.h"

#include "graph/curvelist.h"
#include "graph/viewsteps.h"
#include "mainwindow/variablespanel.h"
#include "settings/settingsfields.h"
#include "tests/support/modalanswer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using namespace lw;
using lw::testing::waitUntil;

namespace {

class CurveList : public lw::testing::MainWindow {
protected:
    // Whether the curve y = value shows a few units left and right of the whole centre.
    bool shows(int value)
    {
        const PlotGeometry &g = ScreenPicture().geometry;
        const int row = g.CentralPixelY - (value - GraphSettings.ScreenCentralY) * g.PixelsPerUnitY;
        return pixel(g.CentralPixelX - 3 * g.PixelsPerUnitX, row) == lw::testing::CurveColour
               && pixel(g.CentralPixelX + 3 * g.PixelsPerUnitX, row) == lw::testing::CurveColour;
    }
    bool showsOnly(std::initializer_list<int> drawn, std::initializer_list<int> gone = {})
    {
        return !DrawInProgress() && std::ranges::all_of(drawn, [this](int v) { return shows(v); })
               && std::ranges::none_of(gone, [this](int v) { return shows(v); });
    }
    std::size_t entries() const { return ScreenPicture().curves.size(); }
    // The units under a pixel of the picture.
    static ViewCentre unitsAt(QPoint p)
    {
        const PlotGeometry &g = ScreenPicture().geometry;
        return {GraphSettings.ScreenCentralX + double(p.x() - g.CentralPixelX) / g.PixelsPerUnitX,
                GraphSettings.ScreenCentralY + double(g.CentralPixelY - p.y()) / g.PixelsPerUnitY};
    }
};

TEST_F(CurveList, ResizeNewCentreAndUndoKeepTheCurvesEraseForgetsThem)
{
    openWindow();
    draw("2");
    draw("3");
    window->resize(window->width() + 60, window->height() + 60);
    EXPECT_TRUE(waitUntil([this] { return showsOnly({2, 3}); }, "both curves after resize"));

    window->txtScreenCentralY->setText("1");
    draw("4");
    EXPECT_EQ(entries(), 3u);
    EXPECT_TRUE(showsOnly({2, 3, 4}));
    window->Undo();
    EXPECT_TRUE(waitUntil([this] { return showsOnly({2, 3}, {4}); }, "the last curve undone"));

    window->chkAlwaysDelete->setChecked(true);
    draw("5");
    EXPECT_TRUE(entries() == 1u && showsOnly({5}, {2, 3}));
    window->toolbarAction("EraseGraphs")->trigger();
    EXPECT_EQ(entries(), 0u);
    draw("sqrt(x-100)");
    EXPECT_EQ(status(), "Die Kurve hat im sichtbaren Bereich keine Punkte.");
}

// A held Enter (as one that closed the start's notice and stayed down) repeats into the field.
TEST_F(CurveList, OnlyAnEnterTypedInTheFieldDraws)
{
    openWindow();
    QTest::mouseClick(window->txtTerm, Qt::LeftButton);
    for (const bool repeated : {true, false}) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, {}, repeated);
        QApplication::sendEvent(window->txtTerm, &enter);
        EXPECT_TRUE(waitUntil([&] { return !DrawInProgress(); }, "the draw done"));
        EXPECT_EQ(entries(), repeated ? 0u : 1u);
    }
}

TEST_F(CurveList, AThousandCurvesRedrawAndStopAndOneThatFailsNowIsMarked)
{
    openWindow();
    std::vector<CurveEntry> &curves = ScreenPicture().curves;
    for (int i = 0; i < 1000; ++i)
        AddCurve(ScreenPicture(), {.typed = u"x", .formula = u"x", .precision = 0.01f});
    curves.back().formula = std::u16string(40000, u'1'); // too long: it never drew
    // Esc as soon as the redraw yields: it ends long before the last curve.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (DrawInProgress() && !StopRequested())
            QTest::keyClick(window.get(), Qt::Key_Escape);
    });
    watch.start(1);
    window->RequestRedraw();
    ASSERT_TRUE(waitUntil([&] { return window->PictureUpToDate(); }, "the redraw stopped"));
    watch.stop();
    EXPECT_FALSE(curves.back().failed);
    window->RequestRedraw();
    ASSERT_TRUE(waitUntil([&] { return window->PictureUpToDate(); }, "the whole redraw"));
    EXPECT_EQ(curves.size(), 1000u);
    EXPECT_TRUE(curves.back().failed);
}

TEST_F(CurveList, RowsHideDeleteAndRestoreTheirEquation)
{
    openWindow();
    VariablesPanel &panel = *window->picVariables;
    window->toolbarAction("VariableEdit")->trigger();
    panel.chkVarName[0]->setChecked(true);
    panel.txtVarValue[0]->setText("2");
    draw("a");
    window->optTermFormat[1]->setChecked(true);
    panel.txtVarValue[0]->setText("5");
    draw("SUM(1;2)");

    window->toolbarAction("CurveList")->trigger();
    auto *list = window->findChild<QListWidget *>("lstCurves");
    ASSERT_TRUE(list && list->window()->isVisible());
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "SUM(1;2)");
    list->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(waitUntil([&] { return showsOnly({2}, {3}); }, "the unticked curve gone"));
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->count(), 1);

    window->toolbarAction("VariableEdit")->trigger(); // edit mode off
    panel.chkVarName[0]->setChecked(false);
    const auto row = [list] {
        return list->visualItemRect(list->item(0)).center();
    };
    ASSERT_TRUE(waitUntil([&] { return !row().isNull(); }, "the row laid out"));
    // As the window system delivers a double-click: a click, then the second press.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row());
    EXPECT_EQ(window->txtTerm->text(), "a");
    EXPECT_TRUE(window->optTermFormat[0]->isChecked());
    EXPECT_TRUE(panel.isEnabled() && panel.chkVarName[0]->isChecked());
    EXPECT_EQ(panel.txtVarValue[0]->text(), "2");
}

TEST_F(CurveList, KeysWheelAndDragMoveTheViewWithItsCurves)
{
    openWindow();
    draw("2");
    QWidget *picture = window->picGraph;
    QTest::keyClick(picture, Qt::Key_Plus);
    EXPECT_EQ(GraphSettings.GraphScaleX, 15);
    EXPECT_EQ(GraphSettings.PutNumberEachX, 2);
    QTest::keyClick(picture, Qt::Key_Left);
    EXPECT_EQ(window->txtScreenCentralX->text(), "-1,5"); // a tenth of 15
    EXPECT_TRUE(waitUntil([this] { return showsOnly({2}); }, "the curve in the moved view"));

    // A notch of the wheel away from the pupil zooms in about the pointer.
    const QPoint pointer(70, 90);
    const ViewCentre under = unitsAt(pointer);
    QWheelEvent wheel(pointer, picture->mapToGlobal(pointer), {}, {0, 120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(picture, &wheel);
    EXPECT_EQ(GraphSettings.GraphScaleX, 12);
    const double pixelX = 1.0 / ScreenPicture().geometry.PixelsPerUnitX;
    EXPECT_NEAR(unitsAt(pointer).x, under.x, 0.6 * pixelX);

    // A drag: the point under the pointer goes along with it, the centre fields show decimals.
    QTest::mousePress(picture, Qt::LeftButton, {}, pointer);
    QTest::mouseMove(picture, pointer + QPoint(17, 9));
    QTest::mouseMove(picture, pointer + QPoint(33, 21));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, pointer + QPoint(33, 21));
    EXPECT_NEAR(unitsAt(pointer + QPoint(33, 21)).x, under.x, 0.6 * pixelX);
    // Rounded to what a pixel tells apart.
    EXPECT_NEAR(*ReadNumberTextLenient(window->txtScreenCentralX->text()),
                CentreOf(GraphSettings).x, pixelX);
    EXPECT_NE(GraphSettings.CentreFractionX, 0);
    EXPECT_TRUE(waitUntil([this] { return showsOnly({2}); }, "the curve in the dragged view"));
    draw("3"); // the fields as shown are the view: no redraw, both curves
    EXPECT_EQ(entries(), 2u);
    EXPECT_TRUE(showsOnly({2, 3}));

    QTest::keyClick(picture, Qt::Key_Home);
    EXPECT_EQ(GraphSettings.GraphScaleX, 20);
    EXPECT_EQ(GraphSettings.CentreFractionX, 0);
    EXPECT_EQ(window->txtScreenCentralX->text(), "0");
    EXPECT_TRUE(waitUntil([this] { return showsOnly({2, 3}); }, "the curves in the stored view"));
}

} // namespace
