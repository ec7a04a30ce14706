// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "analysis/analysis.h"
#include "analysis/preparedformula.h"
#include "graph/curveentry.h"

#include <QWidget>

#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace lw {

class FrmMain;

// "Wertetabelle": x, f(x) and, if asked for, f'(x) of one curve from, to and in steps the pupil
// chooses (at first the picture's visible range in the steps of its numbers). "Kopieren" puts it
// on the clipboard as tab-separated text with decimal commas, which pastes into a spreadsheet;
// "Speichern unter..." writes it as CSV.
class FrmValueTable : public QWidget {
    Q_OBJECT
public:
    FrmValueTable(FrmMain &main, const CurveEntry &curve);
    ~FrmValueTable() override;

    // Shows the main window's one table, made on first use, for this curve.
    static FrmValueTable &open(FrmMain &main, const CurveEntry &curve);
    void setCurve(const CurveEntry &curve);
    // The table as text: a heading line, then a line a row, the columns split by `separator`.
    QString tableText(QChar separator) const;

    QLabel *lblFunction = nullptr;
    QLineEdit *txtFrom = nullptr;
    QLineEdit *txtTo = nullptr;
    QLineEdit *txtStep = nullptr;
    QCheckBox *chkSlope = nullptr;
    QTableWidget *tblValues = nullptr;
    QLabel *lblNote = nullptr;
    QPushButton *cmdCopy = nullptr;
    QPushButton *cmdSave = nullptr;

private:
    void fill();
    void save();

    FrmMain &m_main;
    CurveEntry m_curve;
    std::unique_ptr<const PreparedFormula> m_prepared; // m_curve's formula
    std::vector<TableRow> m_rows;
};

} // namespace lw
