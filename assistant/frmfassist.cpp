// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmfassist.h"

#include "frmfassist2.h"
#include "widgets/named.h"
#include "widgets/twips.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lw {

int16_t FAGraphType = 0;

namespace {
constexpr int TypeIndent = 240;
constexpr int HelpOption = 20;

// Each page is created when shown and destroyed when left; a page that the
// parent took with it counts as cancelled.
int runPage1(QWidget *parent)
{
    QPointer<FrmFAssist> page = new FrmFAssist(parent);
    page->Form_Load();
    const int outcome = page->exec();
    delete page.data();
    return outcome;
}

int runPage2(QWidget *parent, QString &equation)
{
    QPointer<FrmFAssist2> page = new FrmFAssist2(parent);
    page->Form_Load();
    const int outcome = page->exec();
    if (!page)
        return AssistantCancelled;
    equation = page->equation();
    delete page.data();
    return outcome;
}
} // namespace

QString GraphTypeName(int graphType)
{
    static const std::array<const char *, 4> names{"Gerade", "Parabel", "Hyperbel", "Sinuskurve"};
    if (graphType < 1 || graphType > 4)
        return {};
    return QString::fromLatin1(names[graphType - 1]);
}

std::optional<QString> RunFunctionAssistant(QWidget *parent)
{
    // Each page has ended before the next one runs, so going back and forth never nests.
    while (runPage1(parent) == AssistantNext) {
        QString equation;
        const int outcome = runPage2(parent, equation);
        if (outcome == AssistantFinished)
            return equation;
        if (outcome != AssistantBack)
            break;
    }
    return std::nullopt;
}

FrmFAssist::FrmFAssist(QWidget *parent) : AssistantPage(parent, QStringLiteral("frmFAssist"))
{
    lblWelcome = named(new QLabel(this), QStringLiteral("lblWelcome"));
    lblWelcome->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pageLayout()->addWidget(lblWelcome);

    auto *options = new QVBoxLayout;
    options->setContentsMargins(TwipsToPixelsX(TypeIndent), 0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        optGType[i] = named(new QRadioButton(GraphTypeName(i + 1), this),
                            QStringLiteral("optGType_%1").arg(i), HelpOption);
        options->addWidget(optGType[i]);
    }
    optGType[0]->setChecked(true);
    pageLayout()->addLayout(options);

    addButtonRow();
    cmdBack->setEnabled(false);
    connect(cmdNext, &QPushButton::clicked, this, &FrmFAssist::cmdNext_Click);
}

void FrmFAssist::Form_Load()
{
    lblWelcome->setText(QStringLiteral("Willkommen zum Funktions-Assistenten.") + "\r\n"
                        + QStringLiteral("Bitte wählen Sie eine Schaubildart aus:"));
}

void FrmFAssist::cmdNext_Click()
{
    for (int i = 0; i < 4; ++i) {
        if (optGType[i]->isChecked())
            FAGraphType = static_cast<int16_t>(i + 1);
    }
    done(AssistantNext);
}

} // namespace lw
