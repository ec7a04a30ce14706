// SPDX-License-Identifier: GPL-3.0-or-later
// The curve analysis in the window: its points, marks on the picture, the derivative drawn, the
// value table and the trace.

#include "mainwindowtesting.h"

#include "help/frmhelp.h"
#include "mainwindow/frmanalysis.h"
#include "mainwindow/frmvaluetable.h"
#include "mainwindow/picturemenu.h"
#include "tests/support/modalanswer.h"
#include "widgets/ownwindows.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>

using namespace lw;
using lw::testing::waitUntil;

namespace {

class AnalysisWindow : public lw::testing::MainWindow {
protected:
    // The analysis window over a picture that shows `term`.
    FrmAnalysis *openAnalysis(const char *term)
    {
        openWindow();
        draw(term);
        window->toolbarAction("CurveAnalysis")->trigger();
        return window->findChild<FrmAnalysis *>("frmAnalysis");
    }
};

QStringList column(const QTableWidget &table, int column)
{
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row)
        texts << table.item(row, column)->text();
    return texts;
}

TEST_F(AnalysisWindow, PointsMarksDerivativeTableAndTrace)
{
    FrmAnalysis *analysis = openAnalysis("x^2-4");
    ASSERT_TRUE(analysis && analysis->isVisible());
    EXPECT_EQ(analysis->lblFirst->text(), QStringLiteral("2*x"));
    EXPECT_EQ(column(*analysis->tblPoints, 1),
              QStringList({"Sy(0 | -4)", "N(-2 | 0)", "N(2 | 0)", "T(0 | -4)"}));

    analysis->tblPoints->cellClicked(1, 1);
    analysis->tblPoints->cellClicked(1, 1); // once is enough
    ASSERT_EQ(ScreenPicture().marks.size(), 1u);
    EXPECT_EQ(ScreenPicture().marks[0].x, -2);

    analysis->chkSecond->setChecked(true);
    analysis->cmdDrawDerivative->click();
    ASSERT_EQ(ScreenPicture().curves.size(), 3u);
    EXPECT_EQ(ScreenPicture().curves[2].formula, u"PRO(2;1)");
    EXPECT_EQ(analysis->cboCurve->count(), 3);

    analysis->cmdValueTable->click();
    auto *table = window->findChild<FrmValueTable *>("frmValueTable");
    ASSERT_TRUE(table);
    table->txtFrom->setText("-1");
    table->txtTo->setText("1");
    table->txtStep->setText("0,5");
    table->chkSlope->setChecked(true); // fills anew
    table->cmdCopy->click();
    EXPECT_EQ(QApplication::clipboard()->text(),
              "x\tf(x)\tf'(x)\n-1\t-3\t-2\n-0,5\t-3,75\t-1\n0\t-4\t0\n0,5\t-3,75\t1\n1\t-3\t2\n");

    // The trace follows the newest visible curve: f'' = 2 is hidden, f' = 2x shows.
    ScreenPicture().curves[2].visible = false;
    window->mnuPicture->actTrace->setChecked(true);
    const PlotGeometry &g = ScreenPicture().geometry;
    QTest::mouseMove(window->picGraph, QPoint(g.CentralPixelX + g.PixelsPerUnitX, 10));
    EXPECT_TRUE(
        waitUntil([this] { return window->lblPointer->text() == "2*x: f(1) = 2"; }, "trace"));
    ASSERT_TRUE(window->picGraph->cross());
    EXPECT_EQ(window->picGraph->cross()->y(), g.CentralPixelY - 2 * g.PixelsPerUnitY);

    window->toolbarAction("EraseGraphs")->trigger();
    EXPECT_TRUE(ScreenPicture().marks.empty());
    EXPECT_EQ(analysis->tblPoints->rowCount(), 0);
}

TEST_F(AnalysisWindow, TheTraceShowsTheValueAtTheXItShows)
{
    openWindow();
    draw("x^2 - 2");
    window->mnuPicture->actTrace->setChecked(true);
    const PlotGeometry &g = ScreenPicture().geometry;
    const QLocale german;
    for (int column = 0; column < std::min<int>(g.GraphWidth, window->picGraph->width());
         ++column) {
        QTest::mouseMove(window->picGraph, QPoint(column, 10));
        const QStringList parts = window->lblPointer->text().split(QRegularExpression("[()=]"));
        ASSERT_EQ(parts.size(), 4) << column << ": " << window->lblPointer->text().toStdString();
        EXPECT_EQ(parts[0], "x^2 - 2: f");
        const double x = german.toDouble(parts[1]);
        const double y = german.toDouble(parts[3].trimmed());
        // The value is rounded to hundredths at most; single precision adds less than that.
        EXPECT_NEAR(y, x * x - 2, 0.0051) << window->lblPointer->text().toStdString();
    }
}

TEST_F(AnalysisWindow, KeysMarkARowAndEscClosesTheWindowsWhichOpenBesideTheMainWindow)
{
    FrmAnalysis *analysis = openAnalysis("x^2-4");
    ASSERT_TRUE(analysis && analysis->isVisible());
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        analysis->tblPoints->setCurrentCell(key == Qt::Key_Return ? 1 : 2, 1);
        QTest::keyClick(analysis->tblPoints, key);
    }
    ASSERT_EQ(ScreenPicture().marks.size(), 2u);
    EXPECT_EQ(ScreenPicture().marks[1].x, 2);
    EXPECT_FALSE(analysis->frameGeometry().intersects(window->frameGeometry()));

    analysis->move(analysis->pos() + QPoint(0, 40)); // where the pupil puts it
    const QPoint placed = analysis->pos();
    analysis->cmdValueTable->click();
    auto *table = window->findChild<FrmValueTable *>("frmValueTable");
    ASSERT_TRUE(table && table->isVisible());
    for (QWidget *own :
         {static_cast<QWidget *>(table->tblValues), static_cast<QWidget *>(analysis->tblPoints)}) {
        own->setFocus();
        QTest::keyClick(own, Qt::Key_Escape);
        EXPECT_FALSE(own->window()->isVisible()) << own->window()->objectName().toStdString();
    }
    window->toolbarAction("CurveAnalysis")->trigger();
    EXPECT_EQ(analysis->pos(), placed);

    auto *help = new FrmHelp(window.get());
    help->show();
    help->txtHelp->setFocus();
    QTest::keyClick(help->txtHelp, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
}

TEST(OwnWindows, PlaceBesideTheOwnerWhereTheScreenHasRoom)
{
    const QRect screen(0, 0, 1000, 800);
    const QSize size(300, 200);
    const struct {
        QRect owner;
        QPoint expected;
    } rows[] = {
        {{100, 100, 400, 400}, {508, 100}}, // right of it
        {{600, 100, 400, 400}, {292, 100}}, // no room right: left
        {{0, 0, 900, 400}, {0, 408}},       // below
        {{0, 300, 900, 500}, {0, 92}},      // above
        {{0, 0, 1000, 800}, {700, 0}},      // no room anywhere: the right edge, on the screen
        {{800, 700, 100, 50}, {492, 600}},  // left, moved up to stay on the screen
    };
    for (const auto &row : rows)
        EXPECT_EQ(PlaceBeside(row.owner, size, screen).topLeft(), row.expected)
            << row.owner.x() << "," << row.owner.y();
}

} // namespace
