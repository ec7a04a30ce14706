// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window tests' fixture: a fresh main window and what its tests type, click and look at.

#include "tests/support/windowtesting.h"

#include "mainwindow/drawcommand.h"
#include "mainwindow/frmmain.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>

namespace lw::testing {

class MainWindow : public WindowTest {
protected:
    void draw(const QString &term)
    {
        window->txtTerm->setText(term);
        window->cmdDraw->click();
    }
    // Whether the curve colour covers row `row` from column `from` to `to`.
    bool curveRow(int row, int from, int to)
    {
        for (int x = from; x <= to; ++x) {
            if (pixel(x, row) != lw::testing::CurveColour)
                return false;
        }
        return true;
    }
    void moveOver(QWidget *widget, QPoint position = QPoint(2, 2))
    {
        QMouseEvent move(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
    QString status() const { return window->sbrMain->currentMessage(); }
    // A draw of "2" has put its first pixels on the picture and is far from its end.
    bool drawUnderWay() { return DrawInProgress() && pixel(3, 120) == lw::testing::CurveColour; }
};

} // namespace lw::testing
