#include "tests/support/windowtesting.h"

#include "assistant/frmfassist.h"
#include "assistant/frmfassist2.h"
#include "help/frmhelp.h"
#include "help/helpfile.h"
#include "settings/frmgraphoptions.h"
#include "tests/support/modalanswer.h"

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
#include <QWhatsThis>

#include <set>
#include <tuple>

using namespace lw;
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

    // One click in what's-this mode.
    void directHelpClick(QWidget *control)
    {
        EnterDirectHelp();
        QTest::mouseClick(control, Qt::LeftButton);
        settle();
    }
};

TEST(HelpFileText, ParsesGoodAndMalformedEntries)
{
    using Topic = std::tuple<int, QString, QString>;
    using Problem = std::pair<int, QString>; // line and a part of the description
    const struct {
        const char *name;
        QByteArray input;
        std::vector<Topic> topics;
        std::vector<Problem> problems;
    } cases[] = {
        {"paragraphs",
         "# comment\n[2] Titel\nZeile eins\n  Zeile zwei  \n\n\nAbsatz zwei\n\n",
         {{2, "Titel", "Zeile eins Zeile zwei\nAbsatz zwei"}},
         {}},
        {"several topics",
         "[13] Funktionsgleichung\nA.\n[14] Draw und Stop\nB.\n",
         {{13, "Funktionsgleichung", "A."}, {14, "Draw und Stop", "B."}},
         {}},
        {"BOM, CRLF, umlauts",
         "\xEF\xBB\xBF[5] \xC3\x9C"
         "ber\r\nGr\xC3\xB6\xC3\x9F"
         "e.\r\n",
         {{5, "Über", "Größe."}},
         {}},
        {"comment inside a topic", "[3] T\nA\n# note\nB\n", {{3, "T", "A B"}}, {}},
        {"indented bracket is text", "[2] A\n [3] B\n", {{2, "A", "[3] B"}}, {}},
        {"text before the first topic",
         "Vorwort\nnoch mehr\n[2] T\nX\n",
         {{2, "T", "X"}},
         {{1, "vor dem ersten Thema"}}},
        {"header without bracket", "[2 T\nX\n[3] U\nY\n", {{3, "U", "Y"}}, {{1, "„]“"}}},
        {"letters", "[x] T\nX\n", {}, {{1, "„x“"}}},
        {"zero", "[0] T\nX\n", {}, {{1, "„0“"}}},
        {"too large", "[32768] T\nX\n", {}, {{1, "„32768“"}}},
        {"sign", "[+3] T\nX\n", {}, {{1, "„+3“"}}},
        {"blank in number", "[ 3] T\nX\n", {}, {{1, "„ 3“"}}},
        {"empty number", "[] T\nX\n", {}, {{1, "„“"}}},
        {"largest number", "[32767] T\nX\n", {{32767, "T", "X"}}, {}},
        {"no title", "[4]   \nText\n", {}, {{1, "Thema 4 hat keinen Titel"}}},
        {"duplicate keeps the first",
         "[2] A\nX\n\n[2] B\nY\n",
         {{2, "A", "X"}},
         {{4, "Thema 2 steht schon in Zeile 1"}}},
        {"no text",
         "[2] A\n\n# only a comment\n[3] B\nY\n",
         {{3, "B", "Y"}},
         {{1, "Thema 2 hat keinen Text"}}},
        {"no text at the end", "[2] A\nX\n[3] B\n", {{2, "A", "X"}}, {{3, "Thema 3"}}},
        {"not UTF-8", "[2] A\n\xFF\n", {{2, "A", "\xEF\xBF\xBD"}}, {{0, "UTF-8"}}},
        {"empty file", "", {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const HelpFile file = ParseHelpFile(c.input);
        std::vector<Topic> topics;
        for (const auto &[number, topic] : file.topics)
            topics.emplace_back(number, topic.title, topic.text);
        EXPECT_EQ(topics, c.topics);
        ASSERT_EQ(file.problems.size(), c.problems.size());
        for (std::size_t i = 0; i < c.problems.size(); ++i) {
            EXPECT_EQ(file.problems[i].line, c.problems[i].first);
            EXPECT_TRUE(file.problems[i].description.contains(c.problems[i].second))
                << file.problems[i].description.toStdString();
        }
    }
}

TEST(HelpFileText, FindTopicAnswersOnlyForTopicsItHolds)
{
    const HelpFile file = ParseHelpFile("[2] A\nX\n[4]\nY\n");
    ASSERT_TRUE(file.FindTopic(2));
    EXPECT_EQ(file.FindTopic(2)->title, "A");
    for (int missing : {0, 1, 3, 4, -2})
        EXPECT_FALSE(file.FindTopic(missing)) << missing;
}

TEST(HelpFileText, ReadingTellsMissingFromUnreadable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("LW20.hlp"));
    EXPECT_EQ(ReadHelpFile(dir.filePath("nowhere.hlp")).status, HelpFileStatus::Missing);
    EXPECT_EQ(ReadHelpFile(dir.filePath("LW20.hlp")).status, HelpFileStatus::Unreadable);
    const HelpFileRead installed = ReadHelpFile(InstalledHelpFile);
    EXPECT_EQ(installed.status, HelpFileStatus::Read);
    for (const HelpProblem &problem : installed.file.problems)
        ADD_FAILURE() << "line " << problem.line << ": " << problem.description.toStdString();
}

TEST_F(Help, EveryTopicOfAControlIsInTheHelpFileWithTwoToSixSentences)
{
    openWindow();
    FrmGraphOptions options(window.get());
    options.Form_Load();
    options.show();
    FrmFAssist page1(window.get());
    page1.Form_Load();
    page1.show();
    const int16_t graphType = FAGraphType;
    FAGraphType = 4; // every value row in use
    FrmFAssist2 page2(window.get());
    page2.Form_Load();
    page2.show();
    FAGraphType = graphType;

    std::set<int> used = helpTopicsOf(*window);
    for (const QWidget *dialog : {static_cast<QWidget *>(&options), static_cast<QWidget *>(&page1),
                                  static_cast<QWidget *>(&page2)})
        used.merge(helpTopicsOf(*dialog));
    std::set<int> designed{2, 3};
    for (auto [first, last] : {std::pair{5, 14}, {20, 36}})
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

    // With a modifier it is an ordinary key.
    delete HelpWindow();
    QTest::keyClick(window->txtTerm, Qt::Key_F1, Qt::ShiftModifier);
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
    EXPECT_EQ(window->cmdDraw->text(), "Draw");
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
    FrmGraphOptions options(window.get());
    options.Form_Load();
    options.show();
    FrmFAssist page1(window.get());
    page1.Form_Load();
    page1.show();
    options.txtOriginY->setText("5");
    const std::pair<QWidget *, int> table[] = {
        {options.txtGraphScaleY, 30}, {options.lblOrigin, 26}, {options.picColours[1], 32},
        {options.cmdStandard, 35},    {page1.optGType[2], 20}, {page1.cmdBack, 22},
        {page1.cmdNext, 23},
    };
    for (const auto &[control, topic] : table) {
        SCOPED_TRACE(control->objectName().toStdString());
        delete HelpWindow();
        directHelpClick(control);
        EXPECT_TRUE(showsTopic(topic)) << shownText().toStdString();
    }
    // "Standard" did not refill, "Weiter >" did not leave the page.
    EXPECT_EQ(options.txtOriginY->text(), "5");
    EXPECT_TRUE(page1.isVisible());
    EXPECT_FALSE(page1.optGType[2]->isChecked());
    EXPECT_TRUE(messages.empty());
}

} // namespace
