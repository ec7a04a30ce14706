// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/windowtesting.h"

#include "assistant/frmfassist.h"
#include "assistant/frmfassist2.h"
#include "help/frmhelp.h"
#include "help/helpfile.h"
#include "mainwindow/frmvaluetable.h"
#include "settings/frmgraphoptions.h"
#include "tests/support/modalanswer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QWhatsThis>

#include <memory>
#include <set>

using namespace lw;
using lw::testing::HelpWindow;
using lw::testing::ModalAnswer;
using lw::testing::NoModalWindow;

namespace {

const QString InstalledHelpFile = QStringLiteral(LW_PROGRAM_DIR "/LW20.hlp");

// Rough: a run of . ! ? followed by a blank or the end; the help file avoids abbreviations.
int sentenceCount(const QString &text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool end = text[i] == u'.' || text[i] == u'!' || text[i] == u'?';
        const bool last = i + 1 == text.size() || text[i + 1].isSpace();
        if (end && last)
            ++count;
    }
    return count;
}

std::set<int> helpTopicsOf(const QWidget &window)
{
    std::set<int> topics;
    for (const QWidget *w : window.findChildren<QWidget *>()) {
        if (const QVariant topic = w->property("helpTopic"); topic.isValid())
            topics.insert(topic.toInt());
    }
    return topics;
}

HelpTopic installedTopic(int number)
{
    const HelpFileRead read = ReadHelpFile(InstalledHelpFile);
    const std::optional<HelpTopic> topic = read.file.FindTopic(number);
    return topic.value_or(HelpTopic{number, QStringLiteral("(kein Thema %1)").arg(number), {}});
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

class Help : public lw::testing::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        InstallContextHelp(*qApp);
        SetHelpFilePath(InstalledHelpFile);
    }

    void TearDown() override
    {
        QWhatsThis::leaveWhatsThisMode();
        delete HelpWindow();
        SetHelpFilePath({});
        WindowTest::TearDown();
    }

    QString shownText() const
    {
        return HelpWindow() ? HelpWindow()->txtHelp->toPlainText() : QString();
    }

    // Whether the help window is open on `number`.
    bool showsTopic(int number) const
    {
        const HelpTopic topic = installedTopic(number);
        const QString shown = shownText();
        return HelpWindow() && HelpWindow()->isVisible() && shown.contains(topic.title)
               && shown.contains(topic.text.section(u' ', 0, 4));
    }

    // A dialog over the main window, loaded and shown as the program opens it.
    template<typename Dialog>
    std::unique_ptr<Dialog> shownOverWindow()
    {
        auto dialog = std::make_unique<Dialog>(window.get());
        dialog->Form_Load();
        dialog->show();
        return dialog;
    }

    // One click in what's-this mode.
    void directHelpClick(QWidget *control)
    {
        EnterDirectHelp();
        QTest::mouseClick(control, Qt::LeftButton);
        settle();
    }
};

TEST_F(Help, EveryTopicOfAControlIsInTheHelpFileWithTwoToSixSentences)
{
    openWindow();
    const auto options = shownOverWindow<FrmGraphOptions>();
    const auto page1 = shownOverWindow<FrmFAssist>();
    const int16_t graphType = FAGraphType;
    FAGraphType = 4; // every value row in use
    const auto page2 = shownOverWindow<FrmFAssist2>();
    FAGraphType = graphType;
    // These windows are made when first opened.
    window->toolbarAction("CurveList")->trigger();
    window->toolbarAction("CurveAnalysis")->trigger();
    lw::FrmValueTable::open(*window, {});

    std::set<int> used = helpTopicsOf(*window);
    for (const QWidget *dialog :
         {static_cast<QWidget *>(options.get()), static_cast<QWidget *>(page1.get()),
          static_cast<QWidget *>(page2.get())})
        used.merge(helpTopicsOf(*dialog));
    std::set<int> designed{2, 3};
    for (auto [first, last] : {std::pair{5, 37}})
        for (int n = first; n <= last; ++n)
            designed.insert(n);
    EXPECT_EQ(used, designed);

    const HelpFile file = ReadHelpFile(InstalledHelpFile).file;
    std::set<int> inFile;
    for (const auto &[number, topic] : file.topics) {
        inFile.insert(number);
        const int sentences = sentenceCount(topic.text);
        EXPECT_GE(sentences, 2) << number;
        EXPECT_LE(sentences, 6) << number;
        EXPECT_FALSE(topic.title.isEmpty()) << number;
    }
    EXPECT_EQ(inFile, used);
}

TEST_F(Help, ViewerShowsTheTopicInItsOneWindow)
{
    openWindow();
    FrmHelp *first = nullptr;
    for (int number : {13, 22, 36, 8}) {
        SCOPED_TRACE(number);
        EXPECT_TRUE(ShowHelpTopic(number, window.get()));
        EXPECT_TRUE(showsTopic(number)) << shownText().toStdString();
        if (!first)
            first = HelpWindow();
        EXPECT_EQ(HelpWindow(), first);
    }
    // The title of 22 holds "<", which must be shown, not taken as markup.
    EXPECT_EQ(installedTopic(22).title, "< Zurück");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->objectName(), "frmHelp");
    EXPECT_EQ(first->windowTitle(), "Linienwerk-Hilfe");
    EXPECT_EQ(first->txtHelp->objectName(), "txtHelp");
    int helpWindows = 0;
    for (const QWidget *w : QApplication::topLevelWidgets())
        helpWindows += w->objectName() == "frmHelp";
    EXPECT_EQ(helpWindows, 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Help, AMissingFileOrTopicGivesAMessageAndNoWindow)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.hlp"));
    const QString missing = dir.filePath("LW20.hlp");
    const QString folder = dir.filePath("folder.hlp");
    const struct {
        QString path;
        int number;
        QString text;
    } cases[] = {
        {missing, 13,
         "Die Hilfedatei '" + QDir::toNativeSeparators(missing) + "' wurde nicht gefunden."},
        {folder, 13,
         "Die Hilfedatei '" + QDir::toNativeSeparators(folder) + "' kann nicht gelesen werden."},
        {InstalledHelpFile, 99,
         "Die Hilfedatei '" + QDir::toNativeSeparators(InstalledHelpFile)
             + "' enthält kein Thema mit der Nummer 99."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        messages.clear();
        SetHelpFilePath(c.path);
        EXPECT_FALSE(ShowHelpTopic(c.number));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, "Fehler");
        EXPECT_EQ(messages[0].text, c.text);
        EXPECT_EQ(HelpWindow(), nullptr);
    }
}

TEST_F(Help, F1OpensTheTopicOfTheFocusedControlAndIsConsumed)
{
    openWindow();
    QApplication::setActiveWindow(window.get());
    window->txtTerm->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), window->txtTerm);
    int keysSeen = 0;
    struct KeySpy : QObject {
        int &seen;
        explicit KeySpy(int &s) : seen(s) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            seen +=
                e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_F1;
            return false;
        }
    } keySpy(keysSeen);
    window->txtTerm->installEventFilter(&keySpy);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_TRUE(showsTopic(13)) << shownText().toStdString();
    EXPECT_EQ(keysSeen, 0);
    EXPECT_EQ(window->txtTerm->text(), "x");

    // With Alt it is an ordinary key (Shift+F1 and Ctrl+F1 are the toolbar's help modes).
    delete HelpWindow();
    QTest::keyClick(window->txtTerm, Qt::Key_F1, Qt::AltModifier);
    EXPECT_EQ(HelpWindow(), nullptr);
    EXPECT_EQ(keysSeen, 1);
    window->txtTerm->removeEventFilter(&keySpy);
}

TEST_F(Help, F1WorksInTheModalSettingsDialogAndTheHelpIsNotBlockedByIt)
{
    openWindow();
    ModalAnswer<FrmGraphOptions> check([this](FrmGraphOptions *dialog) {
        auto *origin = dialog->findChild<QLineEdit *>("txtOriginX");
        auto *cancel = dialog->findChild<QPushButton *>("cmdCancel");
        QTest::keyClick(origin, Qt::Key_F1);
        EXPECT_TRUE(showsTopic(26)) << shownText().toStdString();
        // A window outside the modal dialog's family could not be used while it is open.
        EXPECT_EQ(HelpWindow()->parentWidget(), dialog);
        delete HelpWindow();
        QTest::keyClick(cancel, Qt::Key_F1); // "Abbrechen" has no topic
        EXPECT_EQ(HelpWindow(), nullptr);
        cancel->click();
    });
    FrmGraphOptions::open(window.get(), {});
    EXPECT_TRUE(check.answered());
    EXPECT_TRUE(messages.empty());
}

TEST_F(Help, DirectHelpOpensTheTopicOfEachMainWindowControlWithoutActing)
{
    openWindow();
    const QImage picture = window->picGraph->surface().image().copy();
    const bool linkPoints = window->chkLinkPoints->isChecked();
    const bool alwaysDelete = window->chkAlwaysDelete->isChecked();
    const NoModalWindow noDialog; // had "Mehr..." acted, its dialog would wait here
    const std::pair<const char *, int> table[] = {
        {"chkVarName_0", 2},         {"chkVarName_7", 2},    {"txtVarValue_0", 3},
        {"txtVarValue_7", 3},        {"optTermFormat_0", 5}, {"chkAutoConvert", 6},
        {"optTermFormat_1", 7},      {"txtPrecision", 8},    {"txtScreenCentralX", 9},
        {"txtScreenCentralY", 9},    {"chkLinkPoints", 10},  {"chkAlwaysDelete", 11},
        {"cmdMoreGraphOptions", 12}, {"txtTerm", 13},        {"cmdDraw", 14},
    };
    for (const auto &[name, topic] : table) {
        SCOPED_TRACE(name);
        auto *control = window->findChild<QWidget *>(name);
        ASSERT_NE(control, nullptr);
        delete HelpWindow();
        directHelpClick(control);
        EXPECT_TRUE(showsTopic(topic)) << shownText().toStdString();
        EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
    }
    // A toolbar button has the toolbar's topic; had "Load" acted, its file dialog would wait.
    delete HelpWindow();
    directHelpClick(window->tbrMain->widgetForAction(window->toolbarAction("Load")));
    EXPECT_TRUE(showsTopic(15)) << shownText().toStdString();
    EXPECT_EQ(window->cmdDraw->text(), "Zeichnen");
    EXPECT_EQ(window->picGraph->surface().image(), picture);
    EXPECT_EQ(window->chkLinkPoints->isChecked(), linkPoints);
    EXPECT_EQ(window->chkAlwaysDelete->isChecked(), alwaysDelete);
    EXPECT_FALSE(window->chkAutoConvert->isChecked());
    EXPECT_TRUE(window->optTermFormat[0]->isChecked());
    EXPECT_TRUE(window->chkAutoConvert->isEnabled());
    EXPECT_TRUE(messages.empty());
}

TEST_F(Help, DirectHelpLastsOneClickAndEndsOnAControlWithoutTopic)
{
    openWindow();
    const bool linkPoints = window->chkLinkPoints->isChecked();

    // No topic: the mode ends, nothing opens, the control does not act either.
    directHelpClick(window->picGraph);
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
    EXPECT_EQ(HelpWindow(), nullptr);

    directHelpClick(window->chkLinkPoints);
    EXPECT_TRUE(showsTopic(10));
    EXPECT_EQ(window->chkLinkPoints->isChecked(), linkPoints);
    // The next click acts again.
    QTest::mouseClick(window->chkLinkPoints, Qt::LeftButton);
    EXPECT_NE(window->chkLinkPoints->isChecked(), linkPoints);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Help, WhatsThisIsOfferedOnlyWhereATopicIs)
{
    openWindow();
    const std::pair<QWidget *, bool> table[] = {
        {window->chkLinkPoints, true},
        {window->txtTerm, true},
        {window->picGraph, false},
        {window->Label2, false},
    };
    for (const auto &[widget, offered] : table) {
        SCOPED_TRACE(widget->objectName().toStdString());
        QHelpEvent query(QEvent::QueryWhatsThis, QPoint(1, 1), widget->mapToGlobal(QPoint(1, 1)));
        query.ignore();
        QApplication::sendEvent(widget, &query);
        EXPECT_EQ(query.isAccepted(), offered);
    }
    EXPECT_EQ(HelpWindow(), nullptr);
}

TEST_F(Help, DirectHelpWorksInTheDialogsToo)
{
    openWindow();
    const auto options = shownOverWindow<FrmGraphOptions>();
    const auto page1 = shownOverWindow<FrmFAssist>();
    options->txtOriginY->setText("5");
    const std::pair<QWidget *, int> table[] = {
        {options->txtGraphScaleY, 30}, {options->lblOrigin, 26}, {options->picColours[1], 32},
        {options->cmdStandard, 35},    {page1->optGType[2], 20}, {page1->cmdBack, 22},
        {page1->cmdNext, 23},
    };
    for (const auto &[control, topic] : table) {
        SCOPED_TRACE(control->objectName().toStdString());
        delete HelpWindow();
        directHelpClick(control);
        EXPECT_TRUE(showsTopic(topic)) << shownText().toStdString();
    }
    // "Standard" did not refill, "Weiter >" did not leave the page.
    EXPECT_EQ(options->txtOriginY->text(), "5");
    EXPECT_TRUE(page1->isVisible());
    EXPECT_FALSE(page1->optGType[2]->isChecked());
    EXPECT_TRUE(messages.empty());
}

} // namespace
