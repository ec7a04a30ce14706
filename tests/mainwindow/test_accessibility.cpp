// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a screen reader and a keyboard-only pupil meet it: every showing control named,
// every command reachable without the mouse.

#include "mainwindowtesting.h"

#include "assistant/assistantpage.h"
#include "graph/curvelist.h"
#include "mainwindow/startup.h"
#include "mainwindow/variablespanel.h"
#include "settings/frmgraphoptions.h"
#include "tests/support/modalanswer.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QLineEdit>
#include <QTest>
#include <QToolBar>

#include <map>

using namespace lw;
using lw::testing::MainWindow;
using lw::testing::ModalAnswer;
using lw::testing::waitUntil;

namespace {

bool isInput(QAccessible::Role role)
{
    return role == QAccessible::EditableText || role == QAccessible::Slider
           || role == QAccessible::ComboBox || role == QAccessible::SpinBox;
}

bool needsName(QAccessible::Role role)
{
    return isInput(role) || role == QAccessible::PushButton || role == QAccessible::CheckBox
           || role == QAccessible::RadioButton || role == QAccessible::ButtonMenu;
}

// Every showing control of the tree below `node` that needs a name and has none, and every name
// two inputs share.
int walked = 0;
void walk(QAccessibleInterface *node, QStringList &unnamed, std::map<QString, int> &inputNames)
{
    if (!node || node->state().invisible)
        return;
    ++walked;
    const QString name = node->text(QAccessible::Name);
    const QAccessible::Role role = node->role();
    if (needsName(role) && name.trimmed().isEmpty())
        unnamed << (node->object() ? node->object()->objectName() : QStringLiteral("?"));
    if (isInput(role))
        ++inputNames[name];
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), unnamed, inputNames);
}

void expectNamed(QWidget *window)
{
    QStringList unnamed;
    std::map<QString, int> inputNames;
    walk(QAccessible::queryAccessibleInterface(window), unnamed, inputNames);
    EXPECT_GT(walked, 0);
    EXPECT_TRUE(unnamed.isEmpty()) << window->objectName().toStdString() << ": "
                                   << unnamed.join(", ").toStdString();
    for (const auto &[name, count] : inputNames)
        EXPECT_EQ(count, 1) << window->objectName().toStdString() << ": \"" << name.toStdString()
                            << "\" names " << count << " inputs";
}

TEST_F(MainWindow, EveryShowingControlHasANameAndNoTwoInputsShareOne)
{
    openWindow();
    expectNamed(window.get());
    window->toolbarAction("VariableEdit")->trigger();
    expectNamed(window.get());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window->picGraph)->text(QAccessible::Name),
              "Schaubild");
    draw("x^2");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window->picGraph)
                  ->text(QAccessible::Description),
              "y = x^2");
    for (const char *key : {"GraphOptions", "FAssist"}) {
        lw::testing::WhenReady named(
            "a dialog", [] { return QApplication::activeModalWidget() != nullptr; },
            [] {
                QWidget *dialog = QApplication::activeModalWidget();
                expectNamed(dialog);
                QTest::keyClick(dialog, Qt::Key_Escape);
            });
        window->toolbarAction(key)->trigger();
        EXPECT_TRUE(named.answered()) << key;
    }
}

// Without a mouse event: the focus starts in the equation field, F2 switches the parameters'
// edit mode on, Tab reaches a's value, Return draws, and the settings dialog and the assistant
// open by their keys and close with Esc.
TEST_F(MainWindow, AKeyboardAloneSetsAParameterDrawsAndOpensTheDialogs)
{
    window = Main();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_EQ(QApplication::focusWidget(), window->txtTerm);
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget *focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr) << "no focus for key " << key;
        QTest::keyClick(focused, key, modifiers);
    };
    press(Qt::Key_F2);
    ASSERT_TRUE(window->picVariables->isEnabled());
    const auto tabUntil = [&](QWidget *target) {
        for (int i = 0; i < 60 && QApplication::focusWidget() != target; ++i)
            press(Qt::Key_Tab);
        return QApplication::focusWidget() == target;
    };
    ASSERT_TRUE(tabUntil(window->picVariables->txtVarValue[0]));
    QTest::keyClicks(QApplication::focusWidget(), "2");
    ASSERT_TRUE(tabUntil(window->txtTerm));
    window->txtTerm->selectAll();
    QTest::keyClicks(window->txtTerm, "a*x^2");
    press(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([this] { return window->PictureUpToDate(); }, "the draw"));
    ASSERT_EQ(ScreenPicture().curves.size(), 1u);
    EXPECT_EQ(ScreenPicture().curves.back().formula, u"PRO(2;POT(x;2))");

    const std::pair<Qt::Key, Qt::KeyboardModifiers> dialogKeys[] = {
        {Qt::Key_E, Qt::ControlModifier},                    // the settings
        {Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier}, // the assistant
    };
    for (const auto &[key, modifiers] : dialogKeys) {
        lw::testing::WhenReady closed(
            "a dialog", [] { return QApplication::activeModalWidget() != nullptr; },
            [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
        press(key, modifiers);
        EXPECT_TRUE(closed.answered());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        // The window system gives the main window the keyboard back (the offscreen one does not).
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // F6 into the toolbar, the arrows along it, Esc back to the equation.
    press(Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget()->parent(), window->tbrMain);
    press(Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(),
              window->tbrMain->widgetForAction(window->toolbarAction("Save")));
    press(Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), window->txtTerm);
    // Tab reaches the picture, whose menu Shift+F10 opens.
    ASSERT_TRUE(tabUntil(window->picGraph));
    lw::testing::WhenReady menu(
        "the picture's menu", [] { return QApplication::activePopupWidget() != nullptr; },
        [] { QApplication::activePopupWidget()->close(); });
    press(Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(waitUntil([&] { return menu.answered(); }, "the menu answered"));
}

} // namespace
