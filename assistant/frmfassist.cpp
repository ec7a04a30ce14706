#include "frmfassist.h"

#include "frmfassist2.h"
#include "widgets/twips.h"
#include "widgets/uiresources.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lw {

int16_t FAGraphType = 0;

namespace {
// Both pages have one size, so that one replaces the other in the same place.
constexpr int PageWidth = 5400;
constexpr int PageHeight = 3150;
constexpr int ButtonWidth = 1215;
constexpr int TypeIndent = 240;
constexpr int HelpOption = 20;
constexpr int HelpCancel = 21;
constexpr int HelpBack = 22;
constexpr int HelpNext = 23;
constexpr int HelpFinish = 24;

// Enter presses the button that has the focus, as in a platform dialog.
class RowButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && !(event->modifiers() & ~Qt::KeypadModifier))
            click();
        else
            QPushButton::keyPressEvent(event);
    }
};

QPushButton *rowButton(QDialog *page, const char *name, const QString &caption, int helpTopic)
{
    auto *button = new RowButton(caption, page);
    button->setObjectName(QString::fromLatin1(name));
    button->setProperty("helpTopic", helpTopic);
    // An auto-default button would become the page's default, which Enter in a field presses.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setMinimumWidth(TwipsToPixelsX(ButtonWidth));
    return button;
}

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

QVBoxLayout *SetUpAssistantPage(QDialog *page, const QString &objectName)
{
    page->setObjectName(objectName);
    page->setFont(DesignFont());
    page->setWindowTitle(QStringLiteral("Funktions-Assistent"));
    page->setModal(true);
    return new QVBoxLayout(page);
}

AssistantButtons FinishAssistantPage(QDialog *page, QVBoxLayout *layout)
{
    auto *separator = new QFrame(page);
    separator->setObjectName(QStringLiteral("linSeparator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    layout->addStretch();
    layout->addWidget(separator);

    AssistantButtons buttons;
    buttons.cmdCancel = rowButton(page, "cmdCancel", QStringLiteral("Abbrechen"), HelpCancel);
    buttons.cmdBack = rowButton(page, "cmdBack", QStringLiteral("< Zurück"), HelpBack);
    buttons.cmdNext = rowButton(page, "cmdNext", QStringLiteral("Weiter >"), HelpNext);
    buttons.cmdFinish = rowButton(page, "cmdFinish", QStringLiteral("Fertigstellen"), HelpFinish);
    auto *row = new QHBoxLayout;
    row->addWidget(buttons.cmdCancel);
    row->addStretch();
    row->setSpacing(0);
    row->addWidget(buttons.cmdBack);
    row->addWidget(buttons.cmdNext);
    row->addSpacing(layout->spacing() * 2);
    row->addWidget(buttons.cmdFinish);
    layout->addLayout(row);

    const QSize designed(TwipsToPixelsX(PageWidth), TwipsToPixelsY(PageHeight));
    page->setFixedSize(designed.expandedTo(layout->sizeHint()));
    return buttons;
}

bool SwallowEscape(QKeyEvent *event)
{
    if (!event->matches(QKeySequence::Cancel))
        return false;
    event->accept();
    return true;
}

FrmFAssist::FrmFAssist(QWidget *parent) : QDialog(parent)
{
    QVBoxLayout *layout = SetUpAssistantPage(this, QStringLiteral("frmFAssist"));
    lblWelcome = new QLabel(this);
    lblWelcome->setObjectName(QStringLiteral("lblWelcome"));
    lblWelcome->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(lblWelcome);

    auto *options = new QVBoxLayout;
    options->setContentsMargins(TwipsToPixelsX(TypeIndent), 0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        optGType[i] = new QRadioButton(GraphTypeName(i + 1), this);
        optGType[i]->setObjectName(QStringLiteral("optGType_%1").arg(i));
        optGType[i]->setProperty("helpTopic", HelpOption);
        options->addWidget(optGType[i]);
    }
    optGType[0]->setChecked(true);
    layout->addLayout(options);

    const AssistantButtons buttons = FinishAssistantPage(this, layout);
    cmdCancel = buttons.cmdCancel;
    cmdBack = buttons.cmdBack;
    cmdNext = buttons.cmdNext;
    cmdFinish = buttons.cmdFinish;
    cmdBack->setEnabled(false);
    connect(cmdNext, &QPushButton::clicked, this, &FrmFAssist::cmdNext_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmFAssist::cmdCancel_Click);
}

void FrmFAssist::Form_Load()
{
    lblWelcome->setText(QStringLiteral("Wilkommen zum Funktions-Assistenten.") + "\r\n"
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

void FrmFAssist::cmdCancel_Click()
{
    reject();
}

void FrmFAssist::keyPressEvent(QKeyEvent *event)
{
    if (!SwallowEscape(event))
        QDialog::keyPressEvent(event);
}

} // namespace lw
