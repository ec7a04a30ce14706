// SPDX-License-Identifier: GPL-3.0-or-later
// Seeded random user actions fired from inside the yields of long draws and
// conversions. After each sequence the window must be idle and consistent, and
// the settings store must hold only what "Speichern" wrote.

#include "tests/support/windowtesting.h"

#include "assistant/frmfassist.h"
#include "gph/cdlload.h"
#include "gph/gphcodec.h"
#include "gph/gphfile.h"
#include "graph/frmpreprint.h"
#include "graph/printjob.h"
#include "help/frmhelp.h"
#include "help/helpfile.h"
#include "mainwindow/picturemenu.h"
#include "mainwindow/toolbar.h"
#include "mainwindow/variablespanel.h"
#include "settings/frmgraphoptions.h"
#include "settings/options.h"
#include "tests/support/pdfprinttarget.h"
#include "widgets/colourchooser.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>
#include <QWheelEvent>

#include <cstdio>
#include <functional>
#include <map>
#include <random>

using namespace lw;
using lw::testing::HelpWindow;
using lw::testing::PdfPrintTarget;

namespace {

constexpr int Sequences = 100;
constexpr int FewestActions = 20;
constexpr int MostActions = 40;
constexpr unsigned FirstSeed = 7001;

// Many rounds of conversion, each ending in a yield: 400 parts take a quarter of a second.
QString longTerm(int parts)
{
    QStringList terms;
    for (int i = 1; i <= parts; ++i)
        terms << QStringLiteral("%1*SIN(x/%2)^2-(x+%3)/(x*x+1)").arg(i).arg(i + 1).arg(i);
    return terms.join(u'+');
}

// About three in four entries of each list are usable, so that most presses draw.
const QStringList Terms = {
    "2*x^2+3*x-4", "a*SIN(x)+b", "1/x",           "SQR(ABS(x))*COS(x)",
    "x",           "3",          longTerm(30),    longTerm(400),
    "x^3-2*x",     "SUM(x;1)",   "PRO(x;SIN(x))", "2*(x+1",
    "x+*2",        "   ",        "§$%&",          QString(33000, 'x'),
    longTerm(450), // converts for long, then fails: its formula would be too long
};
const QStringList Precisions = {"0,001", "0,0001", "0,00001", "0,0001", "0,00001",  "0,001",
                                "0,01",  "0,1",    "0",       "abc",    "0,0000001"};
const QStringList Centres = {"0", "0", "1", "-2", "2,5", "100", "40000", "zwei"};
const QStringList VariableValues = {"2", "-1,5", "0,25", "10", "x", "", "99999999", "1E+30"};
const QStringList DialogNumbers = {"0,001", "5", "-3", "20", "10", "32767", "0", "-40000", "abc"};

// Writes outside a press of "Speichern" are faults; the contents are kept for comparing.
class WatchedStore : public MemorySettingsStore {
public:
    using Contents = std::map<std::pair<QString, QString>, QString>;

    void write(const QString &section, const QString &name, const QString &text) override
    {
        MemorySettingsStore::write(section, name, text);
        // The file dialogs keep the folder last used at every choice, the own windows their
        // places; those are no settings.
        if (section == QLatin1String("Dialogs") || section == QLatin1String("Windows"))
            return;
        contents[{section, name}] = text;
        if (!saving)
            strayWrites << section + u'/' + name;
    }

    Contents contents;
    bool saving = false;
    QStringList strayWrites;
};

struct StormCounts {
    int sequences = 0, actions = 0;
    int duringDraw = 0; // fired while a draw or conversion ran
    int drawPresses = 0, dialogsAnswered = 0;
    int saves = 0, prints = 0;
    int closes = 0, closesDuringDraw = 0;
};

class Storm : public lw::testing::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        SetSettingsStore(&watched);
        InstallContextHelp(*qobject_cast<QApplication *>(QCoreApplication::instance()));
        SetHelpFilePath(QStringLiteral(LW_HELP_FILE));
        ASSERT_TRUE(files.isValid());
        writeGraphFiles();
        SetPrintTarget([this](const PrintJob &job) { print(job); });
        SetColourChooser([this](const QColor &, QWidget *) -> std::optional<QColor> {
            if (chance(3))
                return std::nullopt;
            return QColor::fromRgb(static_cast<QRgb>(rng()));
        });
        CdlLoad::TestAnswer = [this](const FileDialogRequest &r) -> std::optional<QString> {
            if (chance(5))
                return std::nullopt;
            return pick(r.mode == FileDialogRequest::Mode::Save ? savePaths : graphPaths);
        };
        answerer.setInterval(2);
        QObject::connect(&answerer, &QTimer::timeout, [this] { tick(); });
        buildActions();
        buildOtherWindowActions();
    }

    void TearDown() override
    {
        answerer.stop();
        CdlLoad::TestAnswer = nullptr;
        SetColourChooser({});
        SetPrintTarget({});
        SetHelpFilePath({});
        FAGraphType = 0;
        WindowTest::TearDown();
    }

    void runSequence(unsigned seed);
    void checkIdleAndConsistent();

    StormCounts counts;
    QStringList trail; // the actions of the sequence, for the failure message

private:
    void writeGraphFiles();
    void print(const PrintJob &job);
    void buildActions();
    void buildOtherWindowActions();
    void schedule(int ms);
    void step();
    void finish();
    void tick();
    void answer(QWidget *modal);
    void answerGraphOptions(FrmGraphOptions *dialog);
    void pressSave(FrmGraphOptions *dialog);
    void toolbarClick(const char *key);
    void act(int weight, const char *name, std::function<void()> action);
    void pressDraw();
    void close();
    QWidget *anyControl();
    FrmPrePrint *openSizingWindow();

    bool chance(int oneIn) { return rng() % oneIn == 0; }
    int between(int low, int high) { return low + int(rng() % unsigned(high - low + 1)); }
    template<typename List>
    typename List::value_type pick(const List &list)
    {
        return list[rng() % list.size()];
    }

    WatchedStore watched;
    WatchedStore::Contents expectedStore;
    QTemporaryDir files;
    QStringList graphPaths; // good, bad and missing files to load
    QStringList savePaths;
    std::mt19937 rng;
    QTimer answerer;
    struct Action {
        const char *name;
        int weight;
        std::function<void()> run;
    };
    std::vector<Action> actions;
    int totalWeight = 0;
    int left = 0;
    bool done = false;
    bool answering = false;
    bool closed = false;
};

void Storm::writeGraphFiles()
{
    GraphSettingsRecord fine;
    fine.Precision = 0.0001f;
    fine.ScreenCentralX = 2;
    const auto write = [this](const char *name, const QByteArray &bytes) {
        QFile file(files.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        graphPaths << file.fileName();
    };
    const QDateTime now = QDateTime::currentDateTime();
    write("FEIN.GPH", WriteGph(fine, QStringLiteral("SIN(x)*x^2+1/x"), now, QLocale()));
    write("LANG.GPH", WriteGph(GraphSettingsRecord{}, longTerm(20), now, QLocale()));
    write("KAPUTT.GPH", QByteArray("kein Graph\r\n").repeated(3));
    QByteArray badLine = WriteGph(fine, QStringLiteral("x"), now, QLocale());
    write("ZEILE.GPH", badLine.replace("0,0001", "1,2,3"));
    write("GROSS.GPH", QByteArray(GphMaximumSize + 1, 'x'));
    graphPaths << files.filePath(QStringLiteral("FEHLT.GPH"))
               << files.filePath(QStringLiteral("kein/Ordner/X.GPH"))
               << files.filePath(QStringLiteral("NEU.GPH"));
    savePaths << files.filePath(QStringLiteral("NEU.GPH"))
              << files.filePath(QStringLiteral("kein/Ordner/X.GPH")) << files.path();
}

void Storm::print(const PrintJob &job)
{
    ++counts.prints;
    EXPECT_FALSE(job.image.isNull());
    EXPECT_EQ(job.window->objectName(), "frmPrintOut");
    // Now and then a real PDF, through the printer's paint engine.
    if (counts.prints % 8 == 1)
        PdfPrintTarget(files.filePath(QStringLiteral("storm.pdf")))(job);
}

void Storm::act(int weight, const char *name, std::function<void()> action)
{
    actions.push_back({name, weight, std::move(action)});
    totalWeight += weight;
}

void Storm::toolbarClick(const char *key)
{
    // A user in the toolbar help mode soon leaves it again.
    if (window->ToolbarHelpMode && chance(2))
        key = "ToolbarHelp";
    auto *button = qobject_cast<QToolButton *>(
        window->tbrMain->widgetForAction(window->toolbarAction(QString::fromLatin1(key))));
    ASSERT_NE(button, nullptr) << key;
    button->click();
}

QWidget *Storm::anyControl()
{
    FrmMain &w = *window;
    const QList<QWidget *> controls = {w.txtTerm,
                                       w.cmdDraw,
                                       w.txtPrecision,
                                       w.txtScreenCentralX,
                                       w.chkLinkPoints,
                                       w.chkAlwaysDelete,
                                       w.optTermFormat[1],
                                       w.chkAutoConvert,
                                       w.picGraph,
                                       w.picVariables,
                                       w.cmdMoreGraphOptions,
                                       w.picVariables->txtVarValue[2],
                                       w.txtScreenCentralY};
    return pick(controls);
}

FrmPrePrint *Storm::openSizingWindow()
{
    QList<FrmPrePrint *> open;
    for (FrmPrePrint *sizing : window->findChildren<FrmPrePrint *>()) {
        if (sizing->isVisible())
            open << sizing;
    }
    return open.isEmpty() ? nullptr : pick(open);
}

// The main window's own controls.
void Storm::buildActions()
{
    act(8, "Draw", [this] { pressDraw(); });
    act(1, "Enter", [this] { QTest::keyClick(window->txtTerm, Qt::Key_Return); });
    for (const ToolbarButton &button : ToolbarButtons)
        act(1, button.key, [this, key = button.key] { toolbarClick(key); });
    act(2, "Print", [this] { toolbarClick("Print"); });
    act(4, "txtTerm", [this] { window->txtTerm->setText(pick(Terms)); });
    act(1, "typing", [this] { QTest::keyClicks(window->txtTerm, QStringLiteral("+x^2")); });
    act(3, "txtPrecision", [this] { window->txtPrecision->setText(pick(Precisions)); });
    act(2, "centre", [this] {
        (chance(2) ? window->txtScreenCentralX : window->txtScreenCentralY)->setText(pick(Centres));
    });
    act(2, "switches", [this] {
        const QList<QAbstractButton *> switches = {window->chkLinkPoints, window->chkAlwaysDelete,
                                                   window->chkAutoConvert, window->optTermFormat[0],
                                                   window->optTermFormat[1]};
        pick(switches)->click();
    });
    act(2, "variables", [this] {
        VariablesPanel &panel = *window->picVariables;
        const int row = between(0, 7);
        if (chance(2))
            panel.chkVarName[row]->click();
        else
            panel.txtVarValue[row]->setText(pick(VariableValues));
    });
    act(2, "slider", [this] {
        VariablesPanel &panel = *window->picVariables;
        panel.sldVarValue[between(0, 7)]->setValue(between(0, 100));
    });
    act(1, "animation", [this] {
        VariablesPanel &panel = *window->picVariables;
        if (panel.animating())
            QTest::keyClick(window.get(), Qt::Key_Escape);
        else
            panel.startAnimation(between(0, 7));
    });
    act(1, "family", [this] {
        const double from = between(-3, 3);
        window->DrawFamily(between(0, 7), {from, from + between(0, 6), 1});
    });
    act(1, "Mehr...", [this] { window->cmdMoreGraphOptions->click(); });
    act(1, "picture out", [this] {
        (chance(2) ? window->mnuPicture->actCopyPicture : window->mnuPicture->actSavePicture)
            ->trigger();
    });
    act(2, "resize", [this] { window->resize(between(150, 1400), between(100, 1000)); });
    act(1, "undo", [this] { window->Undo(); });
    act(1, "view keys", [this] {
        QTest::keyClick(window->picGraph,
                        pick(std::array{Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Left, Qt::Key_Home}));
    });
    act(1, "wheel", [this] {
        const QPointF at(between(0, window->picGraph->width()),
                         between(0, window->picGraph->height()));
        QWheelEvent wheel(at, window->picGraph->mapToGlobal(at), {}, {0, chance(2) ? 120 : -120},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window->picGraph, &wheel);
    });
    act(1, "drag", [this] {
        const QPoint from(between(0, 300), between(0, 300));
        QTest::mousePress(window->picGraph, Qt::LeftButton, {}, from);
        for (int move = 1; move <= 3; ++move)
            QTest::mouseMove(window->picGraph, from + QPoint(between(-60, 60), between(-60, 60)));
        QTest::mouseRelease(window->picGraph, Qt::LeftButton, {}, from);
    });
    act(1, "minimise", [this] {
        if (window->isMinimized())
            window->showNormal();
        else
            window->showMinimized();
    });
}

// The windows the main window opens, and the pointer.
void Storm::buildOtherWindowActions()
{
    act(4, "sizing window", [this] {
        FrmPrePrint *sizing = openSizingWindow();
        if (!sizing)
            return;
        switch (rng() % 4) {
        case 0: sizing->cmdCancel->click(); break;
        case 1: sizing->resize(between(120, 700), between(80, 600)); break;
        default: sizing->cmdPrint->click(); break;
        }
    });
    act(1, "F1", [this] { QTest::keyClick(anyControl(), Qt::Key_F1); });
    act(1, "close help", [] {
        if (FrmHelp *help = HelpWindow())
            help->close();
    });
    act(1, "what's this", [this] {
        if (QWhatsThis::inWhatsThisMode())
            QTest::mouseClick(anyControl(), Qt::LeftButton);
    });
    act(1, "pointer", [this] {
        QWidget *over = chance(2) ? static_cast<QWidget *>(window->cmdDraw) : window->picOptions;
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), over->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(over, &move);
    });
    act(1, "status bar", [this] {
        if (chance(4))
            QTest::mouseDClick(window->sbrMain, Qt::LeftButton);
    });
    act(1, "close", [this] { close(); });
}

void Storm::pressDraw()
{
    ++counts.drawPresses;
    window->cmdDraw->click();
}

void Storm::close()
{
    done = true;
    closed = true;
    ++counts.closes;
    if (DrawInProgress())
        ++counts.closesDuringDraw;
    window->close();
}

void Storm::schedule(int ms)
{
    QTimer::singleShot(ms, window.get(), [this] { step(); });
}

void Storm::step()
{
    if (done)
        return;
    // While a modal dialog is up the user can only answer it.
    if (QApplication::activeModalWidget()) {
        schedule(2);
        return;
    }
    if (left-- == 0) {
        finish();
        return;
    }
    ++counts.actions;
    if (DrawInProgress())
        ++counts.duringDraw;
    // Before acting, so that the next action fires inside the draw this one may start.
    schedule(between(0, 3));
    // Mostly a new draw when none runs, so that most actions land inside one.
    if (!DrawInProgress() && chance(2)) {
        trail << QStringLiteral("Draw");
        pressDraw();
        return;
    }
    int choice = int(rng() % unsigned(totalWeight));
    for (const Action &action : actions) {
        if ((choice -= action.weight) < 0) {
            trail << QLatin1String(action.name);
            action.run();
            break;
        }
    }
}

void Storm::finish()
{
    done = true;
    if (chance(3))
        close();
    else if (DrawInProgress())
        window->cmdDraw->click();
}

// Answers the modal dialog that is up; once the sequence is over, stops any draw that starts.
void Storm::tick()
{
    if (answering)
        return;
    if (QWidget *modal = QApplication::activeModalWidget()) {
        if (chance(2)) {
            answering = true;
            answer(modal);
            answering = false;
        }
    } else if (done && DrawInProgress()) {
        window->cmdDraw->click();
    }
}

void Storm::answer(QWidget *modal)
{
    ++counts.dialogsAnswered;
    const QString name = modal->objectName();
    const auto press = [modal](const char *button) {
        modal->findChild<QPushButton *>(QLatin1String(button))->click();
    };
    if (name == QLatin1String("frmGraphOptions")) {
        answerGraphOptions(static_cast<FrmGraphOptions *>(modal));
    } else if (name == QLatin1String("frmFAssist")) {
        if (chance(3))
            static_cast<FrmFAssist *>(modal)->optGType[between(0, 3)]->click();
        press(chance(4) ? "cmdCancel" : "cmdNext");
    } else if (name == QLatin1String("frmFAssist2")) {
        press(pick(std::array{"cmdFinish", "cmdFinish", "cmdBack", "cmdCancel"}));
    } else if (name == QLatin1String("frmAbout") && chance(2)) {
        press("cmdOK");
    } else {
        static_cast<QDialog *>(modal)->reject();
    }
}

void Storm::answerGraphOptions(FrmGraphOptions *dialog)
{
    const int tries = dialog->property("stormTries").toInt();
    dialog->setProperty("stormTries", tries + 1);
    const QList<QLineEdit *> fields = dialog->findChildren<QLineEdit *>();
    for (int edits = between(0, 3); edits > 0; --edits)
        pick(fields)->setText(pick(DialogNumbers));
    if (chance(4))
        dialog->picColours_DblClick(between(0, 2));
    if (chance(6))
        dialog->cmdStandard->click();
    if (chance(8))
        QTest::keyClick(pick(fields), Qt::Key_F1); // the help joins the modal dialog
    if (chance(3))
        pressSave(dialog);
    // A refused "OK" leaves the dialog open for the next tick; give up after a few.
    if (tries >= 3 || chance(4))
        dialog->cmdCancel->click();
    else if (chance(6))
        dialog->reject();
    else
        dialog->cmdOK->click();
}

void Storm::pressSave(FrmGraphOptions *dialog)
{
    // What "Speichern" must write: the settings in force, not the dialog's entries.
    WatchedStore shadow;
    shadow.saving = true;
    ASSERT_TRUE(SaveOptions(shadow));
    for (const auto &[key, text] : shadow.contents)
        expectedStore[key] = text;
    watched.saving = true;
    dialog->cmdSave->click();
    watched.saving = false;
    ++counts.saves;
    EXPECT_EQ(watched.contents, expectedStore);
}

void Storm::runSequence(unsigned seed)
{
    rng.seed(seed);
    messages.clear();
    window = std::make_unique<FrmMain>();
    window->Form_Load();
    window->show();
    window->txtPrecision->setText(pick(std::array{"0,001", "0,0001", "0,00001"}));
    window->txtTerm->setText(pick(Terms.mid(0, 9)));
    left = between(FewestActions, MostActions);
    done = closed = false;
    trail.clear();
    ++counts.sequences;

    answerer.start();
    schedule(0);
    // Every action from here on runs inside this draw's yields or in a later one's.
    window->cmdDraw->click();
    // The answerer's ticks wake the loop; whatever ran inside it has unwound when it returns.
    const QDeadlineTimer deadline(120'000);
    while (!done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ASSERT_TRUE(done) << "seed " << seed;
    // A draw pressed while a stopped one unwound may still start; the answerer stops it too.
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < 20 || DrawInProgress())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    answerer.stop();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Storm::checkIdleAndConsistent()
{
    EXPECT_EQ(window->cmdDraw->text(), "Zeichnen");
    EXPECT_FALSE(DrawInProgress());
    EXPECT_FALSE(StopRequested());
    const PlotGeometry &screen = ScreenPicture().geometry;
    EXPECT_EQ(QSize(screen.GraphWidth, screen.GraphHeight), window->picGraph->surface().size());
    EXPECT_EQ(ScreenPicture().surface, &window->mnuPicture->surface());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(window->isVisible(), !closed);
    EXPECT_TRUE(watched.strayWrites.isEmpty()) << watched.strayWrites.join(", ").toStdString();
    EXPECT_EQ(watched.contents, expectedStore);
}

TEST_F(Storm, RandomUserActionsInsideTheYieldsOfLongDraws)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Sequences; ++i) {
        const unsigned seed = FirstSeed + unsigned(i);
        runSequence(seed);
        SCOPED_TRACE(::testing::Message()
                     << "seed " << seed << ": " << trail.join(u' ').toStdString());
        checkIdleAndConsistent();
        QWhatsThis::leaveWhatsThisMode();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Everything the sequence opened went with the main window, no surface is left behind.
        EXPECT_EQ(HelpWindow(), nullptr);
        EXPECT_EQ(ScreenPicture().surface, &NoSurface());
        for (QWidget *w : QApplication::topLevelWidgets())
            EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
        if (HasFailure())
            break;
    }
    // The storm must really have hit running draws, saves, prints and closes.
    EXPECT_GE(counts.duringDraw * 3, counts.actions);
    EXPECT_GT(counts.saves, 0);
    EXPECT_GT(counts.prints, 0);
    EXPECT_GT(counts.closes, 0);
    RecordProperty("sequences", counts.sequences);
    RecordProperty("actions", counts.actions);
    RecordProperty("actions_during_draw", counts.duringDraw);
    std::printf("[ storm    ] %d sequences, %d actions (%d during a draw), %d draw presses, "
                "%d dialog answers, %d saves, %d prints, %d closes (%d during a draw) in %lld ms\n",
                counts.sequences, counts.actions, counts.duringDraw, counts.drawPresses,
                counts.dialogsAnswered, counts.saves, counts.prints, counts.closes,
                counts.closesDuringDraw, static_cast<long long>(clock.elapsed()));
}

} // namespace
