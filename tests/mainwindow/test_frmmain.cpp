#include "tests/support/windowtesting.h"

#include "about/frmtitlescreen.h"
#include "assistant/frmfassist.h"
#include "assistant/frmfassist2.h"
#include "mainwindow/startup.h"
#include "mainwindow/variablespanel.h"
#include "settings/frmgraphoptions.h"
#include "tests/support/modalanswer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>

using namespace lw;
using lw::testing::ModalAnswer;
using lw::testing::waitUntil;
using lw::testing::WhenReady;

namespace {

class MainWindow : public lw::testing::WindowTest {
protected:
    void draw(const QString &term)
    {
        window->txtTerm->setText(term);
        window->cmdDraw->click();
    }
    // Whether the curve colour covers row `row` from column `from` to `to`.
    bool curveRow(int row, int from, int to)
    {
        for (int x = from; x <= to; ++x) {
            if (pixel(x, row) != lw::testing::CurveColour)
                return false;
        }
        return true;
    }
    void moveOver(QWidget *widget, QPoint position = QPoint(2, 2))
    {
        QMouseEvent move(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
    QString status() const { return window->sbrMain->currentMessage(); }
    // A draw of "2" has put its first pixels on the picture and is far from its end.
    bool drawUnderWay() { return DrawInProgress && pixel(3, 120) == lw::testing::CurveColour; }
};

TEST_F(MainWindow, StartWithAnEmptyStoreShowsTheNoticeOverTheTitleScreen)
{
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
    EXPECT_EQ(window->cmdDraw->text(), "Draw");
    EXPECT_EQ(status(), "Wilkommen bei ZERANTH Linienwerk 2.0!");
    EXPECT_EQ(window->tbrMain->actions().size(), 13 + 3); // three separators
}

TEST_F(MainWindow, DrawsAConstantAsAHorizontalLine)
{
    openWindow();
    draw("2");
    EXPECT_TRUE(curveRow(120, 2, 298));
    EXPECT_EQ(window->cmdDraw->text(), "Draw");
    EXPECT_FALSE(DrawInProgress);
    EXPECT_FALSE(StopRequested);
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

TEST_F(MainWindow, CurvesAccumulateUntilTheCentreChanges)
{
    openWindow();
    draw("2");
    draw("3");
    EXPECT_TRUE(curveRow(120, 2, 298));
    EXPECT_TRUE(curveRow(105, 2, 298));
    window->txtScreenCentralX->setText("1");
    draw("3");
    EXPECT_EQ(GraphSettings.ScreenCentralX, 1);
    EXPECT_FALSE(curveRow(120, 2, 298)); // erased with the coordinate system
    EXPECT_TRUE(curveRow(105, 2, 298));
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
    EXPECT_FALSE(curveRow(120, 2, 298)); // 2,5 differs from 2 again
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
        EXPECT_EQ(window->cmdDraw->text(), "Draw");
        EXPECT_FALSE(DrawInProgress);
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
            EXPECT_EQ(window->cmdDraw->text(), "Draw");
        });
    draw("2");
    ASSERT_TRUE(stop.answered());
    EXPECT_FALSE(DrawInProgress);
    EXPECT_FALSE(StopRequested);
    EXPECT_EQ(window->cmdDraw->text(), "Draw");
    EXPECT_EQ(pixel(3, 120), lw::testing::CurveColour);
    EXPECT_NE(pixel(297, 120), lw::testing::CurveColour);
}

TEST_F(MainWindow, CloseDuringADrawStopsItAndThenCloses)
{
    openWindow();
    window->txtPrecision->setText("0,00001");
    WhenReady close(
        "a draw under way", [this] { return drawUnderWay(); }, [this] { window->close(); });
    draw("2");
    ASSERT_TRUE(close.answered());
    EXPECT_FALSE(DrawInProgress);
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
    EXPECT_FALSE(DrawInProgress);
    EXPECT_EQ(window->cmdDraw->text(), "Draw");
    EXPECT_EQ(GraphWidth, window->picGraph->surface().size().width());
    // The rest of the curve lands on the redrawn picture.
    EXPECT_EQ(pixel(GraphWidth - 3, CentralPixelY - 2 * PixelsPerUnitY), lw::testing::CurveColour);
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
    waitUntil([this] { return curveRow(105, 2, 298) && !DrawInProgress; }, "the second draw");
    EXPECT_EQ(window->cmdDraw->text(), "Draw");
}

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
    EXPECT_EQ(window->UpdateVariables(formula), u"SUM(PRO(2,5;x);;ABS(h);H)");

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
    EXPECT_EQ(status(), "Wilkommen bei ZERANTH Linienwerk 2.0!");
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
    EXPECT_EQ(status(), "Hier können Sie Variabelwerte ändern.");
    moveOver(window->picOptions, window->fraGraphOptions->geometry().center());
    EXPECT_EQ(status(), "Hier können Sie Variabelwerte ändern."); // over a frame: unchanged

    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->sbrMain, &twice);
    EXPECT_TRUE(window->sbrMain->isHidden());
}

TEST_F(MainWindow, NoControlOverlapsAnotherAfterResizing)
{
    openWindow();
    for (const QSize size :
         {QSize(300, 100), QSize(515, 334), QSize(900, 700), QSize(1600, 1000)}) {
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
        // Square in twips; its pixel edges are rounded one by one.
        EXPECT_LE(std::abs(window->picGraph->width() - window->picGraph->height()), 1);
        EXPECT_EQ(GraphWidth, GraphHeight);
        EXPECT_EQ(GraphWidth, window->picGraph->surface().size().width());
    }
}

TEST_F(MainWindow, MoreAndTheToolbarOpenTheSettingsDialog)
{
    openWindow();
    window->txtPrecision->setText("0,5");
    {
        ModalAnswer<FrmGraphOptions> ok(
            [](FrmGraphOptions *dialog) { dialog->findChild<QPushButton *>("cmdOK")->click(); });
        window->cmdMoreGraphOptions->click();
        EXPECT_TRUE(ok.answered());
    }
    EXPECT_EQ(window->txtPrecision->text(), "0,1"); // OK refreshed the quick options
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

} // namespace
