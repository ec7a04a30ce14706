// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "formula/variables.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace lw {

// Asks for "von", "bis" and "Schrittweite" of a parameter: the range its slider walks
// ("Bereich...") or the values of a family of curves ("Schar zeichnen...").
class FrmParameterRange : public QDialog {
    Q_OBJECT
public:
    enum class Purpose { Range, Family };

    FrmParameterRange(QWidget *parent, int row, Purpose purpose, const ParameterRange &start);

    // Shows the dialog modally; nullopt when cancelled.
    static std::optional<ParameterRange> ask(QWidget *parent, int row, Purpose purpose,
                                             const ParameterRange &start);

    QLineEdit *txtFrom = nullptr;
    QLineEdit *txtTo = nullptr;
    QLineEdit *txtStep = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    void cmdOK_Click();

    Purpose m_purpose;
    ParameterRange m_chosen;
};

// Why a row's slider cannot walk this range; empty when it can.
QString RangeRefusal(const ParameterRange &range);

} // namespace lw
