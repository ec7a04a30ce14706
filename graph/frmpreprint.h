// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graph/frmprintout.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace lw {

struct GraphSettingsRecord;
struct Picture;

// What printing needs of the main window: its draw command, run onto the
// print-out with the print's own settings; it returns once the draw has ended.
using PrintDraw = std::function<void(Picture &printOut, GraphSettingsRecord &settings)>;

// frmPrePrint: the user sizes this window to the size the print-out is to
// have, then prints it or cancels.
class FrmPrePrint : public QDialog {
    Q_OBJECT
public:
    FrmPrePrint(QWidget *parent, PrintDraw draw);

    OuterTwips &outer() { return m_outer; }

    void Form_Resize();
    void cmdPrint_Click();
    void cmdCancel_Click();

    QLabel *lblNote = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdCancel = nullptr;
    // Checked: the whole picture goes to paper; cleared: the current equation alone.
    QCheckBox *chkAllCurves = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    PrintDraw m_draw;
    OuterTwips m_outer{this};
};

// The toolbar's "Print": opens the sizing window, modeless; it is destroyed on closing.
FrmPrePrint *OpenPrintDialog(QWidget *parent, PrintDraw draw);

} // namespace lw
