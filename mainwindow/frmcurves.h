// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace lw {

class FrmMain;

// "Kurven": the curves of the screen's picture, one row each with its colour and equation as
// typed. Unticking a row hides its curve, Del or "Löschen" takes it off the picture, and a
// double-click puts its equation, notation and parameters back into the main window.
// "Rückgängig" and "Wiederholen" (and their keys) walk the picture's history as in the main
// window.
class FrmCurves : public QWidget {
    Q_OBJECT
public:
    explicit FrmCurves(FrmMain &main);

    // Shows the main window's one list, made on first use, and brings it to the front.
    static FrmCurves &open(FrmMain &main);
    // Rows as the picture's curves are now.
    void refresh();

    QListWidget *lstCurves = nullptr;
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdUndo = nullptr;
    QPushButton *cmdRedo = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showCurve(QListWidgetItem *item);
    void removeCurrent();
    void restore(QListWidgetItem *item);

    FrmMain &m_main;
};

} // namespace lw
