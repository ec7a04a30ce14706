// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "assistantpage.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class QLabel;
class QRadioButton;

namespace lw {

// The kind of graph last chosen, 1 to 4 (0 before the first choice): page 1
// writes it, page 2 reads it, and it outlives both.
extern int16_t FAGraphType;

// The caption of the kind of graph (1 to 4) on page 1, its name on page 2.
QString GraphTypeName(int graphType);

// Runs the assistant from page 1 over the main window `parent`; the
// equation composed on page 2, or nullopt when the user cancelled.
std::optional<QString> RunFunctionAssistant(QWidget *parent);

// Page 1: the kind of graph.
class FrmFAssist : public AssistantPage {
    Q_OBJECT

public:
    explicit FrmFAssist(QWidget *parent = nullptr);

    void Form_Load();
    void cmdNext_Click();

    QLabel *lblWelcome = nullptr;
    std::array<QRadioButton *, 4> optGType{};
};

} // namespace lw
