// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

class QApplication;
class QTextBrowser;

namespace lw {

struct HelpTopic;

// "Linienwerk-Hilfe": shows one topic of the help file at a time, beside the
// window it was asked from.
class FrmHelp : public QDialog {
    Q_OBJECT

public:
    explicit FrmHelp(QWidget *parent = nullptr);

    void showTopic(const HelpTopic &topic);

    QTextBrowser *txtHelp = nullptr;

protected:
    bool event(QEvent *event) override;
};

// Opens topic `number` of the help file in the one help window, raised over
// the window of `requester` (or over the modal dialog that is open). A missing
// file or topic gives a message instead; false then.
bool ShowHelpTopic(int number, QWidget *requester = nullptr);

// The "helpTopic" of `widget` or of its nearest ancestor within its window; 0 for none.
int HelpTopicOf(const QWidget *widget);

// F1 on a control and clicks in what's-this mode open the control's topic,
// in every window of the application. Call once at start-up; later calls do nothing.
void InstallContextHelp(QApplication &app);

// What's-this mode: the pointer changes, and the next click on a control
// opens its topic instead of acting on it.
void EnterDirectHelp();

} // namespace lw
