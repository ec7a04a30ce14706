// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "analysis/curvepoints.h"
#include "analysis/preparedformula.h"
#include "graph/curveentry.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

namespace lw {

class FrmMain;

// "Kurvendiskussion": the points of a curve of the picture on the calculation range, its first
// and second derivative, and where it meets another curve. A click on a row marks the point on
// the picture; "Ableitung zeichnen" adds f' (and f'') to the picture's curves.
class FrmAnalysis : public QWidget {
    Q_OBJECT
public:
    explicit FrmAnalysis(FrmMain &main);

    // Shows the main window's one analysis, made on first use, for its newest curve.
    static FrmAnalysis &open(FrmMain &main);
    // The picture's curves have changed: the choice of curves follows, and the analysis.
    void refresh();

    QComboBox *cboCurve = nullptr;
    QComboBox *cboOther = nullptr;
    QLabel *lblFirst = nullptr;
    QLabel *lblSecond = nullptr;
    QLabel *lblRange = nullptr;
    QTableWidget *tblPoints = nullptr;
    QCheckBox *chkSecond = nullptr;
    QPushButton *cmdDrawDerivative = nullptr;
    QPushButton *cmdValueTable = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void analyse();
    void showPoints();
    void markRow(int row);
    void drawDerivative();
    const CurveEntry *chosen(const QComboBox *box) const;
    uint64_t chosenId(const QComboBox *box) const;

    FrmMain &m_main;
    PreparedFormulas m_prepared;
    std::vector<CurvePoint> m_points;
    uint64_t m_curve = 0; // the entry the points belong to
    // What the points shown were found for: the curve, the other curve, the calculation range.
    struct Analysed {
        uint64_t curve = 0;
        uint64_t other = 0;
        float from = 0;
        float to = 0;
        bool operator==(const Analysed &) const = default;
    };
    Analysed m_analysed{~uint64_t(0)};
    // A slider drag changes the curve at every move: the analysis waits until the moves pause.
    QTimer *m_analyseLater = nullptr;
};

} // namespace lw
