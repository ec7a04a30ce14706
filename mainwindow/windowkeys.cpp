// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's own keys: Ctrl+Q, Esc, F6 and Alt+T into the toolbar and the arrows there.

#include "frmmain.h"

#include "drawcommand.h"
#include "variablespanel.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

namespace lw {

void FrmMain::createShortcuts()
{
    // Ctrl+Q as the desktop's programs have it: a close of the window, a running draw stopped.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this,
            &QWidget::close);
    // F6 or Alt+T takes the keyboard into the toolbar, where the arrow keys walk the buttons.
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_F6), QKeySequence(Qt::ALT | Qt::Key_T)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] {
            if (inToolbar())
                txtTerm->setFocus(Qt::ShortcutFocusReason); // and back again
            else
                toolbarButtons().front()->setFocus(Qt::ShortcutFocusReason);
        });
    for (QWidget *button : toolbarButtons()) {
        button->setFocusPolicy(Qt::NoFocus); // out of the Tab chain: F6 leads there
        button->installEventFilter(this);
    }
    // Esc is a press of "Stop" and ends an animation; with neither running it does nothing.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        picVariables->stopAnimation();
        if (inToolbar())
            txtTerm->setFocus(Qt::ShortcutFocusReason);
        if (DrawInProgress())
            cmdDraw->click();
    });
}

bool FrmMain::inToolbar() const
{
    const QWidget *focused = QApplication::focusWidget();
    return focused && focused->parent() == tbrMain;
}

std::vector<QWidget *> FrmMain::toolbarButtons() const
{
    std::vector<QWidget *> buttons;
    for (QAction *action : tbrMain->actions()) {
        if (QWidget *button = tbrMain->widgetForAction(action); button && !action->isSeparator())
            buttons.push_back(button);
    }
    return buttons;
}

bool FrmMain::toolbarKey(QWidget *button, const QKeyEvent &key)
{
    const std::vector<QWidget *> buttons = toolbarButtons();
    const auto at = std::ranges::find(buttons, button);
    if (at == buttons.end())
        return false;
    const auto index = static_cast<std::size_t>(at - buttons.begin());
    switch (key.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const std::size_t step = key.key() == Qt::Key_Left ? buttons.size() - 1 : 1;
        buttons[(index + step) % buttons.size()]->setFocus(Qt::TabFocusReason);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter: static_cast<QToolButton *>(button)->click(); return true;
    default: return false;
    }
}

} // namespace lw
