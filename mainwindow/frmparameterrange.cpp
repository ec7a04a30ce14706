// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmparameterrange.h"

#include "graph/family.h"
#include "settings/settingsfields.h"
#include "widgets/messages.h"
#include "widgets/named.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

namespace lw {

namespace {
QString valueText(double value)
{
    return QString::fromStdU16String(ParameterValueText(value, 6));
}
} // namespace

QString RangeRefusal(const ParameterRange &range)
{
    switch (CheckSliderRange(range)) {
    case SliderRangeFault::None: break;
    case SliderRangeFault::EndNotAboveStart:
        return QStringLiteral("„Von“ muss kleiner sein als „Bis“.");
    case SliderRangeFault::StepNotPositive:
        return QStringLiteral("Die Schrittweite muss größer als 0 sein.");
    case SliderRangeFault::TooManyPositions:
        return QStringLiteral("Die Schrittweite ist zu fein: der Regler hätte mehr als %1 "
                              "Stellungen.")
            .arg(GroupedNumber(MaximumSliderPositions));
    }
    return {};
}

FrmParameterRange::FrmParameterRange(QWidget *parent, int row, Purpose purpose,
                                     const ParameterRange &start)
    : QDialog(parent), m_purpose(purpose), m_chosen(start)
{
    const QString letter(QChar(u'a' + row));
    setObjectName(QStringLiteral("frmParameterRange"));
    setProperty("helpTopic", 19);
    setWindowTitle(purpose == Purpose::Range ? QStringLiteral("Bereich von %1").arg(letter)
                                             : QStringLiteral("Schar zeichnen: %1").arg(letter));
    auto *form = new QFormLayout(this);
    txtFrom = named(new QLineEdit(valueText(start.from), this), "txtFrom");
    txtTo = named(new QLineEdit(valueText(start.to), this), "txtTo");
    txtStep = named(new QLineEdit(valueText(start.step), this), "txtStep");
    form->addRow(QStringLiteral("Von:"), txtFrom);
    form->addRow(QStringLiteral("Bis:"), txtTo);
    form->addRow(QStringLiteral("Schrittweite:"), txtStep);
    auto *buttons = new QDialogButtonBox(this);
    cmdOK = named(buttons->addButton(purpose == Purpose::Range ? QStringLiteral("OK")
                                                               : QStringLiteral("Zeichnen"),
                                     QDialogButtonBox::AcceptRole),
                  "cmdOK");
    cmdCancel = named(buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole),
                      "cmdCancel");
    cmdOK->setDefault(true);
    form->addRow(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &FrmParameterRange::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<ParameterRange> FrmParameterRange::ask(QWidget *parent, int row, Purpose purpose,
                                                     const ParameterRange &start)
{
    FrmParameterRange dialog(parent, row, purpose, start);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.m_chosen;
}

void FrmParameterRange::cmdOK_Click()
{
    ParameterRange chosen;
    const std::pair<QLineEdit *, double *> fields[] = {
        {txtFrom, &chosen.from}, {txtTo, &chosen.to}, {txtStep, &chosen.step}};
    for (const auto &[field, value] : fields) {
        const std::optional<double> read = ReadNumberTextLenient(field->text());
        if (!read || !std::isfinite(*read)) {
            ShowError(EntryRefusal(field == txtFrom ? QStringLiteral("von")
                                   : field == txtTo ? QStringLiteral("bis")
                                                    : QStringLiteral("Schrittweite"),
                                   QStringLiteral("eine Zahl")));
            field->setFocus();
            return;
        }
        *value = *read;
    }
    QString refusal;
    if (m_purpose == Purpose::Range) {
        refusal = RangeRefusal(chosen);
    } else {
        switch (FamilyMembers(chosen).fault) {
        case FamilyFault::None: break;
        case FamilyFault::NoCurve:
            refusal = QStringLiteral("Mit dieser Schrittweite entsteht keine Kurve: sie muss von "
                                     "„von“ nach „bis“ führen.");
            break;
        case FamilyFault::TooMany:
            refusal = QStringLiteral("Die Schar hätte mehr als %1 Kurven; wählen Sie eine "
                                     "größere Schrittweite.")
                          .arg(MaxFamilyCurves);
            break;
        }
    }
    if (!refusal.isEmpty()) {
        ShowError(refusal);
        txtStep->setFocus();
        return;
    }
    m_chosen = chosen;
    accept();
}

} // namespace lw
