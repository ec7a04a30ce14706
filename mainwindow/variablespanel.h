#pragma once

#include "formula/variables.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace lw {

// picVariables: one row per parameter a to h, a check box naming the letter
// and a box holding its value. The panel's enabled state is the edit mode.
class VariablesPanel : public QWidget {
    Q_OBJECT
public:
    explicit VariablesPanel(QWidget *parent = nullptr);

    // Rows 1 to 7 as copies of row 0, at start-up.
    void CreateRows();
    VariableValues values() const;

    QLabel *Label1 = nullptr;
    std::array<QCheckBox *, 8> chkVarName{};
    std::array<QLineEdit *, 8> txtVarValue{};
};

} // namespace lw
