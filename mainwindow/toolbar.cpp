#include "toolbar.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QToolBar>

#include <utility>

namespace lw {

const std::array<ToolbarButton, 13> ToolbarButtons{{
    {"Load", ":/toolbar/load.svg", "Datei öffnen",
     "Öffnet eine GPH-Datei mit einem zuvor gespeicherten Graphen", false, false},
    {"Save", ":/toolbar/save.svg", "Datei speichern",
     "Speichert den aktuellen Graphen und alle Optionen in einer GPH-Datei", false, false},
    {"CopyEquation", ":/toolbar/copy.svg", "Kopieren",
     "Kopiert die aktuelle Funktionsgleichung in die Zwischenablage", false, true},
    {"PasteEquation", ":/toolbar/paste.svg", "Einfügen",
     "Fügt den Inhalt der Zwischenablage in das Textfeld 'Funktionsgleichung' ein", false, false},
    {"Print", ":/toolbar/print.svg", "Drucken",
     "Druckt den Inhalt des Schaubildbereichs auf dem Systemdrucker", false, false},
    {"EraseGraphs", ":/toolbar/graphredraw.svg", "Graphen löschen",
     "Löscht alle Graphen und zeichnet das Koordinatensystem neu", false, true},
    {"VariableEdit", ":/toolbar/variableedit.svg", "Variablenwerte bearbeiten",
     "Wenn aktiviert, können Sie die Variablenwerte im Variablenbereich ändern", true, false},
    {"GraphColor", ":/toolbar/colour.svg", "Zeichenfarbe",
     "Ändert die Farbe, mit der die Schaubildkurve gezeichnet wird", false, false},
    {"FAssist", ":/toolbar/fassist.svg", "Funktions-Assistent",
     "Öffnet den Funktions-Assistenten mit Funktionsschablonen", false, false},
    {"GraphOptions", ":/toolbar/options1.svg", "Schaubild-Einstellungen",
     "Öffnet das Dialogfeld 'Schaubild-Einstellungen' zum Anpassen des Schaubilds", false, false},
    {"ToolbarHelp", ":/toolbar/help2.svg", "Schaltflächen-Hilfe",
     "Gibt eine kurze Beschreibung zu einer Schaltfläche der Symbolleiste wieder", true, true},
    {"DirectHelp", ":/toolbar/whatsthat.svg", "Direkthilfe",
     "Zeigt Informationen zu einem Steuerelement des Linienwerk-Hauptbildschirms", false, false},
    {"AboutInfo", ":/toolbar/logo2.svg", "Info...", "Zeigt Copyright- und HerstellerInfos", false,
     false},
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
}

} // namespace lw
