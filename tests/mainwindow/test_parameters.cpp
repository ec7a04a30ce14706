// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter rows' sliders, the live redraw, families of curves and the notes on parameters
// that count as 0.

#include "mainwindowtesting.h"

#include "gph/cdlload.h"
#include "gph/worksheet.h"
#include "graph/curvelist.h"
#include "graph/family.h"
#include "mainwindow/frmparameterrange.h"
#include "mainwindow/variablespanel.h"
#include "tests/support/modalanswer.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

using namespace lw;
using lw::testing::MainWindow;
using lw::testing::ModalAnswer;
using lw::testing::waitUntil;

namespace {

class Parameters : public MainWindow {
protected:
    VariablesPanel &panel() { return *window->picVariables; }
    std::vector<CurveEntry> &curves() { return ScreenPicture().curves; }
    bool upToDate()
    {
        return waitUntil([this] { return window->PictureUpToDate(); }, "the picture drawn");
    }
};

TEST_F(Parameters, SliderAndValueBoxFollowEachOther)
{
    openWindow();
    struct Row {
        ParameterRange range;
        int position;
        const char *text;
    } const rows[] = {
        {{}, 0, "-5"},
        {{}, 73, "2,3"},
        {{}, 100, "5"},
        {{-2, 2, 0.25}, 3, "-1,25"},
        {{0.05, 1, 0.1}, 2, "0,25"},
    };
    for (const Row &row : rows) {
        panel().setRange(0, row.range);
        panel().sldVarValue[0]->setValue(row.position);
        EXPECT_EQ(panel().txtVarValue[0]->text(), row.text);
        panel().sldVarValue[0]->setValue(row.position == 0 ? 1 : 0);
        panel().txtVarValue[0]->setText(row.text); // typed back, the slider returns
        EXPECT_EQ(panel().sldVarValue[0]->value(), row.position) << row.text;
    }
    panel().txtVarValue[0]->setText("99"); // beyond the range: the slider's end
    EXPECT_EQ(panel().sldVarValue[0]->value(), panel().sldVarValue[0]->maximum());
}

TEST_F(Parameters, MovingOrTypingTicksTheRowAndSwitchesEditModeOn)
{
    openWindow();
    ASSERT_FALSE(panel().isEnabled());
    panel().sldVarValue[2]->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_TRUE(panel().isEnabled());
    EXPECT_TRUE(window->toolbarAction("VariableEdit")->isChecked());
    EXPECT_TRUE(panel().chkVarName[2]->isChecked());
    EXPECT_EQ(panel().txtVarValue[2]->text(), "0,1"); // one step on from where 0 stands

    panel().txtVarValue[3]->selectAll();
    QTest::keyClicks(panel().txtVarValue[3], "1,5");
    EXPECT_TRUE(panel().chkVarName[3]->isChecked());
    QTest::keyClicks(panel().txtVarValue[3], "x");
    EXPECT_FALSE(panel().txtVarValue[3]->styleSheet().isEmpty());
    EXPECT_TRUE(panel().txtVarValue[3]->toolTip().contains("keine Zahl"));
}

TEST_F(Parameters, ASliderRedrawsTheNewestCurveInItsPlace)
{
    openWindow();
    draw("x");
    draw("a*x^2");
    ASSERT_TRUE(upToDate());
    const uint64_t before = curves().back().id;
    const QImage flat = window->picGraph->surface().image();
    panel().sldVarValue[0]->setValue(70); // a = 2
    ASSERT_TRUE(upToDate());
    ASSERT_EQ(curves().size(), 2u);
    EXPECT_NE(curves().back().id, before);
    EXPECT_EQ(curves().back().formula, u"PRO(2;POT(x;2))");
    EXPECT_NE(window->picGraph->surface().image(), flat);
    // Every position of a drag: the last one wins, and the list stays as long.
    for (int position = 0; position <= 100; position += 5)
        panel().sldVarValue[0]->setValue(position);
    ASSERT_TRUE(upToDate());
    EXPECT_EQ(curves().size(), 2u);
    EXPECT_EQ(curves().back().parameters.values[0], u"5");
}

TEST_F(Parameters, AFamilyDrawsOneCurveForEachValueInPaletteColours)
{
    openWindow();
    window->txtTerm->setText("a*x^2");
    ModalAnswer<FrmParameterRange> answer([](FrmParameterRange *dialog) {
        dialog->txtFrom->setText("-2");
        dialog->txtTo->setText("2");
        dialog->txtStep->setText("1");
        dialog->cmdOK->click();
    });
    panel().mnuVar[0]->actions()[2]->trigger();
    ASSERT_TRUE(answer.answered());
    ASSERT_TRUE(upToDate());
    ASSERT_EQ(curves().size(), 5u);
    const std::u16string legends[] = {u"a = -2", u"a = -1", u"a = 0", u"a = 1", u"a = 2"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(curves()[i].colour, FamilyPalette[i]);
        EXPECT_EQ(curves()[i].legend, legends[i]);
    }
    // A slider moved after the family moves a curve beside it; every member keeps its value.
    for (const int position : {10, 20}) { // a = -4, a = -3
        panel().sldVarValue[0]->setValue(position);
        ASSERT_TRUE(upToDate());
        ASSERT_EQ(curves().size(), 6u);
        EXPECT_TRUE(curves().back().legend.empty());
        EXPECT_EQ(curves().back().parameters.values[0], position == 10 ? u"-4" : u"-3");
        EXPECT_EQ(curves()[4].formula, u"PRO(2;POT(x;2))");
    }
}

TEST_F(Parameters, ADrawSaysWhichParametersCountAsZero)
{
    openWindow();
    struct Row {
        const char *equation;
        bool editMode;
        const char *aValue; // a ticked with this value; nullptr: a not ticked
        const char *status;
    } const rows[] = {
        {"a*x", false, "2", "Hinweis: a ist nicht gesetzt und zählt als 0."},
        {"a*x+b+c", true, "2", "Hinweis: b und c sind nicht gesetzt und zählen als 0."},
        {"e^x", true, "2",
         "Hinweis: e ist nicht gesetzt und zählt als 0. e ist ein Parameter; für die Eulersche "
         "Zahl schreiben Sie exp(x)."},
        {"a*x", true, "zwei", "Hinweis: Der Wert von a ist keine Zahl."},
        {"a*x", true, "2", ""},
        {"exp(x)", false, nullptr, ""},
    };
    for (const Row &row : rows) { // each draw's notes replace those of the one before
        panel().setEnabled(row.editMode);
        panel().chkVarName[0]->setChecked(row.aValue != nullptr);
        panel().txtVarValue[0]->setText(row.aValue ? row.aValue : "0");
        draw(row.equation);
        EXPECT_EQ(status(), row.status) << row.equation;
    }
}

TEST_F(Parameters, AnEmptiedValueIsZero)
{
    openWindow();
    window->toolbarAction("VariableEdit")->trigger();
    panel().chkVarName[0]->setChecked(true);
    panel().txtVarValue[0]->clear();
    emit panel().txtVarValue[0]->editingFinished(); // as leaving the box does
    EXPECT_EQ(panel().txtVarValue[0]->text(), "0");
    panel().txtVarValue[0]->clear();
    draw("x^a"); // x^0, not x
    EXPECT_EQ(curves().back().formula, u"POT(x;0)");
}

TEST_F(Parameters, AWorksheetKeepsThePictureAsItWas)
{
    QTemporaryDir folder;
    openWindow();
    panel().setRange(1, {0, 4, 0.5});
    panel().sldVarValue[1]->setValue(3); // b = 1,5
    draw("b*x");
    window->DrawFamily(0, {-1, 1, 1});
    window->txtTerm->setText("a*x^2+b");
    const Worksheet before = window->CurrentWorksheet();
    CdlLoad::TestAnswer = [&](const FileDialogRequest &request) {
        const bool saving = request.mode == FileDialogRequest::Mode::Save;
        return std::optional<FileDialogChoice>(
            {folder.filePath(saving ? "blatt" : "blatt.lwa"), CdlLoad::WorksheetFilter});
    };
    window->toolbarAction("Save")->trigger(); // the filter gives the name its extension
    ASSERT_TRUE(QFile::exists(folder.filePath("blatt.lwa")));

    window->toolbarAction("EraseGraphs")->trigger();
    window->toolbarAction("VariableEdit")->trigger();
    panel().setRange(1, {});
    window->txtTerm->setText("x");
    window->toolbarAction("Load")->trigger();
    CdlLoad::TestAnswer = nullptr;
    ASSERT_TRUE(upToDate());
    const Worksheet after = window->CurrentWorksheet();
    EXPECT_EQ(after.equation, before.equation);
    EXPECT_EQ(after.parameters.values, before.parameters.values);
    EXPECT_EQ(after.parameters.editMode, before.parameters.editMode);
    EXPECT_EQ(after.ranges, before.ranges);
    ASSERT_EQ(after.curves.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(after.curves[i].formula, before.curves[i].formula);
        EXPECT_EQ(after.curves[i].legend, before.curves[i].legend);
        EXPECT_EQ(after.curves[i].colour, before.curves[i].colour);
    }
}

TEST_F(Parameters, AnAnimationRunsUntilEsc)
{
    openWindow();
    draw("a*x");
    panel().mnuVar[0]->actions()[1]->trigger();
    const int start = panel().sldVarValue[0]->value();
    ASSERT_TRUE(waitUntil([&] { return panel().sldVarValue[0]->value() > start + 2; },
                          "the animation moving"));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(panel().animating());
    EXPECT_FALSE(panel().mnuVar[0]->actions()[1]->isChecked());
}

TEST(ParameterRangeTexts, SpeltAsTheValueTableAndWithGroupedThousands)
{
    const struct {
        ParameterRange range;
        const char *refusal;
    } rows[] = {
        {{2, 1, 1}, "„Von“ muss kleiner sein als „Bis“."},
        {{0, 1, 0}, "Die Schrittweite muss größer als 0 sein."},
        {{0, 1, 1e-6}, "Die Schrittweite ist zu fein: der Regler hätte mehr als 100 000 Stellungen."},
        {{0, 1, 0.5}, ""},
    };
    for (const auto &row : rows)
        EXPECT_EQ(RangeRefusal(row.range), QString::fromUtf8(row.refusal));
    FrmParameterRange dialog(nullptr, 0, FrmParameterRange::Purpose::Family, {0, 1, 1});
    QStringList captions;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        captions << label->text();
    EXPECT_TRUE(captions.contains("Von:") && captions.contains("Bis:")) << captions.join(' ').toStdString();
}

} // namespace
