// SPDX-License-Identifier: GPL-3.0-or-later
// Marks through redraws, undo and redo of the curve list from every place, and the question on
// closing with curves not saved.

#include "mainwindowtesting.h"

#include "gph/cdlload.h"
#include "mainwindow/frmanalysis.h"
#include "mainwindow/frmcurves.h"
#include "mainwindow/variablespanel.h"
#include "tests/support/modalanswer.h"
#include "widgets/messages.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QListWidget>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace lw;
using lw::testing::waitUntil;

namespace {

class UndoRedo : public lw::testing::MainWindow {
protected:
    // The bluish pixels of a mark's label, which stands right above the marked point.
    int labelPixels(const PointMark &mark)
    {
        const PlotGeometry &g = ScreenPicture().geometry;
        const auto cx = int(std::lround(
            g.CentralPixelX + (mark.x - GraphSettings.ScreenCentralX) * g.PixelsPerUnitX));
        const auto cy = int(std::lround(
            g.CentralPixelY - (mark.y - GraphSettings.ScreenCentralY) * g.PixelsPerUnitY));
        int count = 0;
        for (int x = cx + 5; x < cx + 45; ++x)
            for (int y = cy - 16; y < cy - 2; ++y)
                if (const QColor c = pixel(x, y); c.blue() - std::max(c.red(), c.green()) > 40)
                    ++count;
        return count;
    }
    bool redrawn()
    {
        return waitUntil([this] { return window->PictureUpToDate(); }, "a redraw");
    }
    QStringList drawn() const
    {
        QStringList typed;
        for (const CurveEntry &entry : ScreenPicture().curves)
            typed << QString::fromStdU16String(entry.typed) + (entry.visible ? "" : " hidden");
        return typed;
    }
    void press(QWidget *widget, QKeyCombination keys)
    {
        widget->window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(widget->window()));
        widget->setFocus();
        QTest::keyClick(widget, keys.key(), keys.keyboardModifiers());
    }
};

TEST_F(UndoRedo, AMarkStaysThroughEveryRedrawAndGoesAndComesBackWithItsCurve)
{
    openWindow();
    draw("x^2-4");
    window->toolbarAction("CurveAnalysis")->trigger();
    auto *analysis = window->findChild<FrmAnalysis *>("frmAnalysis");
    ASSERT_TRUE(analysis);
    analysis->tblPoints->cellClicked(1, 1); // N(-2 | 0)
    ASSERT_EQ(ScreenPicture().marks.size(), 1u);
    const PointMark mark = ScreenPicture().marks[0];
    ASSERT_GT(labelPixels(mark), 5);

    const QSize small = window->picGraph->surface().size();
    window->resize(window->width() + 60, window->height() + 60);
    ASSERT_TRUE(waitUntil([&] { return window->picGraph->surface().size() != small; }, "resize"));
    ASSERT_TRUE(redrawn());
    EXPECT_GT(labelPixels(mark), 5) << "after a resize";

    QTest::keyClick(window->picGraph, Qt::Key_Plus);
    ASSERT_TRUE(redrawn());
    EXPECT_GT(labelPixels(mark), 5) << "after a zoom";

    analysis->cmdDrawDerivative->click();
    ASSERT_TRUE(redrawn());
    EXPECT_GT(labelPixels(mark), 5) << "after the derivative";

    // A slider changes the newest curve, y = a below the axis; the mark of x^2-4 stays.
    VariablesPanel &panel = *window->picVariables;
    window->toolbarAction("VariableEdit")->trigger();
    panel.chkVarName[0]->setChecked(true);
    panel.txtVarValue[0]->setText("-3");
    draw("a");
    panel.sldVarValue[0]->setValue(10);
    ASSERT_TRUE(redrawn());
    EXPECT_EQ(ScreenPicture().curves.back().parameters.values[0], u"-4");
    EXPECT_GT(labelPixels(mark), 5) << "after a slider move";

    window->toolbarAction("EraseGraphs")->trigger();
    EXPECT_TRUE(ScreenPicture().marks.empty());
    window->Undo();
    ASSERT_TRUE(redrawn());
    EXPECT_EQ(ScreenPicture().marks, std::vector<PointMark>{mark});
    EXPECT_GT(labelPixels(mark), 5) << "after the erase was undone";
}

TEST_F(UndoRedo, KeysListAndToolbarUndoAndRedoEveryChangeOfTheList)
{
    openWindow();
    draw("2");
    draw("3");
    QTest::keyClick(window->txtTerm, Qt::Key_End);
    QTest::keyClicks(window->txtTerm, "4");
    window->toolbarAction("CurveList")->trigger();
    auto *list = window->findChild<FrmCurves *>("frmCurves");
    ASSERT_TRUE(list);
    const QKeyCombination undo(Qt::CTRL, Qt::Key_Z), redo(Qt::CTRL | Qt::SHIFT, Qt::Key_Z),
        redoY(Qt::CTRL, Qt::Key_Y), del(Qt::Key_Delete);
    QWidget *field = window->txtTerm, *picture = window->picGraph, *rows = list->lstCurves;
    const auto button = [this](const char *key) {
        window->toolbarAction(key)->trigger();
    };
    const struct {
        std::function<void()> act;
        QStringList curves;
        QString term;
    } steps[] = {
        {[&] { press(field, undo); }, {"2", "3"}, "3"}, // the field's own undo first
        {[&] { press(field, undo); }, {"2"}, "3"},      // then the list's
        {[&] { press(field, redo); }, {"2"}, "34"},
        {[&] { press(field, redoY); }, {"2", "3"}, "34"},
        {[&] { press(picture, undo); }, {"2"}, "34"},
        {[&] { press(picture, redo); }, {"2", "3"}, "34"},
        {[&] { list->lstCurves->setCurrentRow(0), press(rows, del); }, {"3"}, "34"},
        {[&] { list->cmdUndo->click(); }, {"2", "3"}, "34"},
        {[&] { press(rows, redoY); }, {"3"}, "34"},
        {[&] { press(rows, undo); }, {"2", "3"}, "34"},
        {[&] { list->lstCurves->item(1)->setCheckState(Qt::Unchecked); }, {"2", "3 hidden"}, "34"},
        {[&] { button("Undo"); }, {"2", "3"}, "34"},
        {[&] { button("EraseGraphs"); }, {}, "34"},
        {[&] { button("Undo"); }, {"2", "3"}, "34"},
        {[&] { button("Redo"); }, {}, "34"},
        {[&] { button("Undo"); }, {"2", "3"}, "34"},
        {[&] { window->chkAlwaysDelete->setChecked(true), draw("5"); }, {"5"}, "5"},
        {[&] { press(picture, undo); }, {"2", "3"}, "5"}, // the clearing and the curve: one step
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        steps[i].act();
        ASSERT_TRUE(redrawn());
        EXPECT_EQ(drawn(), steps[i].curves);
        EXPECT_EQ(window->txtTerm->text(), steps[i].term);
    }
    const PlotGeometry &g = ScreenPicture().geometry;
    EXPECT_EQ(pixel(g.CentralPixelX + 20, g.CentralPixelY - 2 * g.PixelsPerUnitY),
              lw::testing::CurveColour);
    EXPECT_TRUE(list->cmdRedo->isEnabled() && list->cmdUndo->isEnabled());
}

TEST_F(UndoRedo, ClosingWithCurvesNotSavedAsksAndEachAnswerDoesItsPart)
{
    QTemporaryDir folder;
    std::optional<int> answer;
    QStringList asked;
    InstallChoiceHook([&](const Message &question, const QStringList &answers) {
        asked << question.text;
        EXPECT_EQ(answers, QStringList({"Speichern", "Nicht speichern", "Abbrechen"}));
        return answer.value_or(-1);
    });
    std::optional<QString> fileChosen;
    QStringList filtersOffered;
    CdlLoad::TestAnswer = [&](const FileDialogRequest &request) -> std::optional<FileDialogChoice> {
        filtersOffered = request.nameFilters;
        if (!fileChosen)
            return std::nullopt;
        return FileDialogChoice(*fileChosen, request.nameFilters.value(0));
    };
    const QString sheet = folder.filePath("blatt");
    const auto saved = [&] {
        window->cdlLoad->SetFileName(sheet + ".lwa"), window->SaveFile();
    };
    const auto opened = [&] {
        window->LoadFileNamed(sheet + ".lwa");
    };
    const struct {
        const char *what;
        std::function<void()> before;
        std::optional<int> answer; // none: not asked
        std::optional<QString> file;
        bool closes;
    } cases[] = {
        {"nothing drawn", [] {}, {}, {}, true},
        {"not saved", [&] { draw("2"); }, 1, {}, true},
        {"cancelled", [&] { draw("2"); }, 2, {}, false},
        {"save dialog cancelled", [&] { draw("2"); }, 0, {}, false},
        {"saved on closing", [&] { draw("2"); }, 0, sheet, true},
        {"saved before", [&] { draw("3"), saved(); }, {}, {}, true},
        {"opened", opened, {}, {}, true},
        {"opened, then drawn", [&] { opened(), draw("4"); }, 1, {}, true},
        {"opened, drawn and undone", [&] { opened(), draw("4"), window->Undo(); }, {}, {}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        openWindow();
        c.before();
        asked.clear();
        filtersOffered.clear();
        answer = c.answer;
        fileChosen = c.file;
        window->close();
        EXPECT_EQ(asked, c.answer ? QStringList{UnsavedCurvesQuestion} : QStringList{});
        EXPECT_EQ(window->isVisible(), !c.closes);
        if (c.answer == 0) {
            EXPECT_EQ(filtersOffered, QStringList{CdlLoad::WorksheetFilter});
        }
    }
    EXPECT_TRUE(QFileInfo::exists(sheet + ".lwa"));
    InstallChoiceHook({});
    CdlLoad::TestAnswer = nullptr;
}

} // namespace
