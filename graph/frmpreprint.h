#pragma once

#include "graph/frmprintout.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace lw {

// What printing needs of the main window.
struct PrintCommands {
    // Presses the main window's Draw button; returns once the press has been handled.
    std::function<void()> pressDraw;
    // The screen picture's size in pixels, as the window's layout set it.
    std::function<QSize()> screenPictureSize;
};

// frmPrePrint: the user sizes this window to the size the print-out is to
// have, then prints it or cancels.
class FrmPrePrint : public QDialog {
    Q_OBJECT
public:
    FrmPrePrint(QWidget *parent, PrintCommands commands);

    OuterTwips &outer() { return m_outer; }

    void Form_Resize();
    void cmdPrint_Click();
    void cmdCancel_Click();

    QLabel *lblNote = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdCancel = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    PrintCommands m_commands;
    OuterTwips m_outer{this};
};

// The toolbar's "Print": opens the sizing window, modeless; it is destroyed on closing.
FrmPrePrint *OpenPrintDialog(QWidget *parent, std::function<void()> pressDraw,
                             std::function<QSize()> screenPictureSize);

} // namespace lw
