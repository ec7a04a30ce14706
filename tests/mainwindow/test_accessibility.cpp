// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a screen reader and a keyboard-only pupil meet it.

#include "mainwindowtesting.h"

#include "graph/curvelist.h"
#include "mainwindow/startup.h"
#include "mainwindow/variablespanel.h"
#include "tests/support/modalanswer.h"

#include <QAccessible>
#include <QTest>
#include <QToolBar>

#include <map>

using namespace lw;
using lw::testing::MainWindow;
using lw::testing::WhenReady;

namespace {

// No showing input, button or check box of `window` without a name, no two inputs with one.
void expectNamed(QWidget *window)
{
    std::map<QString, int> inputs;
    const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
        if (!node || node->state().invisible)
            return;
        const QString name = node->text(QAccessible::Name);
        const QAccessible::Role role = node->role();
        const bool input = role == QAccessible::EditableText || role == QAccessible::Slider
                           || role == QAccessible::ComboBox;
        if (input)
            ++inputs[name];
        if (input || role == QAccessible::PushButton || role == QAccessible::CheckBox
            || role == QAccessible::RadioButton || role == QAccessible::ButtonMenu) {
            EXPECT_FALSE(name.trimmed().isEmpty()) << node->object()->objectName().toStdString();
        }
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(window));
    EXPECT_FALSE(inputs.empty() && window->objectName() == "frmMain");
    for (const auto &[name, count] : inputs)
        EXPECT_EQ(count, 1) << name.toStdString();
}

TEST_F(MainWindow, EveryShowingControlHasANameAndNoTwoInputsShareOne)
{
    openWindow();
    expectNamed(window.get());
    window->toolbarAction("VariableEdit")->trigger();
    expectNamed(window.get());
    draw("x^2");
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(window->picGraph)->text(QAccessible::Description),
        "y = x^2");
    for (const char *key : {"GraphOptions", "FAssist"}) {
        WhenReady named(
            "a dialog", [] { return QApplication::activeModalWidget() != nullptr; },
            [] {
                expectNamed(QApplication::activeModalWidget());
                QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
            });
        window->toolbarAction(key)->trigger();
        EXPECT_TRUE(named.answered()) << key;
    }
}

// Without a mouse event: F2, Tab to a's value, the equation, Return; the settings dialog and the
// assistant by their keys, closed with Esc; F6 into the toolbar; Shift+F10 on the picture.
TEST_F(MainWindow, AKeyboardAloneSetsAParameterDrawsAndOpensTheDialogs)
{
    window = Main();
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    };
    const auto tabUntil = [&](QWidget *target) {
        for (int i = 0; i < 60 && QApplication::focusWidget() != target; ++i)
            press(Qt::Key_Tab);
        return QApplication::focusWidget() == target;
    };
    // The window system activates the main window at start and after a dialog.
    const auto active = [this] {
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    };
    ASSERT_TRUE(active());
    ASSERT_EQ(QApplication::focusWidget(), window->txtTerm);
    press(Qt::Key_F2);
    ASSERT_TRUE(tabUntil(window->picVariables->txtVarValue[0]));
    QTest::keyClicks(QApplication::focusWidget(), "2");
    ASSERT_TRUE(tabUntil(window->txtTerm));
    window->txtTerm->selectAll();
    QTest::keyClicks(window->txtTerm, "a*x^2");
    press(Qt::Key_Return);
    ASSERT_EQ(ScreenPicture().curves.size(), 1u);
    EXPECT_EQ(ScreenPicture().curves.back().formula, u"PRO(2;POT(x;2))");

    const std::pair<Qt::Key, Qt::KeyboardModifiers> dialogKeys[] = {
        {Qt::Key_E, Qt::ControlModifier},                     // the settings
        {Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier}, // the assistant
    };
    for (const auto &[key, modifiers] : dialogKeys) {
        WhenReady closed(
            "a dialog", [] { return QApplication::activeModalWidget() != nullptr; },
            [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
        press(key, modifiers);
        EXPECT_TRUE(closed.answered());
        ASSERT_TRUE(active());
    }
    press(Qt::Key_F6);
    press(Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(),
              window->tbrMain->widgetForAction(window->toolbarAction("Save")));
    press(Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), window->txtTerm);
    const QImage unfocused = window->picGraph->grab().toImage();
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window->picGraph); // two presses from the equation
    EXPECT_NE(window->picGraph->grab().toImage().pixel(0, 0), unfocused.pixel(0, 0))
        << "a focus frame";
    WhenReady menu(
        "the picture's menu", [] { return QApplication::activePopupWidget() != nullptr; },
        [] { QApplication::activePopupWidget()->close(); });
    press(Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(lw::testing::waitUntil([&] { return menu.answered(); }, "the menu"));
}

} // namespace
