// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The windows' message catalogue: the titles of the message boxes and the texts they show, each
// defined once, and the helpers that show them. The engine's own texts (formula errors, a failed
// conversion, an empty equation, the settings notice) come from the core beside the code that
// finds the fault.

#include "messagebox.h"

#include <QString>

namespace lw {

extern const QString ErrorTitle;   // "Fehler"
extern const QString NoticeTitle;  // "Hinweis"
extern const QString ProgramTitle; // "Linienwerk", for a box with no title of its own

extern const QString EmptyClipboardMessage;
extern const QString SettingsNotSavedMessage;
extern const QString PrinterRefusedMessage;

// Asked on closing with curves not saved in a worksheet, with its answers in the order shown.
extern const QString UnsavedCurvesQuestion;
enum class CloseAnswer { Save, DontSave, Cancel };
CloseAnswer AskUnsavedCurves();

// A typed entry that does not fit: "Bitte geben Sie bei '<caption>' <wanted> ein."
QString EntryRefusal(const QString &caption, const QString &wanted);
// A precision with which x would never move on.
QString TooFineRefusal(const QString &caption);

// The graph file under its shown (native, absolute) name.
QString GraphSavedMessage(const QString &shownName);
QString GraphNotSavedMessage(const QString &shownName, const QString &reason);
QString GraphNotLoadedMessage(const QString &shownName, const QString &reason);
QString PictureNotSavedMessage(const QString &shownName);

// The help file under its shown name.
QString HelpFileMissingMessage(const QString &shownName);
QString HelpFileUnreadableMessage(const QString &shownName);
QString HelpTopicMissingMessage(const QString &shownName, int topic);

void ShowError(const QString &text, MessageIcon icon = MessageIcon::None);
void ShowNotice(const QString &text, MessageIcon icon = MessageIcon::None);
// The box for a draw with no equation typed.
void ShowEmptyEquationMessage();

} // namespace lw
