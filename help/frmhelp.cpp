// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmhelp.h"

#include "helpfile.h"
#include "widgets/messages.h"
#include "widgets/twips.h"
#include "widgets/uiresources.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace lw {

namespace {

const char FilterName[] = "lwContextHelp";

QPointer<FrmHelp> &sharedWindow()
{
    static QPointer<FrmHelp> window;
    return window;
}

QString topicHtml(const HelpTopic &topic)
{
    QString html = QStringLiteral("<h3>%1</h3>").arg(topic.title.toHtmlEscaped());
    for (const QString &paragraph : topic.text.split(u'\n'))
        html += QStringLiteral("<p>%1</p>").arg(paragraph.toHtmlEscaped());
    return html;
}

// A modal dialog blocks every window but its own children, so the help joins it.
QWidget *ownerFor(QWidget *requester)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    QWidget *owner = requester ? requester->window() : nullptr;
    return owner == sharedWindow() ? nullptr : owner;
}

FrmHelp *helpWindowFor(QWidget *requester)
{
    QPointer<FrmHelp> &window = sharedWindow();
    QWidget *owner = ownerFor(requester);
    if (!window) {
        window = new FrmHelp(owner);
        // Without an owner it would outlive the main window; the program's end takes it along.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, &QObject::deleteLater);
    } else if (owner && window->parentWidget() != owner) {
        const QSize size = window->size();
        window->setParent(owner, window->windowFlags());
        window->resize(size);
    }
    return window;
}

std::optional<HelpTopic> loadTopic(int number)
{
    const QString path = HelpFilePath();
    const QString shown = QDir::toNativeSeparators(path);
    const HelpFileRead read = ReadHelpFile(path);
    if (read.status == HelpFileStatus::Missing) {
        ShowError(HelpFileMissingMessage(shown));
        return std::nullopt;
    }
    if (read.status == HelpFileStatus::Unreadable) {
        ShowError(HelpFileUnreadableMessage(shown));
        return std::nullopt;
    }
    for (const HelpProblem &problem : read.file.problems)
        qWarning("%s:%d: %s", qPrintable(shown), problem.line, qPrintable(problem.description));
    std::optional<HelpTopic> topic = read.file.FindTopic(number);
    if (!topic)
        ShowError(HelpTopicMissingMessage(shown, number));
    return topic;
}

class ContextHelpFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool helpKey(QWidget *widget, const QKeyEvent *key);
    bool whatsThis(QWidget *widget, QEvent *event);
};

bool ContextHelpFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::KeyPress: return helpKey(widget, static_cast<QKeyEvent *>(event));
    case QEvent::QueryWhatsThis:
    case QEvent::WhatsThis: return whatsThis(widget, event);
    default: return false;
    }
}

bool ContextHelpFilter::helpKey(QWidget *widget, const QKeyEvent *key)
{
    if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const int topic = HelpTopicOf(widget);
    if (!topic)
        return false;
    ShowHelpTopic(topic, widget);
    return true;
}

// Qt asks with QueryWhatsThis while the pointer moves and sends WhatsThis on
// the click; an unanswered click ends the mode by itself.
bool ContextHelpFilter::whatsThis(QWidget *widget, QEvent *event)
{
    const int topic = HelpTopicOf(widget);
    if (!topic)
        return false;
    event->accept();
    if (event->type() == QEvent::WhatsThis) {
        QWhatsThis::leaveWhatsThisMode();
        // Opened after the click has been dealt with, so a message box does not run inside it.
        QTimer::singleShot(0, this, [topic, requester = QPointer<QWidget>(widget)] {
            ShowHelpTopic(topic, requester);
        });
    }
    return true;
}

} // namespace

FrmHelp::FrmHelp(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Linienwerk-Hilfe"));
    setFont(DesignFont());
    setModal(false);
    // Closing the main window ends the program even while the help is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    txtHelp = new QTextBrowser(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setFont(DesignFont(10));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtHelp);
    resize(TwipsToPixelsX(6300), TwipsToPixelsY(4800));
}

bool FrmHelp::event(QEvent *event)
{
    // Esc closes the help as it does any dialog, not the main window's Esc (a stop of the draw).
    if (event->type() == QEvent::ShortcutOverride
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Cancel)) {
        event->accept();
        return true;
    }
    return QDialog::event(event);
}

void FrmHelp::showTopic(const HelpTopic &topic)
{
    txtHelp->setHtml(topicHtml(topic));
}

bool ShowHelpTopic(int number, QWidget *requester)
{
    const std::optional<HelpTopic> topic = loadTopic(number);
    if (!topic)
        return false;
    FrmHelp *window = helpWindowFor(requester);
    window->showTopic(*topic);
    const bool wasOpen = window->isVisible();
    window->show();
    if (wasOpen) {
        window->raise();
        window->activateWindow();
    }
    return true;
}

int HelpTopicOf(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (const int topic = w->property("helpTopic").toInt(); topic > 0)
            return topic;
        if (w->isWindow())
            break;
    }
    return 0;
}

void InstallContextHelp(QApplication &app)
{
    if (app.findChild<QObject *>(QLatin1String(FilterName), Qt::FindDirectChildrenOnly))
        return;
    auto *filter = new ContextHelpFilter(&app);
    filter->setObjectName(QLatin1String(FilterName));
    app.installEventFilter(filter);
}

void EnterDirectHelp()
{
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        InstallContextHelp(*app);
    QWhatsThis::enterWhatsThisMode();
}

} // namespace lw
