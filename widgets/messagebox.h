// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

namespace lw {

enum class MessageIcon { None, Warning, Information, Critical };

struct Message {
    QString title;
    QString text;
    MessageIcon icon = MessageIcon::None;
};

// Every message box of the program goes through here: the program installs a
// function that shows a box with one OK button, tests install a recorder, and
// without either the message goes to standard error. The windows call the
// helpers in messages.h rather than this directly.
void InstallMessageHook(std::function<void(const Message &)> show);
void ShowMessage(const QString &title, const QString &text, MessageIcon icon = MessageIcon::None);

// The box that shows `message`: its title, text and icon, one OK button.
std::unique_ptr<QMessageBox> MessageBoxFor(const Message &message, QWidget *parent);

// A question with the buttons "Ja" and "Nein"; true for "Ja". Tests install an answer. Without
// one the answer is "Nein", so nothing is replaced unasked.
void InstallQuestionHook(std::function<bool(const Message &)> ask);
bool AskQuestion(const QString &title, const QString &text);

// A question with the buttons `answers` from left to right, the last one also taken by Esc or
// the window's close button: the index of the answer. Tests install an answer; without one the
// answer is `unanswered`.
void InstallChoiceHook(std::function<int(const Message &, const QStringList &)> choose);
int AskChoice(const QString &title, const QString &text, const QStringList &answers,
              int unanswered);

// Shows the program's messages as message boxes with one OK button, and its questions.
void InstallMessageBoxes();

} // namespace lw
