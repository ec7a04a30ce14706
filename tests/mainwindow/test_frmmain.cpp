// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindowtesting.h"

#include "mainwindow/startup.h"
#include "mainwindow/variablespanel.h"
#include "tests/support/modalanswer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>

using namespace lw;
using lw::testing::MainWindow;
using lw::testing::waitUntil;
using lw::testing::WhenReady;

namespace {

TEST_F(MainWindow, StartWithFaultySettingsShowsTheNoticeOverTheTitleScreen)
{
    store.write(QStringLiteral("Options"), QStringLiteral("GraphScaleX"), QStringLiteral("10"));
    bool titleVisible = false;
    bool mainWindowYet = true;
    InstallMessageHook([&](const Message &m) {
        messages.push_back(m);
        titleVisible = false;
        mainWindowYet = false;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == "frmTitleScreen" && w->isVisible())
                titleVisible = true;
            if (w->objectName() == "frmMain")
                mainWindowYet = true;
        }
    });
    window = Main();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Hinweis");
    EXPECT_EQ(messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(titleVisible);
    EXPECT_FALSE(mainWindowYet);
    EXPECT_TRUE(window->isVisible());
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->objectName() == "frmTitleScreen" && w->isVisible());

    EXPECT_EQ(window->windowTitle(), "ZERANTH Linienwerk 2");
    EXPECT_EQ(window->txtPrecision->text(), "0,1");
    EXPECT_EQ(window->txtScreenCentralX->text(), "0");
    EXPECT_EQ(window->txtScreenCentralY->text(), "0");
    EXPECT_TRUE(window->chkLinkPoints->isChecked());
    EXPECT_FALSE(window->chkAlwaysDelete->isChecked());
    EXPECT_TRUE(window->optTermFormat[0]->isChecked());
    EXPECT_TRUE(window->chkAutoConvert->isEnabled());
    EXPECT_FALSE(window->picVariables->isEnabled());
    EXPECT_EQ(window->txtTerm->text(), "x");
    EXPECT_EQ(window->cmdDraw->text(), "Zeichnen");
    EXPECT_EQ(status(), "Willkommen bei ZERANTH Linienwerk 2.0!");
    EXPECT_EQ(window->tbrMain->actions().size(), 17 + 3); // three separators

    // The store was repaired: the second start is quiet; so is the very first one.
    for (const bool firstStart : {false, true}) {
        window.reset();
        messages.clear();
        if (firstStart)
            store = MemorySettingsStore{};
        window = Main();
        EXPECT_TRUE(messages.empty()) << firstStart;
    }
    EXPECT_EQ(store.read(QStringLiteral("Options"), QStringLiteral("Check")), QStringLiteral("1"));
}

TEST_F(MainWindow, DrawsAConstantAsAHorizontalLine)
{
    openWindow();
    draw("2");
    EXPECT_TRUE(curveRow(120, 2, 298));
    EXPECT_EQ(window->cmdDraw->text(), "Zeichnen");
    EXPECT_FALSE(DrawInProgress());
    EXPECT_FALSE(StopRequested());
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindow, ConvertedFormulaIsWrittenBackWhenAsked)
{
    const struct {
        const char *term;
        bool autoConvert;
        const char *afterwards;
    } cases[] = {
        {"x", true, "PRO(x;1)"},
        {"X", true, "PRO(x;1)"},
        {"2*x+a", true, "SUM(PRO(2;x);a)"},
        {"2*x+a", false, "2*x+a"},
        {"2x", true, "PRO(2;x)"},
        {"3 sin(x²)", true, "PRO(3;SIN(POT(x;2)))"},
    };
    for (const auto &c : cases) {
        openWindow();
        window->chkAutoConvert->setChecked(c.autoConvert);
        draw(c.term);
        EXPECT_EQ(window->txtTerm->text(), c.afterwards) << c.term;
        EXPECT_EQ(window->optTermFormat[1]->isChecked(), c.autoConvert) << c.term;
        EXPECT_EQ(window->chkAutoConvert->isEnabled(), !c.autoConvert) << c.term;
        EXPECT_TRUE(window->chkAutoConvert->isChecked() == c.autoConvert);
    }
}

TEST_F(MainWindow, KznFormulaGoesToThePlotterUnchanged)
{
    openWindow();
    window->optTermFormat[1]->click();
    draw("SUM(2;0)");
    EXPECT_TRUE(curveRow(120, 2, 298));
    EXPECT_EQ(window->txtTerm->text(), "SUM(2;0)");
}

TEST_F(MainWindow, TermFormatSwitchesKonvertierenWithoutTouchingItsMark)
{
    openWindow();
    window->chkAutoConvert->setChecked(true);
    window->optTermFormat[1]->click();
    EXPECT_FALSE(window->chkAutoConvert->isEnabled());
    EXPECT_TRUE(window->chkAutoConvert->isChecked());
    window->optTermFormat[0]->click();
    EXPECT_TRUE(window->chkAutoConvert->isEnabled());
}

TEST_F(MainWindow, CurvesAccumulateAndMoveWithTheCentre)
{
    openWindow();
    draw("2");
    draw("3");
    EXPECT_TRUE(curveRow(120, 2, 298));
    EXPECT_TRUE(curveRow(105, 2, 298));
    window->txtScreenCentralX->setText("1");
    draw("3");
    EXPECT_EQ(GraphSettings.ScreenCentralX, 1);
    EXPECT_TRUE(curveRow(120, 2, 298)); // drawn again in the new view
    EXPECT_TRUE(curveRow(105, 2, 298));
    EXPECT_EQ(pixel(135, 10), QColor(128, 128, 128)); // the y axis one unit left
}

TEST_F(MainWindow, ImmerLoeschenErasesEarlierCurvesAndQuickOptionsStayOutOfTheStore)
{
    openWindow();
    draw("2");
    window->chkAlwaysDelete->setChecked(true);
    window->txtPrecision->setText("0,5");
    window->txtScreenCentralY->setText("1");
    draw("3");
    EXPECT_TRUE(GraphSettings.AlwaysDeleteGraph);
    EXPECT_EQ(GraphSettings.ScreenCentralY, 1);
    draw("4"); // the centre is as before, so only "Immer löschen" erases
    EXPECT_EQ(pixel(2, 105), lw::testing::CurveColour);
    EXPECT_NE(pixel(2, 120), lw::testing::CurveColour);
    EXPECT_EQ(store.size(), 0u); // only "Speichern" in the settings dialog writes the store
}

TEST_F(MainWindow, AFractionalCentreIsRoundedAndRedrawsEveryTime)
{
    openWindow();
    window->txtScreenCentralX->setText("2,5");
    draw("2");
    EXPECT_EQ(GraphSettings.ScreenCentralX, 2);
    draw("3");
    EXPECT_TRUE(curveRow(120, 2, 298)); // 2,5 differs from 2 again: the curves are drawn anew
}

TEST_F(MainWindow, RefusesWhatCannotBeDrawn)
{
    // Longer than a formula text may be, in either notation.
    const std::string overlong = "SUM(" + std::string(32800, '1') + ")";
    // Fits, but not once each x is a number text.
    std::string manyX = "SUM(x";
    for (int i = 1; i < 10000; ++i)
        manyX += ";x";
    manyX += ")";
    const struct {
        const char *term;
        const char *precision;
        const char *centre;
        const char *title;
        const char *text;
        bool kzn = false;
    } cases[] = {
        {overlong.c_str(), "0,1", "0", "Fehler",
         "Die Funktionsgleichung kann nicht umgewandelt werden."},
        {overlong.c_str(), "0,1", "0", "Fehler", "FEHLER: Überlauf", true},
        {"   ", "0,1", "0", "Linienwerk", "Bitte geben Sie erst eine Funktionsgleichung ein."},
        {"2*(x+1", "0,1", "0", "Fehler", "Die Funktionsgleichung kann nicht umgewandelt werden."},
        {"2*FOO(x)", "0,1", "0", "Fehler", "\nUnbekannter Name: 'FOO' an Stelle 3"},
        {"SUM)(", "0,1", "0", "Fehler", "\nKeine KZN-Formel: 'SUM)('", true},
        // The plotter's own refusal, shown by the window.
        {manyX.c_str(), "0,1", "0", "Fehler", "FEHLER: Überlauf", true},
        {"2", "abc", "0", "Fehler", "Genauigkeit:"},
        {"2", "0", "0", "Fehler", "Genauigkeit:"},
        {"2", "-0,1", "0", "Fehler", "Genauigkeit:"},
        {"2", "0,0000001", "0", "Fehler", "Genauigkeit:"},
        {"2", "0,1", "40000", "Fehler", "Mittelpunkt:"},
        {"2", "0,1", "zwei", "Fehler", "Mittelpunkt:"},
    };
    for (const auto &c : cases) {
        openWindow();
        messages.clear();
        const GraphSettingsRecord before = GraphSettings;
        window->txtPrecision->setText(c.precision);
        window->txtScreenCentralX->setText(c.centre);
        window->txtTerm->setMaxLength(40000);
        window->optTermFormat[c.kzn ? 1 : 0]->click();
        draw(QString::fromUtf8(c.term));
        ASSERT_EQ(messages.size(), 1u)
            << std::string_view(c.term).substr(0, 20) << " " << c.precision << " " << c.centre;
        EXPECT_EQ(messages[0].title, c.title);
        EXPECT_TRUE(messages[0].text.contains(QString::fromUtf8(c.text)))
            << messages[0].text.toStdString();
        EXPECT_EQ(GraphSettings, before);
        EXPECT_FALSE(curveRow(120, 2, 10));
        EXPECT_EQ(window->cmdDraw->text(), "Zeichnen");
        EXPECT_FALSE(DrawInProgress());
    }
}

TEST_F(MainWindow, StopKeepsThePartDrawnAndTheNextDrawStartsAfresh)
{
    openWindow();
    window->txtPrecision->setText("0,00001"); // two million samples
    WhenReady stop(
        "a draw under way", [this] { return drawUnderWay(); },
        [this] {
            EXPECT_EQ(window->cmdDraw->text(), "Stop");
            window->cmdDraw->click();
            EXPECT_EQ(window->cmdDraw->text(), "Zeichnen");
        });
    draw("2");
    ASSERT_TRUE(stop.answered());
    EXPECT_FALSE(DrawInProgress());
    EXPECT_FALSE(StopRequested());
    EXPECT_EQ(window->cmdDraw->text(), "Zeichnen");
    EXPECT_EQ(pixel(3, 120), lw::testing::CurveColour);
    EXPECT_NE(pixel(297, 120), lw::testing::CurveColour);
}

TEST_F(MainWindow, EscStopsARunningDrawAndOtherwiseDoesNothing)
{
    openWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->txtTerm->setText("2");
    QTest::keyClick(window->txtTerm, Qt::Key_Escape);
    EXPECT_FALSE(curveRow(120, 2, 10)); // no draw started

    window->txtPrecision->setText("0,00001");
    WhenReady stop(
        "a draw under way", [this] { return drawUnderWay(); },
        [this] {
            QTest::keyClick(window->txtTerm, Qt::Key_Escape);
            EXPECT_EQ(window->cmdDraw->text(), "Zeichnen");
        });
    window->cmdDraw->click();
    ASSERT_TRUE(stop.answered());
    EXPECT_FALSE(DrawInProgress());
    EXPECT_FALSE(StopRequested());
    EXPECT_NE(pixel(297, 120), lw::testing::CurveColour);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindow, CloseDuringADrawStopsItAndThenCloses)
{
    openWindow();
    window->txtPrecision->setText("0,00001");
    // Ctrl+Q closes as the window's close button does.
    WhenReady close(
        "a draw under way", [this] { return drawUnderWay(); },
        [this] { QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier); });
    draw("2");
    ASSERT_TRUE(close.answered());
    EXPECT_FALSE(DrawInProgress());
    EXPECT_NE(pixel(297, 120), lw::testing::CurveColour);
    waitUntil([this] { return !window->isVisible(); }, "the window to close");
}

TEST_F(MainWindow, EraseAndResizeDuringADrawRedrawTheAxesAndTheCurveGoesOn)
{
    openWindow();
    window->txtPrecision->setText("0,00001");
    WhenReady eraseAndResize(
        "a draw under way", [this] { return drawUnderWay(); },
        [this] {
            window->toolbarAction("EraseGraphs")->trigger();
            window->resize(window->width() + 40, window->height() + 40);
        });
    draw("2");
    ASSERT_TRUE(eraseAndResize.answered());
    EXPECT_FALSE(DrawInProgress());
    EXPECT_EQ(window->cmdDraw->text(), "Zeichnen");
    const PlotGeometry &screen = ScreenPicture().geometry;
    EXPECT_EQ(screen.GraphWidth, window->picGraph->surface().size().width());
    // The rest of the curve lands on the redrawn picture.
    EXPECT_EQ(pixel(screen.GraphWidth - 3, screen.CentralPixelY - 2 * screen.PixelsPerUnitY),
              lw::testing::CurveColour);
}

TEST_F(MainWindow, DrawPressedWhileAStoppedDrawUnwindsRunsAfterwards)
{
    openWindow();
    window->txtPrecision->setText("0,00001");
    WhenReady stopAndDrawAgain(
        "a draw under way", [this] { return drawUnderWay(); },
        [this] {
            window->cmdDraw->click(); // stop
            window->txtPrecision->setText("0,1");
            window->txtTerm->setText("3");
            window->cmdDraw->click(); // draw again while the first unwinds
        });
    draw("2");
    ASSERT_TRUE(stopAndDrawAgain.answered());
    EXPECT_FALSE(curveRow(105, 2, 298)) << "the second draw ran inside the first";
    waitUntil([this] { return curveRow(105, 2, 298) && !DrawInProgress(); }, "the second draw");
    EXPECT_EQ(window->cmdDraw->text(), "Zeichnen");
}

} // namespace
