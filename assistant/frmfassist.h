#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class QKeyEvent;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace lw {

// The kind of graph last chosen, 1 to 4 (0 before the first choice): page 1
// writes it, page 2 reads it, and it outlives both.
extern int16_t FAGraphType;

// How a page of the assistant was left: what its exec() returns.
enum AssistantOutcome : int {
    AssistantCancelled = QDialog::Rejected,
    AssistantNext = 2,
    AssistantBack,
    AssistantFinished,
};

// The caption of the kind of graph (1 to 4) on page 1, its name on page 2.
QString GraphTypeName(int graphType);

// Runs the assistant from page 1 over the main window `parent`; the
// equation composed on page 2, or nullopt when the user cancelled.
std::optional<QString> RunFunctionAssistant(QWidget *parent);

// The button row both pages share, left to right.
struct AssistantButtons {
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdFinish = nullptr;
};

// Font, title and modality of a page; its layout, which the page fills.
QVBoxLayout *SetUpAssistantPage(QDialog *page, const QString &objectName);
// The separator and the button row at the foot of a page; sizes the page.
AssistantButtons FinishAssistantPage(QDialog *page, QVBoxLayout *layout);
// No button of the assistant is a cancel button: true for Escape, which then does nothing.
bool SwallowEscape(QKeyEvent *event);

// Page 1: the kind of graph.
class FrmFAssist : public QDialog {
    Q_OBJECT

public:
    explicit FrmFAssist(QWidget *parent = nullptr);

    void Form_Load();
    void cmdNext_Click();
    void cmdCancel_Click();

    QLabel *lblWelcome = nullptr;
    std::array<QRadioButton *, 4> optGType{};
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdFinish = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace lw
