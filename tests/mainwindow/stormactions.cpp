// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/mainwindow/storm.h"

#include "assistant/frmfassist.h"
#include "gph/cdlload.h"
#include "gph/gphcodec.h"
#include "gph/gphfile.h"
#include "graph/frmpreprint.h"
#include "graph/printjob.h"
#include "help/frmhelp.h"
#include "help/helpfile.h"
#include "mainwindow/picturemenu.h"
#include "mainwindow/toolbar.h"
#include "mainwindow/variablespanel.h"
#include "settings/frmgraphoptions.h"
#include "settings/options.h"
#include "tests/support/pdfprinttarget.h"
#include "widgets/colourchooser.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>
#include <QWheelEvent>

#include <cstdio>
#include <functional>
#include <map>
#include <random>

namespace lw::testing {

// The main window's own controls.
void Storm::buildActions()
{
    act(8, "Draw", [this] { pressDraw(); });
    act(1, "Enter", [this] { QTest::keyClick(window->txtTerm, Qt::Key_Return); });
    for (const ToolbarButton &button : ToolbarButtons)
        act(1, button.key, [this, key = button.key] { toolbarClick(key); });
    act(2, "Print", [this] { toolbarClick("Print"); });
    act(4, "txtTerm", [this] { window->txtTerm->setText(pick(Terms)); });
    act(1, "typing", [this] { QTest::keyClicks(window->txtTerm, QStringLiteral("+x^2")); });
    act(3, "txtPrecision", [this] { window->txtPrecision->setText(pick(Precisions)); });
    act(2, "centre", [this] {
        (chance(2) ? window->txtScreenCentralX : window->txtScreenCentralY)->setText(pick(Centres));
    });
    act(2, "switches", [this] {
        const QList<QAbstractButton *> switches = {window->chkLinkPoints, window->chkAlwaysDelete,
                                                   window->chkAutoConvert, window->optTermFormat[0],
                                                   window->optTermFormat[1]};
        pick(switches)->click();
    });
    act(2, "variables", [this] {
        VariablesPanel &panel = *window->picVariables;
        const int row = between(0, 7);
        if (chance(2))
            panel.chkVarName[row]->click();
        else
            panel.txtVarValue[row]->setText(pick(VariableValues));
    });
    act(2, "slider", [this] {
        VariablesPanel &panel = *window->picVariables;
        panel.sldVarValue[between(0, 7)]->setValue(between(0, 100));
    });
    act(1, "animation", [this] {
        VariablesPanel &panel = *window->picVariables;
        if (panel.animating())
            QTest::keyClick(window.get(), Qt::Key_Escape);
        else
            panel.startAnimation(between(0, 7));
    });
    act(1, "family", [this] {
        const double from = between(-3, 3);
        window->DrawFamily(between(0, 7), {from, from + between(0, 6), 1});
    });
    act(1, "Mehr...", [this] { window->cmdMoreGraphOptions->click(); });
}

// The picture and the window's size.
void Storm::buildPictureActions()
{
    act(1, "picture out", [this] {
        (chance(2) ? window->mnuPicture->actCopyPicture : window->mnuPicture->actSavePicture)
            ->trigger();
    });
    act(2, "resize", [this] { window->resize(between(150, 1400), between(100, 1000)); });
    act(1, "undo", [this] { window->Undo(); });
    act(1, "view keys", [this] {
        QTest::keyClick(window->picGraph,
                        pick(std::array{Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Left, Qt::Key_Home}));
    });
    act(1, "wheel", [this] {
        const QPointF at(between(0, window->picGraph->width()),
                         between(0, window->picGraph->height()));
        QWheelEvent wheel(at, window->picGraph->mapToGlobal(at), {}, {0, chance(2) ? 120 : -120},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window->picGraph, &wheel);
    });
    act(1, "drag", [this] {
        const QPoint from(between(0, 300), between(0, 300));
        QTest::mousePress(window->picGraph, Qt::LeftButton, {}, from);
        for (int move = 1; move <= 3; ++move)
            QTest::mouseMove(window->picGraph, from + QPoint(between(-60, 60), between(-60, 60)));
        QTest::mouseRelease(window->picGraph, Qt::LeftButton, {}, from);
    });
    act(1, "minimise", [this] {
        if (window->isMinimized())
            window->showNormal();
        else
            window->showMinimized();
    });
}

// The windows the main window opens, and the pointer.
void Storm::buildOtherWindowActions()
{
    act(4, "sizing window", [this] {
        FrmPrePrint *sizing = openSizingWindow();
        if (!sizing)
            return;
        switch (rng() % 4) {
        case 0: sizing->cmdCancel->click(); break;
        case 1: sizing->resize(between(120, 700), between(80, 600)); break;
        default: sizing->cmdPrint->click(); break;
        }
    });
    act(1, "F1", [this] { QTest::keyClick(anyControl(), Qt::Key_F1); });
    act(1, "close help", [] {
        if (FrmHelp *help = HelpWindow())
            help->close();
    });
    act(1, "what's this", [this] {
        if (QWhatsThis::inWhatsThisMode())
            QTest::mouseClick(anyControl(), Qt::LeftButton);
    });
    act(1, "pointer", [this] {
        QWidget *over = chance(2) ? static_cast<QWidget *>(window->cmdDraw) : window->picOptions;
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), over->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(over, &move);
    });
    act(1, "status bar", [this] {
        if (chance(4))
            QTest::mouseDClick(window->sbrMain, Qt::LeftButton);
    });
    act(1, "close", [this] { close(); });
}

} // namespace lw::testing
