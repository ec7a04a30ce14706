// SPDX-License-Identifier: GPL-3.0-or-later

#include "messages.h"

#include "formula/normalise.h"

namespace lw {

const QString ErrorTitle = QStringLiteral("Fehler");
const QString NoticeTitle = QStringLiteral("Hinweis");
const QString ProgramTitle = QStringLiteral("Linienwerk");

const QString EmptyClipboardMessage =
    QStringLiteral("In der Zwischenablage ist kein Text gespeichert.");
const QString SettingsNotSavedMessage =
    QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.");
const QString PrinterRefusedMessage =
    QStringLiteral("Der Drucker hat den Ausdruck nicht angenommen.");

const QString UnsavedCurvesQuestion =
    QStringLiteral("Die Kurven im Bild sind nicht als Arbeitsblatt gespeichert. Möchten Sie sie "
                   "vor dem Beenden speichern?");

CloseAnswer AskUnsavedCurves()
{
    // Without boxes (a run without a display) no one can answer: the window closes as before.
    const int answer = AskChoice(ProgramTitle, UnsavedCurvesQuestion,
                                 {QStringLiteral("Speichern"), QStringLiteral("Nicht speichern"),
                                  QStringLiteral("Abbrechen")},
                                 int(CloseAnswer::DontSave));
    return answer == 0   ? CloseAnswer::Save
           : answer == 1 ? CloseAnswer::DontSave
                         : CloseAnswer::Cancel;
}

QString EntryRefusal(const QString &caption, const QString &wanted)
{
    return QStringLiteral("Bitte geben Sie bei '%1' %2 ein.").arg(caption, wanted);
}

QString TooFineRefusal(const QString &caption)
{
    return QStringLiteral("Die Angabe bei '%1' ist zu fein: x käme beim Zeichnen nicht voran.")
        .arg(caption);
}

QString GraphSavedMessage(const QString &shownName)
{
    // QMessageBox breaks the line at "\n"; a "\r" would show as a stray character.
    return QStringLiteral("Gespeichert unter ") + shownName
           + QStringLiteral(".\nVariablen wurden evtl. mit ihren aktuellen Werten in die "
                            "Gleichung eingesetzt.");
}

QString GraphNotSavedMessage(const QString &shownName, const QString &reason)
{
    return QStringLiteral("Der Graph kann nicht unter %1 gespeichert werden.\n%2\n"
                          "Eine vorhandene Datei dieses Namens ist unverändert.")
        .arg(shownName, reason);
}

QString GraphNotLoadedMessage(const QString &shownName, const QString &reason)
{
    return QStringLiteral("Die Datei %1 kann nicht geladen werden.\n%2").arg(shownName, reason);
}

QString PictureNotSavedMessage(const QString &shownName)
{
    return QStringLiteral("Das Bild kann nicht unter %1 gespeichert werden.\n"
                          "Eine vorhandene Datei dieses Namens ist unverändert.")
        .arg(shownName);
}

QString HelpFileMissingMessage(const QString &shownName)
{
    return QStringLiteral("Die Hilfedatei '%1' wurde nicht gefunden.").arg(shownName);
}

QString HelpFileUnreadableMessage(const QString &shownName)
{
    return QStringLiteral("Die Hilfedatei '%1' kann nicht gelesen werden.").arg(shownName);
}

QString HelpTopicMissingMessage(const QString &shownName, int topic)
{
    return QStringLiteral("Die Hilfedatei '%1' enthält kein Thema mit der Nummer %2.")
        .arg(shownName)
        .arg(topic);
}

void ShowError(const QString &text, MessageIcon icon)
{
    ShowMessage(ErrorTitle, text, icon);
}

void ShowNotice(const QString &text, MessageIcon icon)
{
    ShowMessage(NoticeTitle, text, icon);
}

void ShowEmptyEquationMessage()
{
    ShowMessage(ProgramTitle, QString::fromStdU16String(EmptyEquationMessage()));
}

} // namespace lw
