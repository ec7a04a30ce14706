#include "toolbar.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QToolBar>

#include <utility>

namespace lw {

const std::array<ToolbarButton, 15> ToolbarButtons{{
    {.key = "Load",
     .image = ":/toolbar/load.svg",
     .toolTip = "Datei öffnen",
     .description = "Öffnet eine GPH-Datei mit einem zuvor gespeicherten Graphen"},
    {.key = "Save",
     .image = ":/toolbar/save.svg",
     .toolTip = "Datei speichern",
     .description = "Speichert den aktuellen Graphen und alle Optionen in einer GPH-Datei"},
    {.key = "CopyEquation",
     .image = ":/toolbar/copy.svg",
     .toolTip = "Kopieren",
     .description = "Kopiert die aktuelle Funktionsgleichung in die Zwischenablage",
     .separatorBefore = true},
    {.key = "PasteEquation",
     .image = ":/toolbar/paste.svg",
     .toolTip = "Einfügen",
     .description = "Fügt den Inhalt der Zwischenablage in das Textfeld 'Funktionsgleichung' ein"},
    {.key = "Print",
     .image = ":/toolbar/print.svg",
     .toolTip = "Drucken",
     .description = "Druckt den Inhalt des Schaubildbereichs auf dem Systemdrucker"},
    {.key = "EraseGraphs",
     .image = ":/toolbar/graphredraw.svg",
     .toolTip = "Graphen löschen",
     .description = "Löscht alle Graphen und zeichnet das Koordinatensystem neu",
     .separatorBefore = true},
    {.key = "CurveList",
     .image = ":/toolbar/curvelist.svg",
     .toolTip = "Kurven",
     .description = "Zeigt die gezeichneten Kurven zum Ausblenden, Löschen und Wiederverwenden"},
    {.key = "CurveAnalysis",
     .image = ":/toolbar/analysis.svg",
     .toolTip = "Kurvendiskussion",
     .description = "Zeigt Nullstellen, Extrempunkte, Wendepunkte und Ableitungen einer Kurve"},
    {.key = "VariableEdit",
     .image = ":/toolbar/variableedit.svg",
     .toolTip = "Variablenwerte bearbeiten",
     .description = "Wenn aktiviert, können Sie die Variablenwerte im Variablenbereich ändern",
     .toggle = true},
    {.key = "GraphColor",
     .image = ":/toolbar/colour.svg",
     .toolTip = "Zeichenfarbe",
     .description = "Ändert die Farbe, mit der die Schaubildkurve gezeichnet wird"},
    {.key = "FAssist",
     .image = ":/toolbar/fassist.svg",
     .toolTip = "Funktions-Assistent",
     .description = "Öffnet den Funktions-Assistenten mit Funktionsschablonen"},
    {.key = "GraphOptions",
     .image = ":/toolbar/options1.svg",
     .toolTip = "Schaubild-Einstellungen",
     .description = "Öffnet das Dialogfeld 'Schaubild-Einstellungen' zum Anpassen des Schaubilds"},
    {.key = "ToolbarHelp",
     .image = ":/toolbar/help2.svg",
     .toolTip = "Schaltflächen-Hilfe",
     .description = "Gibt eine kurze Beschreibung zu einer Schaltfläche der Symbolleiste wieder",
     .toggle = true,
     .separatorBefore = true},
    {.key = "DirectHelp",
     .image = ":/toolbar/whatsthat.svg",
     .toolTip = "Direkthilfe",
     .description = "Zeigt Informationen zu einem Steuerelement des Linienwerk-Hauptbildschirms"},
    {.key = "AboutInfo",
     .image = ":/toolbar/logo2.svg",
     .toolTip = "Info...",
     .description = "Zeigt Copyright- und HerstellerInfos"},
}};

namespace {

// The keys are the buttons' own shortcuts, so in the toolbar help mode a key explains its button.
const std::pair<const char *, QKeySequence::StandardKey> ButtonKeys[] = {
    {"Load", QKeySequence::Open},
    {"Save", QKeySequence::Save},
    {"Print", QKeySequence::Print},
};

} // namespace

void CreateToolbarActions(QToolBar *toolbar)
{
    for (const ToolbarButton &button : ToolbarButtons) {
        if (button.separatorBefore)
            toolbar->addSeparator();
        QAction *action = toolbar->addAction(QIcon(QString::fromLatin1(button.image)), QString());
        action->setObjectName(QString::fromLatin1(button.key));
        action->setToolTip(QString::fromUtf8(button.toolTip));
        action->setProperty("description", QString::fromUtf8(button.description));
        action->setCheckable(button.toggle);
    }
    for (const auto &[key, shortcut] : ButtonKeys)
        toolbar->findChild<QAction *>(QString::fromLatin1(key))->setShortcuts(shortcut);
    toolbar->findChild<QAction *>(QStringLiteral("CurveList"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    toolbar->findChild<QAction *>(QStringLiteral("CurveAnalysis"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
}

} // namespace lw
