// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/windowtesting.h"

#include "about/frmabout.h"
#include "tests/support/modalanswer.h"

#include "gph/cdlload.h"
#include "gph/gphcodec.h"
#include "gph/gphfile.h"
#include "mainwindow/startup.h"
#include "mainwindow/toolbar.h"
#include "mainwindow/variablespanel.h"
#include "widgets/colourchooser.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>

#include <optional>

using namespace lw;

namespace {

class Toolbar : public lw::testing::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        openWindow();
    }
    void TearDown() override
    {
        CdlLoad::TestAnswer = nullptr;
        SetColourChooser({});
        WindowTest::TearDown();
    }
    // A click on the toolbar's own button, as the user makes it.
    void click(const char *key)
    {
        auto *button = qobject_cast<QToolButton *>(
            window->tbrMain->widgetForAction(window->toolbarAction(QString::fromLatin1(key))));
        ASSERT_NE(button, nullptr) << key;
        button->click();
    }
    QString status() const { return window->sbrMain->currentMessage(); }
};

TEST_F(Toolbar, EveryButtonWithItsTipAndDescription)
{
    const struct {
        const char *key;
        const char *tip;
        const char *description;
    } buttons[] = {
        {"Load", "Datei öffnen", "Öffnet eine GPH-Datei mit einem zuvor gespeicherten Graphen"},
        {"Save", "Datei speichern",
         "Speichert den aktuellen Graphen und alle Optionen in einer GPH-Datei"},
        {"CopyEquation", "Kopieren",
         "Kopiert die aktuelle Funktionsgleichung in die Zwischenablage"},
        {"PasteEquation", "Einfügen",
         "Fügt den Inhalt der Zwischenablage in das Textfeld 'Funktionsgleichung' ein"},
        {"Print", "Drucken", "Druckt den Inhalt des Schaubildbereichs auf dem Systemdrucker"},
        {"EraseGraphs", "Graphen löschen",
         "Löscht alle Graphen und zeichnet das Koordinatensystem neu"},
        {"Undo", "Rückgängig",
         "Macht die letzte Änderung der Kurvenliste rückgängig: Zeichnen, Löschen, Ausblenden"},
        {"Redo", "Wiederholen",
         "Stellt die zuletzt rückgängig gemachte Änderung der Kurvenliste wieder her"},
        {"CurveList", "Kurven",
         "Zeigt die gezeichneten Kurven zum Ausblenden, Löschen und Wiederverwenden"},
        {"CurveAnalysis", "Kurvendiskussion",
         "Zeigt Nullstellen, Extrempunkte, Wendepunkte und Ableitungen einer Kurve"},
        {"VariableEdit", "Variablenwerte bearbeiten",
         "Wenn aktiviert, können Sie die Variablenwerte im Variablenbereich ändern"},
        {"GraphColor", "Zeichenfarbe",
         "Ändert die Farbe, mit der die Schaubildkurve gezeichnet wird"},
        {"FAssist", "Funktions-Assistent",
         "Öffnet den Funktions-Assistenten mit Funktionsschablonen"},
        {"GraphOptions", "Schaubild-Einstellungen",
         "Öffnet das Dialogfeld 'Schaubild-Einstellungen' zum Anpassen des Schaubilds"},
        {"ToolbarHelp", "Schaltflächen-Hilfe",
         "Gibt eine kurze Beschreibung zu einer Schaltfläche der Symbolleiste wieder"},
        {"DirectHelp", "Direkthilfe",
         "Zeigt Informationen zu einem Steuerelement des Linienwerk-Hauptbildschirms"},
        {"AboutInfo", "Info...", "Zeigt Copyright- und HerstellerInfos"},
    };
    QList<QAction *> shown;
    for (QAction *action : window->tbrMain->actions()) {
        if (!action->isSeparator())
            shown << action;
    }
    ASSERT_EQ(shown.size(), std::ssize(buttons));
    for (int i = 0; i < shown.size(); ++i) {
        const auto &b = buttons[i];
        EXPECT_EQ(shown[i]->objectName(), b.key);
        // Every command has a key of its own, named in the tooltip.
        EXPECT_FALSE(shown[i]->shortcut().isEmpty()) << b.key;
        EXPECT_EQ(shown[i]->toolTip(), QString::fromUtf8(b.tip) + " ("
                                           + GermanKeyText(shown[i]->shortcut()) + ")")
            << b.key;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(shown[j]->shortcut(), shown[i]->shortcut()) << b.key;
        EXPECT_EQ(shown[i]->property("description").toString(), QString::fromUtf8(b.description))
            << b.key;
        EXPECT_FALSE(shown[i]->icon().isNull()) << b.key;
    }
    EXPECT_TRUE(window->toolbarAction("VariableEdit")->isCheckable());
    EXPECT_TRUE(window->toolbarAction("ToolbarHelp")->isCheckable());
}

TEST_F(Toolbar, CopyAndPasteTheEquation)
{
    window->txtTerm->setText(" 2 * x ");
    click("CopyEquation");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), " 2 * x ");

    QGuiApplication::clipboard()->setText("SIN(x)");
    click("PasteEquation");
    EXPECT_EQ(window->txtTerm->text(), "SIN(x)");

    QGuiApplication::clipboard()->clear();
    click("PasteEquation");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Fehler");
    EXPECT_EQ(messages[0].text, "In der Zwischenablage ist kein Text gespeichert.");
    EXPECT_EQ(window->txtTerm->text(), "SIN(x)");
}

TEST_F(Toolbar, CurveColourChosenOrKept)
{
    std::optional<QColor> answer = QColor(255, 0, 0);
    QColor preset;
    SetColourChooser([&](const QColor &p, QWidget *) {
        preset = p;
        return answer;
    });
    click("GraphColor");
    EXPECT_EQ(preset, QColor(0, 0, 128));
    EXPECT_EQ(GraphSettings.LiveColor, 255u);
    answer.reset();
    click("GraphColor");
    EXPECT_EQ(GraphSettings.LiveColor, 255u);
    EXPECT_TRUE(store.read("Options", "LiveColor") == std::nullopt); // the store is not written
    window->txtTerm->setText("2");
    window->cmdDraw->click();
    EXPECT_EQ(pixel(150, 120), QColor(255, 0, 0));
}

TEST_F(Toolbar, EraseAndEditMode)
{
    window->txtTerm->setText("2");
    window->cmdDraw->click();
    click("EraseGraphs");
    EXPECT_NE(pixel(150, 120), lw::testing::CurveColour);

    click("VariableEdit");
    EXPECT_TRUE(window->picVariables->isEnabled());
    EXPECT_TRUE(window->toolbarAction("VariableEdit")->isChecked());
    click("VariableEdit");
    EXPECT_FALSE(window->picVariables->isEnabled());
    EXPECT_FALSE(window->toolbarAction("VariableEdit")->isChecked());
}

TEST_F(Toolbar, AboutOpensTheAboutBoxModally)
{
    lw::testing::ModalAnswer<FrmAbout> about([](FrmAbout *box) {
        EXPECT_EQ(box->windowTitle(), "Info...");
        box->findChild<QPushButton *>("cmdOK")->click();
    });
    click("AboutInfo");
    EXPECT_TRUE(about.answered());
    EXPECT_TRUE(messages.empty());
}

TEST_F(Toolbar, PrintOpensTheSizingWindowWithoutBlocking)
{
    click("Print");
    QWidget *sizing = window->findChild<QWidget *>("frmPrePrint");
    ASSERT_NE(sizing, nullptr);
    EXPECT_TRUE(sizing->isVisible());
    EXPECT_FALSE(sizing->isModal());
    sizing->findChild<QPushButton *>("cmdCancel")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->findChild<QWidget *>("frmPrePrint"), nullptr);
}

TEST_F(Toolbar, DirectHelpEntersWhatsThisMode)
{
    click("DirectHelp");
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

TEST_F(Toolbar, HelpModeExplainsInsteadOfActing)
{
    bool asked = false;
    CdlLoad::TestAnswer = [&](const FileDialogRequest &) -> std::optional<QString> {
        asked = true;
        return std::nullopt;
    };
    click("ToolbarHelp");
    EXPECT_TRUE(window->ToolbarHelpMode);
    click("Save");
    EXPECT_EQ(status(), "Speichert den aktuellen Graphen und alle Optionen in einer GPH-Datei");
    EXPECT_FALSE(asked);
    click("VariableEdit");
    EXPECT_FALSE(window->picVariables->isEnabled());
    EXPECT_FALSE(window->toolbarAction("VariableEdit")->isChecked());
    EXPECT_EQ(status(), "Wenn aktiviert, können Sie die Variablenwerte im Variablenbereich ändern");
    EXPECT_TRUE(window->ToolbarHelpMode); // lasts until ToolbarHelp is clicked again
    click("ToolbarHelp");
    EXPECT_FALSE(window->ToolbarHelpMode);
    EXPECT_FALSE(window->toolbarAction("ToolbarHelp")->isChecked());
    EXPECT_EQ(status(),
              "Gibt eine kurze Beschreibung zu einer Schaltfläche der Symbolleiste wieder");
    click("VariableEdit");
    EXPECT_TRUE(window->picVariables->isEnabled());
}

TEST_F(Toolbar, SaveAndLoadAGraph)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("PARABEL.GPH");
    std::vector<FileDialogRequest> requests;
    std::optional<QString> answer = path;
    CdlLoad::TestAnswer = [&](const FileDialogRequest &r) {
        requests.push_back(r);
        return answer;
    };
    window->txtTerm->setText("a*x+b");
    GraphSettings.CalcFrom = -2.5f;
    click("Save");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "Graph speichern");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Hinweis");
    EXPECT_TRUE(messages[0].text.startsWith("Gespeichert unter "));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\r\n0*x+0\r\n")); // outside edit mode a..h are 0

    GraphSettings = GraphSettingsRecord{};
    window->txtTerm->setText("x");
    window->txtPrecision->setText("5");
    click("Load");
    EXPECT_EQ(requests.back().title, "Datei öffnen");
    EXPECT_EQ(requests.back().selectedFile, path); // the name chosen last is offered again
    EXPECT_EQ(window->txtTerm->text(), "0*x+0");
    EXPECT_EQ(GraphSettings.CalcFrom, -2.5f);
    EXPECT_EQ(window->txtPrecision->text(), "0,1"); // quick options refreshed at once
    EXPECT_TRUE(window->optTermFormat[0]->isChecked());

    answer.reset(); // cancelling loads nothing
    window->txtTerm->setText("SIN(x)");
    click("Load");
    EXPECT_EQ(window->txtTerm->text(), "SIN(x)");
}

TEST_F(Toolbar, AGraphFilesLongestEquationSurvivesLoadAndSave)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("LANG.GPH");
    CdlLoad::TestAnswer = [&](const FileDialogRequest &) {
        return std::optional<QString>(path);
    };
    const QString equation = QStringLiteral("x+").repeated(20000) + u'x';
    window->txtTerm->setText(equation);
    click("Save");
    window->txtTerm->setText("x");
    click("Load");
    EXPECT_EQ(window->txtTerm->text().size(), equation.size());
    EXPECT_EQ(messages.size(), 1u) << "the save's notice only";
}

TEST_F(Toolbar, KeysActAsTheirButtonsAndOnlyExplainThemInHelpMode)
{
    QString asked;
    CdlLoad::TestAnswer = [&](const FileDialogRequest &r) -> std::optional<QString> {
        asked = r.title;
        return std::nullopt;
    };
    const struct {
        Qt::Key key;
        const char *button;
        const char *opens; // the title of the window the key opens
    } keys[] = {
        {Qt::Key_O, "Load", "Datei öffnen"},
        {Qt::Key_S, "Save", "Graph speichern"},
        {Qt::Key_P, "Print", "Drucken"},
    };
    for (const bool helpMode : {false, true}) {
        if (helpMode)
            click("ToolbarHelp");
        for (const auto &k : keys) {
            SCOPED_TRACE(std::string(k.button) + (helpMode ? " in help mode" : ""));
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
            asked.clear();
            window->sbrMain->clearMessage();
            QTest::keyClick(window->txtTerm, k.key, Qt::ControlModifier);
            if (QWidget *sizing = window->findChild<QWidget *>("frmPrePrint")) {
                asked = sizing->windowTitle();
                delete sizing;
            }
            EXPECT_EQ(asked, helpMode ? QString() : QString::fromUtf8(k.opens));
            const QString description =
                window->toolbarAction(k.button)->property("description").toString();
            EXPECT_EQ(status(), helpMode ? description : QString());
        }
    }
    EXPECT_TRUE(window->ToolbarHelpMode);
    EXPECT_EQ(window->txtTerm->text(), "x"); // the keys typed nothing
}

// A graph file of x^2 with every quick option changed.
QString writeParabola(const QTemporaryDir &folder)
{
    const QString graph = folder.filePath("PARABEL.GPH");
    GraphSettingsRecord saved;
    saved.Precision = 0.5f;
    saved.ScreenCentralX = 3;
    saved.LinkPoints = false;
    saved.AlwaysDeleteGraph = true;
    QFile file(graph);
    if (file.open(QIODevice::WriteOnly))
        file.write(WriteGph(saved, "x^2", QDateTime::currentDateTime(), QLocale()));
    return graph;
}

bool showsNoCurve(const QImage &picture)
{
    for (int y = 0; y < picture.height(); y += 2) {
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y) == lw::testing::CurveColour)
                return false;
    }
    return true;
}

TEST_F(Toolbar, AFileNamedAtTheStartIsLoadedAsLoadLoadsIt)
{
    QTemporaryDir folder;
    const QString graph = writeParabola(folder);
    const struct BackHome {
        QString path = QDir::currentPath();
        ~BackHome() { QDir::setCurrent(path); }
    } home;
    QDir::setCurrent(folder.path());

    QString offered;
    CdlLoad::TestAnswer = [&](const FileDialogRequest &r) -> std::optional<QString> {
        offered = r.selectedFile;
        return std::nullopt;
    };
    const struct {
        QString named;
        bool loads;
    } starts[] = {
        {graph, true},
        {"PARABEL.GPH", true}, // from the folder the program was started in
        {"FEHLT.GPH", false},
    };
    for (const auto &start : starts) {
        SCOPED_TRACE(start.named.toStdString());
        window.reset();
        GraphSettings = GraphSettingsRecord{};
        messages.clear();
        window = Main(start.named);
        const QString absolute = QDir(folder.path()).absoluteFilePath(start.named);
        QStringList errors;
        for (const Message &m : messages) {
            if (m.title == "Fehler")
                errors << m.text;
        }
        EXPECT_EQ(window->txtTerm->text(), start.loads ? "x^2" : "x");
        EXPECT_EQ(window->txtPrecision->text(), start.loads ? "0,5" : "0,1");
        EXPECT_EQ(window->txtScreenCentralX->text(), start.loads ? "3" : "0");
        EXPECT_EQ(window->chkAlwaysDelete->isChecked(), start.loads);
        EXPECT_TRUE(showsNoCurve(window->picGraph->surface().image()));
        if (start.loads) {
            EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
        } else {
            ASSERT_EQ(errors.size(), 1);
            EXPECT_TRUE(errors[0].startsWith("Die Datei " + QDir::toNativeSeparators(absolute)
                                             + " kann nicht geladen werden.\n"))
                << errors[0].toStdString();
        }
        click("Load");
        EXPECT_EQ(offered, start.loads ? absolute : QString()); // a plain start offers no name
    }
}

} // namespace
