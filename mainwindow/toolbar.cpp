// SPDX-License-Identifier: GPL-3.0-or-later

#include "toolbar.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QToolBar>

#include <utility>

namespace lw {

const std::array<ToolbarButton, 17> ToolbarButtons{{
    {.key = "Load",
     .image = ":/toolbar/load.svg",
     .toolTip = "Datei öffnen",
     .description = "Öffnet eine GPH-Datei mit einem zuvor gespeicherten Graphen",
     .keys = "Ctrl+O"},
    {.key = "Save",
     .image = ":/toolbar/save.svg",
     .toolTip = "Datei speichern",
     .description = "Speichert den aktuellen Graphen und alle Optionen in einer GPH-Datei",
     .keys = "Ctrl+S"},
    {.key = "CopyEquation",
     .image = ":/toolbar/copy.svg",
     .toolTip = "Kopieren",
     .description = "Kopiert die aktuelle Funktionsgleichung in die Zwischenablage",
     .keys = "Ctrl+Shift+K",
     .separatorBefore = true},
    {.key = "PasteEquation",
     .image = ":/toolbar/paste.svg",
     .toolTip = "Einfügen",
     .description = "Fügt den Inhalt der Zwischenablage in das Textfeld 'Funktionsgleichung' ein",
     .keys = "Ctrl+Shift+V"},
    {.key = "Print",
     .image = ":/toolbar/print.svg",
     .toolTip = "Drucken",
     .description = "Druckt den Inhalt des Schaubildbereichs auf dem Systemdrucker",
     .keys = "Ctrl+P"},
    {.key = "EraseGraphs",
     .image = ":/toolbar/graphredraw.svg",
     .toolTip = "Graphen löschen",
     .description = "Löscht alle Graphen und zeichnet das Koordinatensystem neu",
     .keys = "Ctrl+Del",
     .separatorBefore = true},
    {.key = "Undo",
     .image = ":/toolbar/undo.svg",
     .toolTip = "Rückgängig",
     .description = "Macht die letzte Änderung der Kurvenliste rückgängig: Zeichnen, Löschen, "
                    "Ausblenden",
     .keys = "Ctrl+Z"},
    {.key = "Redo",
     .image = ":/toolbar/redo.svg",
     .toolTip = "Wiederholen",
     .description = "Stellt die zuletzt rückgängig gemachte Änderung der Kurvenliste wieder her",
     .keys = "Ctrl+Shift+Z",
     .moreKeys = "Ctrl+Y"},
    {.key = "CurveList",
     .image = ":/toolbar/curvelist.svg",
     .toolTip = "Kurven",
     .description = "Zeigt die gezeichneten Kurven zum Ausblenden, Löschen und Wiederverwenden",
     .keys = "Ctrl+L"},
    {.key = "CurveAnalysis",
     .image = ":/toolbar/analysis.svg",
     .toolTip = "Kurvendiskussion",
     .description = "Zeigt Nullstellen, Extrempunkte, Wendepunkte und Ableitungen einer Kurve",
     .keys = "Ctrl+K"},
    {.key = "VariableEdit",
     .image = ":/toolbar/variableedit.svg",
     .toolTip = "Variablenwerte bearbeiten",
     .description = "Wenn aktiviert, können Sie die Variablenwerte im Variablenbereich ändern",
     .keys = "F2",
     .toggle = true},
    {.key = "GraphColor",
     .image = ":/toolbar/colour.svg",
     .toolTip = "Zeichenfarbe",
     .description = "Ändert die Farbe, mit der die Schaubildkurve gezeichnet wird",
     .keys = "Ctrl+Shift+F"},
    {.key = "FAssist",
     .image = ":/toolbar/fassist.svg",
     .toolTip = "Funktions-Assistent",
     .description = "Öffnet den Funktions-Assistenten mit Funktionsschablonen",
     .keys = "Ctrl+Shift+A"},
    {.key = "GraphOptions",
     .image = ":/toolbar/options1.svg",
     .toolTip = "Schaubild-Einstellungen",
     .description = "Öffnet das Dialogfeld 'Schaubild-Einstellungen' zum Anpassen des Schaubilds",
     .keys = "Ctrl+E"},
    {.key = "ToolbarHelp",
     .image = ":/toolbar/help2.svg",
     .toolTip = "Schaltflächen-Hilfe",
     .description = "Gibt eine kurze Beschreibung zu einer Schaltfläche der Symbolleiste wieder",
     .keys = "Ctrl+F1",
     .toggle = true,
     .separatorBefore = true},
    {.key = "DirectHelp",
     .image = ":/toolbar/whatsthat.svg",
     .toolTip = "Direkthilfe",
     .description = "Zeigt Informationen zu einem Steuerelement des Linienwerk-Hauptbildschirms",
     .keys = "Shift+F1"},
    {.key = "AboutInfo",
     .image = ":/toolbar/logo2.svg",
     .toolTip = "Info...",
     .description = "Zeigt Copyright- und HerstellerInfos",
     .keys = "Ctrl+I"},
}};

void CreateToolbarActions(QToolBar *toolbar)
{
    for (const ToolbarButton &button : ToolbarButtons) {
        if (button.separatorBefore)
            toolbar->addSeparator();
        QAction *action = toolbar->addAction(QIcon(QString::fromLatin1(button.image)), QString());
        action->setObjectName(QString::fromLatin1(button.key));
        const QKeySequence keys(QString::fromLatin1(button.keys));
        // The keys are the buttons' own shortcuts, so in the toolbar help mode a key explains
        // its button.
        QList<QKeySequence> shortcuts{keys};
        if (button.moreKeys)
            shortcuts << QKeySequence(QString::fromLatin1(button.moreKeys));
        action->setShortcuts(shortcuts);
        action->setText(QString::fromUtf8(button.toolTip));
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(QString::fromUtf8(button.toolTip), GermanKeyText(keys)));
        action->setProperty("description", QString::fromUtf8(button.description));
        action->setCheckable(button.toggle);
    }
}

QString GermanKeyText(const QKeySequence &keys)
{
    static const std::pair<const char *, const char *> Names[] = {
        {"Ctrl", "Strg"}, {"Shift", "Umschalt"}, {"Del", "Entf"},
        {"Ins", "Einfg"}, {"Home", "Pos1"},      {"Esc", "Esc"},
    };
    QStringList parts = keys.toString(QKeySequence::PortableText).split(u'+');
    for (QString &part : parts) {
        for (const auto &[english, german] : Names) {
            if (part == QLatin1String(english))
                part = QString::fromUtf8(german);
        }
    }
    return parts.join(u'+');
}

} // namespace lw
