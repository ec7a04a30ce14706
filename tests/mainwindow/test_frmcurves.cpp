// The "Kurven" window: the picture's curves as rows that hide, delete and give back their equation.

#include "mainwindowtesting.h"

#include "mainwindow/variablespanel.h"
#include "tests/support/modalanswer.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

using namespace lw;
using lw::testing::waitUntil;

namespace {

using Curves = lw::testing::MainWindow;

TEST_F(Curves, RowsHideDeleteAndRestoreTheirEquation)
{
    openWindow();
    const auto shows = [this](int value) { // the curve y = value, right of the centre
        const PlotGeometry &g = ScreenPicture().geometry;
        return pixel(g.CentralPixelX + 3 * g.PixelsPerUnitX,
                     g.CentralPixelY - value * g.PixelsPerUnitY)
               == lw::testing::CurveColour;
    };
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
    const auto rows = [list] {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    };
    EXPECT_EQ(rows(), QStringList({"a", "SUM(1;2)"}));

    list->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(waitUntil([&] { return !DrawInProgress() && shows(2) && !shows(3); },
                          "the unticked curve gone"));

    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(rows(), QStringList({"a"}));

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

} // namespace
