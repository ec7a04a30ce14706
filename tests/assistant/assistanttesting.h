// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The function assistant's pages, played by a user who acts on each page as it comes up.

#include "assistant/frmfassist.h"
#include "tests/support/modalanswer.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace lw::assistanttest {

// What the value rows hold when a page opens.
inline const std::array<QString, 4> Initial{"a", "b", "c", "d"};

using Step = std::function<void(QDialog &page)>;

template<typename Widget>
inline Widget *child(QDialog &page, const QString &name)
{
    Widget *widget = page.findChild<Widget *>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

inline QPushButton *button(QDialog &page, const char *name)
{
    return child<QPushButton>(page, QString::fromLatin1(name));
}

inline QLineEdit *field(QDialog &page, int row)
{
    return child<QLineEdit>(page, QStringLiteral("txtValue_%1").arg(row));
}

inline QLabel *description(QDialog &page, int row)
{
    return child<QLabel>(page, QStringLiteral("lblDescription_%1").arg(row));
}

inline QRadioButton *option(QDialog &page, int index)
{
    return child<QRadioButton>(page, QStringLiteral("optGType_%1").arg(index));
}

inline bool stillOpen(QDialog &page)
{
    return page.isVisible() && QApplication::activeModalWidget() == &page;
}

// Typed as a user would: the old text selected and overwritten.
inline void type(QDialog &page, int row, const QString &text)
{
    QLineEdit *edit = field(page, row);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

inline Step press(const char *name)
{
    return [name](QDialog &page) {
        button(page, name)->click();
    };
}

inline Step choose(int index)
{
    return [index](QDialog &page) {
        option(page, index)->click();
        button(page, "cmdNext")->click();
    };
}

inline QStringList openPages()
{
    QStringList names;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName().startsWith("frmFAssist"))
            names << w->objectName();
    }
    return names;
}

class Assistant : public ::testing::Test {
protected:
    void SetUp() override { FAGraphType = 0; }
    void TearDown() override { FAGraphType = 0; }

    // Runs the assistant; each step plays the user on the next page that comes up.
    std::optional<QString> run(std::vector<Step> steps, QWidget *parent = nullptr)
    {
        std::size_t next = 0;
        QPointer<QWidget> acted;
        QDeadlineTimer leaving;
        bool stuck = false;
        QTimer user;
        user.setInterval(1);
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto *page = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!page)
                return;
            if (page == acted) {
                // A step that left its page open would otherwise wait forever.
                if (leaving.hasExpired()) {
                    stuck = true;
                    page->reject();
                }
                return;
            }
            leaving.setRemainingTime(lw::testing::WaitDeadlineMs);
            acted = page;
            pagesSeen << page->objectName();
            loopLevels.push_back(QThread::currentThread()->loopLevel());
            if (next < steps.size()) {
                steps[next++](*page);
            } else {
                stuck = true;
                page->reject();
            }
        });
        user.start();
        const std::optional<QString> equation = RunFunctionAssistant(parent);
        EXPECT_FALSE(stuck) << "a page stayed open or came up unexpectedly";
        EXPECT_EQ(next, steps.size()) << "the assistant ended early";
        EXPECT_TRUE(openPages().isEmpty()) << openPages().join(' ').toStdString();
        return equation;
    }

    QStringList pagesSeen;
    std::vector<int> loopLevels;
};

inline void expectButtonRow(QDialog &page, bool backEnabled, bool nextEnabled)
{
    const struct {
        const char *name;
        const char *caption;
        int helpTopic;
        bool enabled;
    } buttons[] = {
        {"cmdCancel", "Abbrechen", 21, true},
        {"cmdBack", "< Zurück", 22, backEnabled},
        {"cmdNext", "Weiter >", 23, nextEnabled},
        {"cmdFinish", "Fertigstellen", 24, true},
    };
    int left = -1;
    for (const auto &b : buttons) {
        QPushButton *control = button(page, b.name);
        EXPECT_EQ(control->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(control->property("helpTopic").toInt(), b.helpTopic) << b.name;
        EXPECT_EQ(control->isEnabled(), b.enabled) << b.name;
        EXPECT_FALSE(control->isDefault() || control->autoDefault()) << b.name;
        EXPECT_GT(control->x(), left) << b.name;
        left = control->x();
    }
    EXPECT_EQ(page.windowTitle(), "Funktions-Assistent");
    EXPECT_TRUE(page.isModal());
    EXPECT_EQ(page.font().family(), "Liberation Sans");
    EXPECT_EQ(page.font().pointSizeF(), 8);
}

} // namespace lw::assistanttest
