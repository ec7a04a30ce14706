// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a worksheet keeps it, and a worksheet put back into the main window.

#include "drawcommand.h"
#include "frmmain.h"

#include "gph/cdlload.h"
#include "gph/gphfile.h"
#include "gph/worksheet.h"
#include "graph/curvelist.h"
#include "graph/graphdraw.h"
#include "settings/graphsettings.h"
#include "variablespanel.h"
#include "widgets/messages.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace lw {

Worksheet FrmMain::CurrentWorksheet() const
{
    Worksheet sheet;
    sheet.settings = GraphSettings;
    sheet.equation = txtTerm->text().toStdU16String();
    sheet.notation = notationChosen();
    sheet.autoConvert = chkAutoConvert->isChecked();
    sheet.parameters = picVariables->values();
    for (int row = 0; row < ParameterCount; ++row)
        sheet.ranges[static_cast<std::size_t>(row)] = picVariables->range(row);
    sheet.curves = ScreenPicture().curves;
    return sheet;
}

void FrmMain::ApplyWorksheet(const Worksheet &sheet)
{
    // A draw on its way would go on in a picture that is no longer there.
    if (DrawInProgress())
        enter(DrawPhase::Stopping);
    picVariables->stopAnimation();
    GraphSettings = sheet.settings;
    txtTerm->setText(QString::fromStdU16String(sheet.equation));
    const int notation = sheet.notation == Notation::Mathematical ? 0 : 1;
    optTermFormat[notation]->setChecked(true);
    optTermFormat_Click(notation);
    chkAutoConvert->setChecked(sheet.autoConvert);

    picVariables->setEnabled(sheet.parameters.editMode);
    toolbarAction(QStringLiteral("VariableEdit"))->setChecked(sheet.parameters.editMode);
    for (int row = 0; row < ParameterCount; ++row) {
        const auto i = static_cast<std::size_t>(row);
        picVariables->chkVarName[i]->setChecked(sheet.parameters.checked[i]);
        picVariables->txtVarValue[i]->setText(
            QString::fromStdU16String(sheet.parameters.values[i]));
        picVariables->setRange(row, sheet.ranges[i]);
    }

    Picture &screen = ScreenPicture();
    // The curves before it come back by undo.
    ChangeCurves(screen, [&] {
        ErasePicture(screen, GraphSettings);
        for (const CurveEntry &curve : sheet.curves)
            AddCurve(screen, curve);
    });
    m_history.markSaved(screen);
    QuickOptionsUpdate();
    CurvesChanged();
    RequestRedraw();
}

bool FrmMain::mayClose()
{
    const Picture &screen = ScreenPicture();
    if (screen.curves.empty() || m_history.isSaved(screen))
        return true;
    switch (AskUnsavedCurves()) {
    case CloseAnswer::DontSave: return true;
    case CloseAnswer::Cancel: return false;
    case CloseAnswer::Save: break;
    }
    const std::optional<QString> path = cdlLoad->ShowSaveWorksheet();
    if (!path || !SaveSheet(*path, CurrentWorksheet()))
        return false; // cancelled, or failed with its message: the curves are still there
    m_history.markSaved(screen);
    return true;
}

} // namespace lw
