// SPDX-License-Identifier: GPL-3.0-or-later

#include "assistantpage.h"

#include "widgets/named.h"
#include "widgets/twips.h"
#include "widgets/uiresources.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace lw {

namespace {
// Both pages have one size, so that one replaces the other in the same place.
constexpr int PageWidth = 5400;
constexpr int PageHeight = 3150;
constexpr int ButtonWidth = 1215;
// The help topics of the buttons, left to right.
enum ButtonHelp : int { HelpCancel = 21, HelpBack, HelpNext, HelpFinish };

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
    auto *button = named(new RowButton(caption, page), QString::fromLatin1(name), helpTopic);
    // An auto-default button would become the page's default, which Enter in a field presses.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setMinimumWidth(TwipsToPixelsX(ButtonWidth));
    return button;
}
} // namespace

AssistantPage::AssistantPage(QWidget *parent, const QString &objectName) : QDialog(parent)
{
    setObjectName(objectName);
    setFont(DesignFont());
    setWindowTitle(QStringLiteral("Funktions-Assistent"));
    setModal(true);
    m_layout = new QVBoxLayout(this);
}

void AssistantPage::addButtonRow()
{
    auto *separator = named(new QFrame(this), QStringLiteral("linSeparator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    m_layout->addStretch();
    m_layout->addWidget(separator);

    cmdCancel = rowButton(this, "cmdCancel", QStringLiteral("Abbrechen"), HelpCancel);
    cmdBack = rowButton(this, "cmdBack", QStringLiteral("< Zurück"), HelpBack);
    cmdNext = rowButton(this, "cmdNext", QStringLiteral("Weiter >"), HelpNext);
    cmdFinish = rowButton(this, "cmdFinish", QStringLiteral("Fertigstellen"), HelpFinish);
    auto *row = new QHBoxLayout;
    row->addWidget(cmdCancel);
    row->addStretch();
    row->setSpacing(0);
    row->addWidget(cmdBack);
    row->addWidget(cmdNext);
    row->addSpacing(m_layout->spacing() * 2);
    row->addWidget(cmdFinish);
    m_layout->addLayout(row);
    connect(cmdCancel, &QPushButton::clicked, this, &AssistantPage::cmdCancel_Click);

    const QSize designed(TwipsToPixelsX(PageWidth), TwipsToPixelsY(PageHeight));
    setFixedSize(designed.expandedTo(m_layout->sizeHint()));
}

void AssistantPage::cmdCancel_Click()
{
    reject();
}

void AssistantPage::keyPressEvent(QKeyEvent *event)
{
    // Esc leaves the assistant as "Abbrechen" does: a pupil at the keyboard has no other way out.
    if (event->matches(QKeySequence::Cancel))
        cmdCancel->click();
    else
        QDialog::keyPressEvent(event);
}

} // namespace lw
