// SPDX-License-Identifier: GPL-3.0-or-later
// What the parameter rows' sliders and menus do to the picture: the live redraw of the newest
// curve, and families of curves.

#include "drawcommand.h"
#include "frmmain.h"
#include "frmparameterrange.h"

#include "formula/equation.h"
#include "graph/curvelist.h"
#include "graph/family.h"
#include "graph/graphdraw.h"
#include "settings/graphsettings.h"
#include "variablespanel.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>

#include <algorithm>
#include <string_view>

namespace lw {

namespace {
bool usesParameter(std::u16string_view formula, int row)
{
    return UnsuppliedParameters(formula, VariableValues{}) & (1u << row);
}

QString familyStatus(int row, const FamilyValues &family, std::u16string_view kzn,
                     const VariableValues &parameters)
{
    QString status = QStringLiteral("Schar: %1 Kurven für %2 = %3 bis %4.")
                         .arg(family.values.size())
                         .arg(QChar(u'a' + row))
                         .arg(QString::fromStdU16String(family.texts.front()),
                              QString::fromStdU16String(family.texts.back()));
    if (!usesParameter(kzn, row))
        status +=
            QStringLiteral(" Hinweis: Die Gleichung enthält %1 nicht; alle Kurven sind gleich.")
                .arg(QChar(u'a' + row));
    if (const QString note = ParameterNote(kzn, parameters); !note.isEmpty())
        status += u' ' + note;
    return status;
}
} // namespace

void FrmMain::ReplaceLastCurveParameters(int row)
{
    Picture &screen = ScreenPicture();
    if (screen.curves.empty()) {
        sbrMain->showMessage(QStringLiteral("Der Regler ändert die zuletzt gezeichnete Kurve: "
                                            "zeichnen Sie zuerst eine."));
        return;
    }
    if (!usesParameter(screen.curves.back().kznFormula, row)) {
        sbrMain->showMessage(QStringLiteral("Hinweis: Die zuletzt gezeichnete Kurve enthält %1 "
                                            "nicht.")
                                 .arg(QChar(u'a' + row)));
        return;
    }
    // A family member keeps the value its label names: the slider moves a curve of its own,
    // drawn beside the family in the curve colour.
    if (!screen.curves.back().legend.empty()) {
        CurveEntry live = screen.curves.back();
        live.legend.clear();
        live.colour = GraphSettings.LiveColor;
        ChangeCurves(screen, [&] { AddCurve(screen, std::move(live)); });
        CurvesChanged();
    }
    CurveEntry &last = screen.curves.back();
    // Its marks were points of the curve with the old value.
    std::erase_if(screen.marks, [&](const PointMark &mark) { return mark.curve == last.id; });
    last.parameters = picVariables->values();
    last.formula = lw::UpdateVariables(last.kznFormula, last.parameters);
    last.failed = false;
    last.stopped = false;
    last.id = NewCurveId();
    sbrMain->showMessage(ParameterNote(last.kznFormula, last.parameters));
    RequestRedraw();
}

void FrmMain::AskParameterRange(int row)
{
    if (const auto range = FrmParameterRange::ask(this, row, FrmParameterRange::Purpose::Range,
                                                  picVariables->range(row)))
        picVariables->setRange(row, *range);
}

void FrmMain::AskFamily(int row)
{
    const ParameterRange &range = picVariables->range(row);
    // Whole steps over the slider's range, unless those make too many curves.
    ParameterRange start{range.from, range.to, 1};
    if (FamilyMembers(start).fault != FamilyFault::None)
        start.step = (range.to - range.from) / 10;
    if (const auto family =
            FrmParameterRange::ask(this, row, FrmParameterRange::Purpose::Family, start))
        DrawFamily(row, *family);
}

void FrmMain::DrawFamily(int row, const ParameterRange &values)
{
    if (TheDraw.phase != DrawPhase::Idle) {
        sbrMain->showMessage(QStringLiteral("Es wird noch gezeichnet: die Schar folgt nicht."));
        return;
    }
    const FamilyValues family = FamilyMembers(values);
    const std::u16string typed = txtTerm->text().toStdU16String();
    if (IsEmptyEquation(typed)) {
        enter(DrawPhase::Reporting);
        ShowEmptyEquationMessage();
        endDraw();
        return;
    }
    QuickOptions options;
    if (family.fault != FamilyFault::None || !readQuickOptions(options, GraphSettings)) {
        endDraw();
        return;
    }
    enter(DrawPhase::Converting);
    const std::optional<std::u16string> kzn = formulaToDraw(typed);
    if (!kzn || StopRequested()) {
        endDraw();
        return;
    }
    GraphSettings.Precision = options.precision;
    GraphSettings.LinkPoints = chkLinkPoints->isChecked();
    GraphSettings.AlwaysDeleteGraph = chkAlwaysDelete->isChecked();
    Picture &screen = ScreenPicture();
    if (options.centreChanged) {
        PlaceCentre(GraphSettings, options.centre);
        RedrawAxes(screen, GraphSettings);
    }
    const CurveListState before = ListStateOf(screen);
    if (GraphSettings.AlwaysDeleteGraph)
        ErasePicture(screen, GraphSettings);

    const CurveEntry base{.typed = typed,
                          .notation = notationChosen(),
                          .parameters = picVariables->values(),
                          .kznFormula = *kzn,
                          .precision = GraphSettings.Precision,
                          .linkPoints = GraphSettings.LinkPoints};
    const std::vector<CurveEntry> members = FamilyCurves(base, row, family.texts);
    for (const CurveEntry &member : members)
        AddCurve(screen, member);
    m_history.record(before, screen);
    endDraw();
    RequestRedraw();
    sbrMain->showMessage(familyStatus(row, family, *kzn, members.back().parameters));
}

} // namespace lw
