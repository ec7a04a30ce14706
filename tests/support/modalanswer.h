// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Window tests wait for what they need instead of guessing how long it takes: the next modal
// window to answer, a state to act in, or a state to check. Each wait has a deadline that
// fails the test by name, so a slow or broken run never hangs.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace lw::testing {

inline constexpr int WaitDeadlineMs = 10'000;

// A modal window may wait in exec() for an answer that will not come; closing it lets the test
// unwind to its assertions.
inline void closeActiveModal()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else if (modal)
        modal->close();
}

// Runs `act` once, from the event loop, as soon as `ready` holds. The action is part of the
// test: if it has not run by the deadline or by the end of the scope, the test fails.
class WhenReady {
public:
    WhenReady(std::string what, std::function<bool()> ready, std::function<void()> act,
              int deadlineMs = WaitDeadlineMs)
        : m_what(std::move(what)), m_deadlineMs(deadlineMs), m_deadline(deadlineMs)
    {
        m_poll.setInterval(1);
        QObject::connect(
            &m_poll, &QTimer::timeout, [this, ready = std::move(ready), act = std::move(act)] {
                if (!m_expired && ready()) {
                    m_poll.stop();
                    m_answered = true;
                    act();
                } else if (m_deadline.hasExpired()) {
                    if (!m_expired)
                        ADD_FAILURE() << "waited " << m_deadlineMs << " ms in vain for " << m_what;
                    m_expired = true;
                    closeActiveModal();
                }
            });
        m_poll.start();
    }
    ~WhenReady()
    {
        if (!m_answered && !m_expired)
            ADD_FAILURE() << "never came: " << m_what;
    }
    WhenReady(const WhenReady &) = delete;
    WhenReady &operator=(const WhenReady &) = delete;

    bool answered() const { return m_answered; }

private:
    std::string m_what;
    int m_deadlineMs;
    QDeadlineTimer m_deadline;
    QTimer m_poll;
    bool m_answered = false;
    bool m_expired = false;
};

// Answers the next modal window of type Widget once it is the active one.
template<typename Widget>
class ModalAnswer : public WhenReady {
public:
    explicit ModalAnswer(std::function<void(Widget *)> act, int deadlineMs = WaitDeadlineMs)
        : WhenReady(
            std::string("a modal ") + Widget::staticMetaObject.className(),
            [] { return up() != nullptr; }, [act = std::move(act)] { act(up()); }, deadlineMs)
    {}

private:
    static Widget *up() { return qobject_cast<Widget *>(QApplication::activeModalWidget()); }
};

// Fails the test for every modal window that comes up while it lives, and closes it: for
// actions that must not open one.
class NoModalWindow {
public:
    NoModalWindow()
    {
        m_poll.setInterval(1);
        QObject::connect(&m_poll, &QTimer::timeout, [] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a modal window came up: " << modal->objectName().toStdString();
                closeActiveModal();
            }
        });
        m_poll.start();
    }

private:
    QTimer m_poll;
};

// Lets the event loop run until `reached` holds; fails naming `what` at the deadline.
inline bool waitUntil(const std::function<bool()> &reached, const char *what,
                      int deadlineMs = WaitDeadlineMs)
{
    const QDeadlineTimer deadline(deadlineMs);
    while (!reached()) {
        if (deadline.hasExpired()) {
            ADD_FAILURE() << "waited " << deadlineMs << " ms in vain for " << what;
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

} // namespace lw::testing
