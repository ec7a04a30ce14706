// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/mainwindow/storm.h"

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

namespace lw::testing {

void Storm::SetUp()
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
    buildPictureActions();
    buildOtherWindowActions();
}

void Storm::TearDown()
{
    answerer.stop();
    CdlLoad::TestAnswer = nullptr;
    SetColourChooser({});
    SetPrintTarget({});
    SetHelpFilePath({});
    FAGraphType = 0;
    WindowTest::TearDown();
}

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

} // namespace lw::testing
