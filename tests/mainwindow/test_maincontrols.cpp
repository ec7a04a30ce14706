// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's variables panel, status bar help and layout, and the dialogs it opens.

#include "mainwindowtesting.h"

#include "assistant/frmfassist.h"
#include "assistant/frmfassist2.h"
#include "mainwindow/pointerposition.h"
#include "mainwindow/variablespanel.h"
#include "settings/frmgraphoptions.h"
#include "tests/support/modalanswer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>

#include <functional>
#include <utility>

using namespace lw;
using lw::testing::MainWindow;
using lw::testing::ModalAnswer;
using lw::testing::waitUntil;

namespace {

TEST_F(MainWindow, ParametersComeFromThePanelInEditModeOnly)
{
    openWindow();
    VariablesPanel &panel = *window->picVariables;
    ASSERT_EQ(panel.chkVarName[7]->text(), "h =");
    EXPECT_EQ(panel.txtVarValue[7]->text(), "0");
    EXPECT_EQ(panel.txtVarValue[7]->objectName(), "txtVarValue_7");
    const std::u16string formula = u"SUM(PRO(a;x);b;ABS(h);H)";
    EXPECT_EQ(window->UpdateVariables(formula), u"SUM(PRO(0;x);0;ABS(0);H)");

    window->toolbarAction("VariableEdit")->trigger();
    EXPECT_TRUE(panel.isEnabled());
    panel.chkVarName[0]->setChecked(true);
    panel.txtVarValue[0]->setText("2");
    EXPECT_EQ(window->UpdateVariables(formula), u"SUM(PRO(2;x);b;ABS(h);H)");
    panel.txtVarValue[0]->setText("10");
    panel.chkVarName[1]->setChecked(true);
    panel.txtVarValue[1]->setText("5b");
    EXPECT_EQ(window->UpdateVariables(formula), u"SUM(PRO(10;x);5b;ABS(h);H)");
    panel.txtVarValue[0]->setText("2,5");
    panel.txtVarValue[1]->setText("");
    // An emptied value counts as 0: as a call's last argument it would be skipped instead.
    EXPECT_EQ(window->UpdateVariables(formula), u"SUM(PRO(2,5;x);0;ABS(h);H)");

    window->toolbarAction("VariableEdit")->trigger();
    EXPECT_FALSE(panel.isEnabled());
    window->toolbarAction("VariableEdit")->trigger();
    EXPECT_TRUE(panel.chkVarName[0]->isChecked());
    EXPECT_EQ(panel.txtVarValue[0]->text(), "2,5");
}

TEST_F(MainWindow, ParametersInADrawing)
{
    openWindow();
    draw("a*x+b"); // edit mode off: y = 0
    EXPECT_TRUE(curveRow(150, 2, 298));
    window->toolbarAction("VariableEdit")->trigger();
    window->picVariables->chkVarName[0]->setChecked(true);
    window->picVariables->txtVarValue[0]->setText("2");
    window->toolbarAction("EraseGraphs")->trigger();
    draw("a*x+b"); // b unchecked stays a letter and reads as 0
    EXPECT_EQ(pixel(165, 120), lw::testing::CurveColour);
    EXPECT_NE(pixel(20, 150), lw::testing::CurveColour);
}

TEST_F(MainWindow, StatusBarHelp)
{
    openWindow();
    moveOver(window->picGraph);
    EXPECT_EQ(status(), "Willkommen bei ZERANTH Linienwerk 2.0!");
    moveOver(window->cmdDraw);
    EXPECT_EQ(status(), "Zeichnet das Schaubild zur Funktionsgleichung");
    moveOver(window->txtTerm);
    EXPECT_EQ(status(), "Geben Sie hier die Funktionsgleichung ein.");
    moveOver(window->picGraph);
    EXPECT_EQ(status(), "");
    const QPoint belowFrames(5, window->picOptions->height() - 3);
    moveOver(window->picOptions, belowFrames);
    EXPECT_EQ(status(), "Hier können Sie verschiedene Schaubildoptionen ändern");
    moveOver(window->picVariables,
             QPoint(window->picVariables->width() - 3, window->picVariables->height() - 3));
    EXPECT_EQ(status(), "Hier können Sie Variablenwerte ändern.");
    moveOver(window->picOptions, window->fraGraphOptions->geometry().center());
    EXPECT_EQ(status(), "Hier können Sie Variablenwerte ändern."); // over a frame: unchanged

    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->sbrMain, &twice);
    EXPECT_TRUE(window->sbrMain->isHidden());
}

TEST_F(MainWindow, NoControlOverlapsAnotherAfterResizing)
{
    openWindow();
    for (const QSize size : {QSize(300, 100), QSize(515, 334), QSize(900, 700), QSize(1600, 1000),
                             QSize(700, 700), QSize(683, 740), QSize(600, 900)}) {
        window->resize(size);
        QApplication::processEvents();
        const QList<QWidget *> regions = {window->tbrMain,  window->picVariables,
                                          window->picGraph, window->picOptions,
                                          window->picTerm,  window->sbrMain};
        for (int i = 0; i < regions.size(); ++i)
            for (int j = i + 1; j < regions.size(); ++j)
                EXPECT_FALSE(regions[i]->geometry().intersects(regions[j]->geometry()))
                    << regions[i]->objectName().toStdString() << " / "
                    << regions[j]->objectName().toStdString() << " at " << size.width() << "x"
                    << size.height();
        EXPECT_TRUE(window->rect().contains(window->picOptions->geometry()))
            << "picOptions outside at " << size.width() << "x" << size.height();
        // Square in twips; its pixel edges are rounded one by one.
        EXPECT_LE(std::abs(window->picGraph->width() - window->picGraph->height()), 1);
        const PlotGeometry &screen = ScreenPicture().geometry;
        EXPECT_EQ(screen.GraphWidth, screen.GraphHeight);
        EXPECT_EQ(screen.GraphWidth, window->picGraph->surface().size().width());
    }
}

TEST_F(MainWindow, EveryWayIntoTheSettingsDialogEndsWithTheCurvesDrawnAgain)
{
    openWindow();
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"Mehr...",
         [this] {
             window->cmdMoreGraphOptions->click();
         }},
        {"toolbar",
         [this] {
             window->toolbarAction("GraphOptions")->trigger();
         }},
        {"Strg+E",
         [this] {
             QTest::keyClick(window->txtTerm, Qt::Key_E, Qt::ControlModifier);
         }},
    };
    for (const auto &[way, open] : ways) {
        window->activateWindow(); // as the window system does after a dialog
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        draw("2");
        window->txtPrecision->setText("0,5");
        ModalAnswer<FrmGraphOptions> ok(
            [](FrmGraphOptions *dialog) { dialog->findChild<QPushButton *>("cmdOK")->click(); });
        open();
        EXPECT_TRUE(waitUntil([&] { return ok.answered(); }, way));
        EXPECT_EQ(window->txtPrecision->text(), "0,1") << way; // OK refreshed the quick options
        const PlotGeometry &g = ScreenPicture().geometry;
        const int row = g.CentralPixelY - 2 * g.PixelsPerUnitY;
        EXPECT_TRUE(waitUntil(
            [&] { return window->PictureUpToDate() && curveRow(row, 10, g.GraphWidth - 10); }, way))
            << way << ": the curve is drawn again";
    }
    ModalAnswer<FrmGraphOptions> cancel([](FrmGraphOptions *dialog) { dialog->reject(); });
    window->toolbarAction("GraphOptions")->trigger();
    EXPECT_TRUE(cancel.answered());
}

TEST_F(MainWindow, TheAssistantReplacesTheEquation)
{
    openWindow();
    ModalAnswer<FrmFAssist> page1(
        [](FrmFAssist *page) { page->findChild<QPushButton *>("cmdNext")->click(); });
    ModalAnswer<FrmFAssist2> page2(
        [](FrmFAssist2 *page) { page->findChild<QPushButton *>("cmdFinish")->click(); });
    window->toolbarAction("FAssist")->trigger();
    EXPECT_TRUE(page1.answered());
    EXPECT_TRUE(page2.answered());
    EXPECT_EQ(window->txtTerm->text(), "a * x + b");
    EXPECT_TRUE(window->optTermFormat[0]->isChecked());
}

TEST(PointerDecimals, OneDecimalStepIsNoWiderThanAPixel)
{
    const struct {
        int pixelsPerUnit, decimals;
    } cases[] = {{1, 0}, {2, 1}, {9, 1}, {10, 1}, {11, 2}, {15, 2}, {100, 2}, {101, 3}, {32767, 5}};
    for (const auto &c : cases)
        EXPECT_EQ(PointerDecimals(c.pixelsPerUnit), c.decimals) << c.pixelsPerUnit;
}

TEST_F(MainWindow, ThePointerFieldShowsGraphUnitsOverThePictureOnly)
{
    openWindow();
    const QLabel *field = window->lblPointer;
    const auto shownAt = [&](QPointF position) {
        QMouseEvent move(QEvent::MouseMove, position, window->picGraph->mapToGlobal(position),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window->picGraph, &move);
        return field->text();
    };
    const struct {
        QPointF pixel;
        const char *text;
    } cases[] = {
        {{150, 150}, "x = 0   y = 0"},       {{165, 135}, "x = 1   y = 1"},
        {{151, 149}, "x = 0,07   y = 0,07"}, {{149, 151}, "x = -0,07   y = -0,07"},
        {{185, 150}, "x = 2,33   y = 0"},    {{160.7, 150.9}, "x = 0,67   y = 0"},
        {{0, 300}, "x = -10   y = -10"},     {{157.5, 132}, "x = 0,47   y = 1,2"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(shownAt(c.pixel), c.text) << c.pixel.x() << ", " << c.pixel.y();
    // No group separator: "20.000" would read as twenty.
    GraphSettings.ScreenCentralX = 20000;
    EXPECT_EQ(shownAt({165, 150}), "x = 20001   y = 0");
    GraphSettings.ScreenCentralX = 0;
    EXPECT_EQ(status(), "Willkommen bei ZERANTH Linienwerk 2.0!");

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(window->picGraph, &leave);
    EXPECT_EQ(field->text(), "");
    moveOver(window->txtTerm);
    EXPECT_EQ(field->text(), "");

    window->txtScreenCentralX->setText("-5");
    window->txtScreenCentralY->setText("3");
    draw("2");
    EXPECT_EQ(shownAt({150, 150}), "x = -5   y = 3");
    GraphSettings.GraphScaleX = 150; // 2 pixels per unit across, 15 up
    RedrawAxes(ScreenPicture(), GraphSettings);
    EXPECT_EQ(shownAt({151, 151}), "x = -4,5   y = 2,93");
}

} // namespace
