// SPDX-License-Identifier: GPL-3.0-or-later
// Printing. The whole picture goes to paper by default: the coordinate system and every visible
// curve of the screen's picture, drawn anew at the print-out's size. A print of the current
// equation alone (the box cleared, or a picture without curves) is drawn by the main window's
// draw command itself, not by the coordinate system and the plotter alone, because such a
// print is a draw in all but its picture: it reads the equation, the parameters and the quick
// options as a press of "Zeichnen" does, shows the same messages (a blank page follows them),
// and while a screen draw runs it is that draw's stop press.

#include "frmpreprint.h"

#include "graph/curvelist.h"
#include "graph/graphdraw.h"
#include "graph/printjob.h"
#include "settings/graphsettings.h"
#include "widgets/twips.h"
#include "widgets/uiresources.h"

#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <limits>
#include <memory>

namespace lw {

namespace {

// The print-out window is this much larger than the sizing window, each way (twips).
constexpr int PrintOutMargin = 200;

// A second "Drucken" while a print draws or is handed over waits for nothing: it is ignored.
bool printing = false;

void printOut(QSize sizingOuter, const PrintDraw &draw, bool allCurves,
              const std::function<void()> &closeSizingWindow)
{
    auto window = std::make_unique<FrmPrintOut>();
    window->show();
    window->outer().setHeight(sizingOuter.height() + PrintOutMargin);
    window->outer().setWidth(sizingOuter.width() + PrintOutMargin);
    closeSizingWindow();
    const QSize outer = window->outer().size();
    const QSize picture(GraphPixels(outer.width(), TwipsPerPixelX()),
                        GraphPixels(outer.height(), TwipsPerPixelY()));
    window->setPicturePixels(picture);
    // The print-out gets the settings as they stand, its numbers in black. What its draw takes
    // from the quick options stays with it: the screen's axes still show the settings' centre.
    GraphSettingsRecord settings = PaperSettings(GraphSettings);
    printing = true;
    const std::vector<CurveEntry> &curves = ScreenPicture().curves;
    if (allCurves && !curves.empty()) {
        window->picture().curves = curves;
        window->picture().marks = ScreenPicture().marks;
        RedrawPicture(window->picture(), settings);
    } else {
        draw(window->picture(), settings);
    }
    const QSizeF inches(picture.width() * TwipsPerPixelX() / 1440,
                        picture.height() * TwipsPerPixelY() / 1440);
    PrintPicture({window->image(), inches, window.get()});
    printing = false;
    window->close();
}

} // namespace

FrmPrePrint::FrmPrePrint(QWidget *parent, PrintDraw draw) : QDialog(parent), m_draw(std::move(draw))
{
    InitUiResources();
    setFont(DesignFont());
    setObjectName(QStringLiteral("frmPrePrint"));
    setWindowTitle(QStringLiteral("Drucken"));
    setWindowIcon(QIcon(QStringLiteral(":/linienwerk.svg")));
    setAttribute(Qt::WA_DeleteOnClose);

    lblNote = new QLabel(QStringLiteral("Skalieren Sie dieses Fenster auf die Größe, die der des "
                                        "Ausdrucks entsprechen soll."),
                         this);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);
    lblNote->setGeometry(TwipsRect(120, 120, 3975, 615));
    cmdPrint = new QPushButton(QStringLiteral("Drucken"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setGeometry(TwipsRect(240, 960, 1215, 375));
    cmdPrint->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(TwipsRect(1920, 960, 1215, 375));
    chkAllCurves = new QCheckBox(QStringLiteral("Alle Kurven des Bildes drucken"), this);
    chkAllCurves->setObjectName(QStringLiteral("chkAllCurves"));
    chkAllCurves->setGeometry(TwipsRect(240, 1440, 3855, 255));
    chkAllCurves->setChecked(true);
    // The label between them takes no focus.
    QWidget::setTabOrder(cmdPrint, cmdCancel);
    QWidget::setTabOrder(cmdCancel, chkAllCurves);
    cmdPrint->setFocus();
    connect(cmdPrint, &QPushButton::clicked, this, &FrmPrePrint::cmdPrint_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmPrePrint::cmdCancel_Click);

    m_outer.setSize(QSize(5790 + NonClientWidth, 4500 + NonClientHeight));
}

void FrmPrePrint::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void FrmPrePrint::Form_Resize()
{
    if (isMinimized())
        return;
    const QSize outer = m_outer.size();
    if (outer.height() > outer.width())
        m_outer.setWidth(outer.height());
    else if (outer.width() > outer.height())
        m_outer.setHeight(outer.width());
}

void FrmPrePrint::cmdPrint_Click()
{
    if (printing)
        return;
    // Closing only schedules the deletion; still, nothing of this window is used after it.
    const PrintDraw draw = m_draw;
    QPointer<FrmPrePrint> self(this);
    printOut(m_outer.size(), draw, chkAllCurves->isChecked(), [self] {
        if (self)
            self->close();
    });
}

void FrmPrePrint::cmdCancel_Click()
{
    close();
}

FrmPrePrint *OpenPrintDialog(QWidget *parent, PrintDraw draw)
{
    auto *window = new FrmPrePrint(parent, std::move(draw));
    window->show();
    return window;
}

} // namespace lw
