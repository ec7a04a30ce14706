// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmfassist2.h"

#include "facomplete.h"
#include "frmfassist.h"
#include "widgets/named.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace lw {

namespace {
constexpr int HelpValue = 25;

// The four initial values are the first four parameters of the variables panel.
const std::array<const char *, 4> InitialValues{"a", "b", "c", "d"};

// The row labels per kind of graph; a row without one is hidden.
const std::array<std::array<const char *, 4>, 4> RowLabels{{
    {"Steigungsfaktor:", "Y-Achsenabschnitt:", nullptr, nullptr},
    {"Streckfaktor:", "Verschiebung an der Y-Achse:", "Verschiebung an der X-Achse:", nullptr},
    {"Streckfaktor:", "Verschiebung an der Y-Achse:", "Verschiebung an der X-Achse:", nullptr},
    {"Streckung in Y-Richtung:", "Streckung in X-Richtung:", "Verschiebung an der Y-Achse:",
     "Verschiebung an der X-Achse:"},
}};

// The fields stand in one place for every kind of graph.
int widestLabel(const QFontMetrics &metrics)
{
    int widest = 0;
    for (const auto &labels : RowLabels) {
        for (const char *label : labels) {
            if (label)
                widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(label)));
        }
    }
    return widest;
}
} // namespace

FrmFAssist2::FrmFAssist2(QWidget *parent) : AssistantPage(parent, QStringLiteral("frmFAssist2"))
{
    lblEnterVals = named(new QLabel(this), QStringLiteral("lblEnterVals"));
    pageLayout()->addWidget(lblEnterVals);

    auto *rows = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        lblDescription[i] = named(new QLabel(this), QStringLiteral("lblDescription_%1").arg(i));
        txtValue[i] = named(new QLineEdit(QString::fromLatin1(InitialValues[i]), this),
                            QStringLiteral("txtValue_%1").arg(i), HelpValue);
        lblDescription[i]->setBuddy(txtValue[i]);
        // Return after the last value finishes, as "Fertigstellen" does.
        connect(txtValue[i], &QLineEdit::returnPressed, this, [this] { cmdFinish->click(); });
        rows->addWidget(lblDescription[i], i, 0);
        rows->addWidget(txtValue[i], i, 1);
    }
    rows->setColumnMinimumWidth(0, widestLabel(lblDescription[0]->fontMetrics()));
    rows->setColumnStretch(1, 1);
    pageLayout()->addLayout(rows);

    addButtonRow();
    cmdNext->setEnabled(false);
    connect(cmdBack, &QPushButton::clicked, this, &FrmFAssist2::cmdBack_Click);
    connect(cmdFinish, &QPushButton::clicked, this, &FrmFAssist2::cmdFinish_Click);
}

void FrmFAssist2::Form_Load()
{
    if (FAGraphType >= 1 && FAGraphType <= 4) {
        const auto &labels = RowLabels[FAGraphType - 1];
        for (int i = 0; i < 4; ++i) {
            lblDescription[i]->setText(QString::fromUtf8(labels[i] ? labels[i] : ""));
            lblDescription[i]->setVisible(labels[i] != nullptr);
            txtValue[i]->setVisible(labels[i] != nullptr);
        }
    }
    lblEnterVals->setText(QStringLiteral("Bitte geben Sie die Werte zu Ihrer ")
                          + GraphTypeName(FAGraphType) + QStringLiteral(" ein."));
    cmdFinish->setFocus();
}

void FrmFAssist2::cmdBack_Click()
{
    done(AssistantBack);
}

void FrmFAssist2::cmdFinish_Click()
{
    FAComplete();
}

void FrmFAssist2::FAComplete()
{
    std::array<QString, 4> rows;
    for (int i = 0; i < 4; ++i)
        rows[i] = txtValue[i]->text();
    m_equation = lw::FAComplete(FAGraphType, rows);
    done(AssistantFinished);
}

} // namespace lw
