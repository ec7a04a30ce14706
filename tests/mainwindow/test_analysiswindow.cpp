// SPDX-License-Identifier: GPL-3.0-or-later
// The curve analysis in the window: its points, marks on the picture, the derivative drawn, the
// value table and the trace.

#include "mainwindowtesting.h"

#include "mainwindow/frmanalysis.h"
#include "mainwindow/frmvaluetable.h"
#include "mainwindow/picturemenu.h"
#include "tests/support/modalanswer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace lw;
using lw::testing::waitUntil;

namespace {

class AnalysisWindow : public lw::testing::MainWindow {};

QStringList column(const QTableWidget &table, int column)
{
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row)
        texts << table.item(row, column)->text();
    return texts;
}

TEST_F(AnalysisWindow, PointsMarksDerivativeTableAndTrace)
{
    openWindow();
    draw("x^2-4");
    window->toolbarAction("CurveAnalysis")->trigger();
    auto *analysis = window->findChild<FrmAnalysis *>("frmAnalysis");
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
    EXPECT_TRUE(waitUntil([this] { return window->lblPointer->text() == "f(1) = 2"; }, "trace"));
    ASSERT_TRUE(window->picGraph->cross());
    EXPECT_EQ(window->picGraph->cross()->y(), g.CentralPixelY - 2 * g.PixelsPerUnitY);

    window->toolbarAction("EraseGraphs")->trigger();
    EXPECT_TRUE(ScreenPicture().marks.empty());
    EXPECT_EQ(analysis->tblPoints->rowCount(), 0);
}

} // namespace
