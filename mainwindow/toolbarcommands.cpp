// SPDX-License-Identifier: GPL-3.0-or-later
// What each toolbar button does; the buttons themselves are in toolbar.cpp.

#include "frmanalysis.h"
#include "frmcurves.h"
#include "frmmain.h"

#include "about/frmabout.h"
#include "assistant/frmfassist.h"
#include "gph/cdlload.h"
#include "graph/curvelist.h"
#include "graph/drawingsurface.h"
#include "graph/frmpreprint.h"
#include "graph/graphdraw.h"
#include "help/frmhelp.h"
#include "settings/colour.h"
#include "settings/frmgraphoptions.h"
#include "settings/graphsettings.h"
#include "variablespanel.h"
#include "widgets/colourchooser.h"
#include "widgets/messages.h"
#include "widgets/picturewidget.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

namespace lw {

const std::array<FrmMain::ToolbarCommand, 17> FrmMain::ToolbarCommands{{
    {"Load",
     [](FrmMain &w, QAction *) {
         if (w.cdlLoad->ShowOpen())
             w.LoadFile();
     }},
    {"Save",
     [](FrmMain &w, QAction *) {
         if (w.cdlLoad->ShowSave())
             w.SaveFile();
     }},
    {"CopyEquation",
     [](FrmMain &w, QAction *) {
         QGuiApplication::clipboard()->setText(w.txtTerm->text());
     }},
    {"PasteEquation",
     [](FrmMain &w, QAction *) {
         const QString text = QGuiApplication::clipboard()->text();
         if (text.isEmpty())
             ShowError(EmptyClipboardMessage);
         else
             w.txtTerm->setText(text);
     }},
    {"Print",
     [](FrmMain &w, QAction *) {
         OpenPrintDialog(&w, [&w](Picture &picture, GraphSettingsRecord &settings) {
             w.DrawOn(picture, settings);
         });
     }},
    {"EraseGraphs",
     [](FrmMain &w, QAction *) {
         w.ChangeCurves(ScreenPicture(), [] { ErasePicture(ScreenPicture(), GraphSettings); });
         w.CurvesChanged();
     }},
    {"Undo",
     [](FrmMain &w, QAction *) {
         w.Undo();
     }},
    {"Redo",
     [](FrmMain &w, QAction *) {
         w.Redo();
     }},
    {"CurveList",
     [](FrmMain &w, QAction *) {
         FrmCurves::open(w);
     }},
    {"CurveAnalysis",
     [](FrmMain &w, QAction *) {
         FrmAnalysis::open(w);
     }},
    {"VariableEdit",
     [](FrmMain &w, QAction *button) {
         w.picVariables->setEnabled(!w.picVariables->isEnabled());
         button->setChecked(w.picVariables->isEnabled());
     }},
    // Only the curves from now on; the store is not written.
    {"GraphColor",
     [](FrmMain &w, QAction *) {
         if (const auto colour = ChooseColour(ToQColor(GraphSettings.LiveColor), &w))
             GraphSettings.LiveColor = FromQColor(*colour);
     }},
    // Replaces the whole equation; the notation choice stays as it is.
    {"FAssist",
     [](FrmMain &w, QAction *) {
         if (const std::optional<QString> equation = RunFunctionAssistant(&w))
             w.txtTerm->setText(*equation);
     }},
    {"GraphOptions",
     [](FrmMain &w, QAction *) {
         w.ShowGraphOptions();
     }},
    {"ToolbarHelp",
     [](FrmMain &w, QAction *) {
         w.ToolbarHelpMode = true;
     }},
    {"DirectHelp",
     [](FrmMain &, QAction *) {
         EnterDirectHelp();
     }},
    {"AboutInfo",
     [](FrmMain &w, QAction *) {
         FrmAbout::open(&w);
     }},
}};

QAction *FrmMain::toolbarAction(const QString &key) const
{
    return tbrMain->findChild<QAction *>(key);
}

void FrmMain::tbrMain_ButtonClick(const QString &key)
{
    QAction *button = toolbarAction(key);
    if (ToolbarHelpMode) {
        // In the toolbar help mode a button only explains itself.
        sbrMain->showMessage(button->property("description").toString());
        if (key == QLatin1String("ToolbarHelp"))
            ToolbarHelpMode = false;
        else if (key == QLatin1String("VariableEdit"))
            button->setChecked(!button->isChecked()); // back to before the click
        return;
    }
    for (const auto &[name, run] : ToolbarCommands) {
        if (key == QLatin1String(name))
            return run(*this, button);
    }
}

} // namespace lw
