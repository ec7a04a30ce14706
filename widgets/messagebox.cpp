// SPDX-License-Identifier: GPL-3.0-or-later

#include "messagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <utility>

namespace lw {

namespace {
std::function<void(const Message &)> &installedHook()
{
    static std::function<void(const Message &)> hook;
    return hook;
}
std::function<bool(const Message &)> &questionHook()
{
    static std::function<bool(const Message &)> hook;
    return hook;
}
std::function<int(const Message &, const QStringList &)> &choiceHook()
{
    static std::function<int(const Message &, const QStringList &)> hook;
    return hook;
}
} // namespace

void InstallChoiceHook(std::function<int(const Message &, const QStringList &)> choose)
{
    choiceHook() = std::move(choose);
}

int AskChoice(const QString &title, const QString &text, const QStringList &answers, int unanswered)
{
    if (!choiceHook())
        return unanswered;
    return choiceHook()({title, text, MessageIcon::Warning}, answers);
}

void InstallQuestionHook(std::function<bool(const Message &)> ask)
{
    questionHook() = std::move(ask);
}

bool AskQuestion(const QString &title, const QString &text)
{
    return questionHook() && questionHook()({title, text, MessageIcon::Warning});
}

void InstallMessageHook(std::function<void(const Message &)> show)
{
    installedHook() = std::move(show);
}

void ShowMessage(const QString &title, const QString &text, MessageIcon icon)
{
    if (installedHook()) {
        installedHook()({title, text, icon});
        return;
    }
    std::fprintf(stderr, "%s: %s\n", title.toUtf8().constData(), text.toUtf8().constData());
}

std::unique_ptr<QMessageBox> MessageBoxFor(const Message &message, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(message.title);
    box->setText(message.text);
    switch (message.icon) {
    case MessageIcon::None: box->setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Warning: box->setIcon(QMessageBox::Warning); break;
    case MessageIcon::Information: box->setIcon(QMessageBox::Information); break;
    case MessageIcon::Critical: box->setIcon(QMessageBox::Critical); break;
    }
    box->setStandardButtons(QMessageBox::Ok);
    return box;
}

void InstallMessageBoxes()
{
    InstallMessageHook([](const Message &message) {
        MessageBoxFor(message, QApplication::activeWindow())->exec();
    });
    InstallQuestionHook([](const Message &question) {
        const std::unique_ptr<QMessageBox> box =
            MessageBoxFor(question, QApplication::activeWindow());
        box->setStandardButtons(QMessageBox::NoButton);
        QPushButton *yes = box->addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
        box->addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
        box->exec();
        return box->clickedButton() == yes;
    });
    InstallChoiceHook([](const Message &question, const QStringList &answers) {
        const std::unique_ptr<QMessageBox> box =
            MessageBoxFor(question, QApplication::activeWindow());
        box->setStandardButtons(QMessageBox::NoButton);
        QList<QAbstractButton *> buttons;
        for (qsizetype i = 0; i < answers.size(); ++i)
            buttons << box->addButton(answers[i], i == 0 ? QMessageBox::AcceptRole
                                                  : i + 1 == answers.size()
                                                      ? QMessageBox::RejectRole
                                                      : QMessageBox::DestructiveRole);
        box->setEscapeButton(buttons.back());
        box->exec();
        const auto chosen = buttons.indexOf(box->clickedButton());
        return int(chosen < 0 ? buttons.size() - 1 : chosen);
    });
}

} // namespace lw
