// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

class QKeyEvent;
class QPushButton;
class QVBoxLayout;

namespace lw {

// How a page of the assistant was left: what its exec() returns.
enum AssistantOutcome : int {
    AssistantCancelled = QDialog::Rejected,
    AssistantNext = 2,
    AssistantBack,
    AssistantFinished,
};

// What both pages of the assistant share: font, title and modality, one size,
// the button row at the foot, and Escape, which does nothing there.
class AssistantPage : public QDialog {
    Q_OBJECT

public:
    void cmdCancel_Click();

    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdFinish = nullptr;

protected:
    AssistantPage(QWidget *parent, const QString &objectName);

    // What the page fills, top to bottom, before addButtonRow().
    QVBoxLayout *pageLayout() const { return m_layout; }
    // The separator and the button row below the page's contents; sizes the page.
    void addButtonRow();

    void keyPressEvent(QKeyEvent *event) override;

private:
    QVBoxLayout *m_layout = nullptr;
};

} // namespace lw
