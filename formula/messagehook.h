#pragma once

#include <QString>

#include <functional>

namespace lw {

enum class MessageIcon { None, Warning, Information, Critical };

struct Message {
    QString title;
    QString text;
    MessageIcon icon = MessageIcon::None;
};

// Every message box of the program goes through here: the windows install a
// function that shows a box with one OK button, tests install a recorder, and
// without either the message goes to standard error.
void InstallMessageHook(std::function<void(const Message &)> show);
void ShowMessage(const QString &title, const QString &text, MessageIcon icon = MessageIcon::None);

} // namespace lw
