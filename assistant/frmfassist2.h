// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "assistantpage.h"

#include <QString>

#include <array>

class QLabel;
class QLineEdit;

namespace lw {

// Page 2: the values of the template chosen on page 1 (FAGraphType).
class FrmFAssist2 : public AssistantPage {
    Q_OBJECT

public:
    explicit FrmFAssist2(QWidget *parent = nullptr);

    void Form_Load();
    void cmdBack_Click();
    void cmdFinish_Click();
    void FAComplete();

    // What "Fertigstellen" composed; empty before.
    QString equation() const { return m_equation; }

    QLabel *lblEnterVals = nullptr;
    std::array<QLabel *, 4> lblDescription{};
    std::array<QLineEdit *, 4> txtValue{};

private:
    QString m_equation;
};

} // namespace lw
