// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of the picture's list of curves, and the keys for them in text fields.

#include "frmmain.h"

#include "graph/graphdraw.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStatusBar>

namespace lw {

uint64_t FrmMain::ChangeCurves(Picture &picture, const std::function<void()> &change,
                               uint64_t joinTo)
{
    if (&picture != &ScreenPicture()) {
        change(); // a print-out's list has no history
        return 0;
    }
    const CurveListState before = ListStateOf(picture);
    change();
    return m_history.record(before, picture, joinTo);
}

namespace {

// One step back or forward through the picture's history; the status bar says so where there is
// none.
void WalkHistory(FrmMain &main, bool (CurveHistory::*step)(Picture &), const QString &nothingLeft)
{
    if (!(main.History().*step)(ScreenPicture())) {
        main.sbrMain->showMessage(nothingLeft);
        return;
    }
    main.CurvesChanged();
    main.RequestRedraw();
}

} // namespace

void FrmMain::Undo()
{
    WalkHistory(*this, &CurveHistory::undo, QStringLiteral("Es gibt nichts rückgängig zu machen."));
}

void FrmMain::Redo()
{
    WalkHistory(*this, &CurveHistory::redo, QStringLiteral("Es gibt nichts zu wiederholen."));
}

bool FrmMain::fieldGivesUndoKeyAway(QObject *watched, QEvent *event) const
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *field = qobject_cast<const QLineEdit *>(watched);
    if (!field)
        return false;
    const QKeySequence pressed(static_cast<const QKeyEvent *>(event)->keyCombination());
    const bool undo = toolbarAction(QStringLiteral("Undo"))->shortcuts().contains(pressed);
    const bool redo = toolbarAction(QStringLiteral("Redo"))->shortcuts().contains(pressed);
    if ((undo && !field->isUndoAvailable()) || (redo && !field->isRedoAvailable())) {
        event->ignore(); // the shortcut, not the field, takes it
        return true;
    }
    return false;
}

} // namespace lw
