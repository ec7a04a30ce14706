#include "frmfassist2.h"

#include "facomplete.h"
#include "frmfassist.h"

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

FrmFAssist2::FrmFAssist2(QWidget *parent) : QDialog(parent)
{
    QVBoxLayout *layout = SetUpAssistantPage(this, QStringLiteral("frmFAssist2"));
    lblEnterVals = new QLabel(this);
    lblEnterVals->setObjectName(QStringLiteral("lblEnterVals"));
    layout->addWidget(lblEnterVals);

    auto *rows = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        lblDescription[i] = new QLabel(this);
        lblDescription[i]->setObjectName(QStringLiteral("lblDescription_%1").arg(i));
        txtValue[i] = new QLineEdit(QString::fromLatin1(InitialValues[i]), this);
        txtValue[i]->setObjectName(QStringLiteral("txtValue_%1").arg(i));
        txtValue[i]->setProperty("helpTopic", HelpValue);
        lblDescription[i]->setBuddy(txtValue[i]);
        rows->addWidget(lblDescription[i], i, 0);
        rows->addWidget(txtValue[i], i, 1);
    }
    rows->setColumnMinimumWidth(0, widestLabel(lblDescription[0]->fontMetrics()));
    rows->setColumnStretch(1, 1);
    layout->addLayout(rows);

    const AssistantButtons buttons = FinishAssistantPage(this, layout);
    cmdCancel = buttons.cmdCancel;
    cmdBack = buttons.cmdBack;
    cmdNext = buttons.cmdNext;
    cmdFinish = buttons.cmdFinish;
    cmdNext->setEnabled(false);
    connect(cmdBack, &QPushButton::clicked, this, &FrmFAssist2::cmdBack_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmFAssist2::cmdCancel_Click);
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
    lblEnterVals->setText(QStringLiteral("Bitte geben Sie die Werte zu ihrer ")
                          + GraphTypeName(FAGraphType) + QStringLiteral(" ein."));
    cmdFinish->setFocus();
}

void FrmFAssist2::cmdBack_Click()
{
    done(AssistantBack);
}

void FrmFAssist2::cmdCancel_Click()
{
    reject();
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

void FrmFAssist2::keyPressEvent(QKeyEvent *event)
{
    if (!SwallowEscape(event))
        QDialog::keyPressEvent(event);
}

} // namespace lw
