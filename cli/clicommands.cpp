// SPDX-License-Identifier: GPL-3.0-or-later

#include "clicommands.h"

#include "analysecommands.h"
#include "rendercommand.h"

#include "formula/equation.h"
#include "formula/evaluator.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"
#include "settings/settingsfields.h"

#include <QString>

#include <array>
#include <ostream>

namespace lw {

namespace {

constexpr std::string_view ProgramName = "linienwerk-cli";

constexpr std::string_view ConvertHelp =
    "  Wandelt einen Term in mathematischer Schreibweise in eine KZN-Formel um, gelesen\n"
    "  wie das Zeichnen ihn liest; ein einzelner Operand wird mit 1 multipliziert.\n"
    "  Funktionen dürfen klein und ohne Klammern geschrieben werden (sin x, ln x), das\n"
    "  Malzeichen darf zwischen zwei Operanden fehlen (2x, a sin(x)), |x|, pi, x², ½,\n"
    "  ·, ÷ und √ gelten, ein \"y =\" am Anfang wird übergangen.\n"
    "  Ausgabe: die Formel; Rückgabewert 0. Bei einem fehlerhaften oder leeren Term\n"
    "  eine Meldung auf der Fehlerausgabe, bei einem Fehler im Term mit einer zweiten\n"
    "  Zeile, die ihn und seine Stelle nennt; Rückgabewert 1.\n"
    "  Beispiele:\n"
    "    linienwerk-cli convert '2*x^2+3*x-4'   ->  DIF(SUM(PRO(2;POT(x;2));PRO(3;x));4)\n"
    "    linienwerk-cli convert '2x+sin(x)'     ->  SUM(PRO(2;x);SIN(x))\n"
    "    linienwerk-cli convert -- -x^2         ->  DIF(;POT(x;2))\n";

constexpr std::string_view EvalHelp =
    "  Berechnet eine KZN-Formel. Ausgabe: der Wert und der Rechenfehler\n"
    "  (0 = kein Fehler, -1 = Überlauf, Division durch 0 o. Ä.); Rückgabewert 0.\n"
    "  Eine Potenz, die überläuft, gibt INF oder -INF mit dem Rechenfehler 0.\n"
    "  Bei einer fehlerhaften Formel \"FEHLER: ...\" auf der Fehlerausgabe und\n"
    "  Rückgabewert 2.\n"
    "  Beispiele:\n"
    "    linienwerk-cli eval 'SUM(1;PRO(2;3);4)'   ->  11 0\n"
    "    linienwerk-cli eval 'PRO(1E30;1E30)'      ->  1E+30 -1\n";

constexpr std::string_view RenderHelp =
    "  Zeichnet wie ein frisch gestartetes Programm mit den Standardeinstellungen auf ein\n"
    "  Bild von N x N Pixeln (Standard 300, erlaubt 1 bis 10000): erst das\n"
    "  Koordinatensystem, dann jede GLEICHUNG als eigene Kurve.\n"
    "  --kzn            Die Gleichungen sind KZN-Formeln statt mathematischer Schreibweise.\n"
    "  --var L=WERT     Setzt die Variable L (a bis h) auf WERT, so wie eingegeben.\n"
    "                   Variablen ohne --var zählen als 0.\n"
    "  --set FELD=WERT  Ändert eine Einstellung, z. B. Precision=0,05 oder LinkPoints=False;\n"
    "                   die Namen stehen unten unter \"Einstellungen\".\n"
    "  --gph DATEI      Nimmt die Einstellungen (ohne Farben) und die Gleichung aus einer\n"
    "                   Graph-Datei; --set ändert sie danach. Die Gleichung der Datei wird\n"
    "                   zuerst gezeichnet, dann jede GLEICHUNG, die dann auch fehlen darf.\n"
    "  --sheet DATEI    Nimmt die Einstellungen und die Kurven aus einem Arbeitsblatt (.lwa):\n"
    "                   jede sichtbare Kurve seiner Liste in ihrer Farbe, Genauigkeit und\n"
    "                   Verbindung, vor jeder GLEICHUNG, die dann auch fehlen darf; --set\n"
    "                   ändert die Einstellungen danach. Nicht zusammen mit --gph.\n"
    "  --family L=VON:BIS:SCHRITT\n"
    "                   Zeichnet jede GLEICHUNG als Schar: eine Kurve für jeden Wert der\n"
    "                   Variablen L (a bis h) von VON bis BIS in Schritten von SCHRITT (Zahlen\n"
    "                   mit Punkt oder Komma), höchstens 50, in zehn Farben reihum; die\n"
    "                   Legende nennt den Wert (a = -2). Höchstens einmal.\n"
    "  -o DATEI         Schreibt das Bild als PNG, SVG oder PDF, je nach Endung.\n"
    "  --legend         Schreibt die Gleichungen in ihren Farben oben links ins Bild.\n"
    "  --trace          Gibt jeden Zeichenschritt als Zeile aus: clear, line X1 Y1 X2 Y2 FARBE,\n"
    "                   point X Y FARBE, text X Y FARBE TEXT.\n"
    "  --               Beendet die Optionen: danach darf GLEICHUNG mit \"-\" beginnen.\n"
    "  Rückgabewert 0; 1, wenn eine Gleichung leer ist, nicht umgewandelt werden kann oder\n"
    "  nicht so gezeichnet würde, wie sie dasteht (wie bei convert, auch mit --kzn),\n"
    "  beim Zeichnen ein Formelfehler (\"FEHLER: ...\") auftritt, die Graph-Datei oder das\n"
    "  Arbeitsblatt nicht gelesen oder das Bild nicht geschrieben werden kann; 2 bei einem\n"
    "  falschen Aufruf (auch einer Schar ohne Kurve oder mit mehr als 50), einer\n"
    "  Rechengenauigkeit, mit der eine Kurve nie fertig würde, einem Anzeigebereich unter 1\n"
    "  oder einem Bild, zu klein für eine Einheit von einem Pixel.\n"
    "  Beispiele:\n"
    "    linienwerk-cli render -o kurve.png '2*x^2+3*x-4'\n"
    "    linienwerk-cli render --trace --set LinkPoints=False -- 2\n"
    "    linienwerk-cli render --family a=-2:2:1 --legend -o schar.png 'a*x^2'\n";

constexpr std::string_view AnalyseHelp =
    "  Kurvendiskussion im Bereich A bis B (Standard -10 bis 10): eine Zeile je Punkt,\n"
    "  nach x geordnet, als ART X Y mit ART Nullstelle, Hochpunkt, Tiefpunkt, Wendepunkt,\n"
    "  Polstelle (Y ist dann -) oder y-Achsenabschnitt; Zahlen mit Punkt und bis zu 6\n"
    "  Nachkommastellen, jenseits von 10^15 mit Exponent (1.5E+20). Die Gleichung wird\n"
    "  gelesen wie beim Zeichnen (--kzn, --var wie bei render); Parameter ohne --var\n"
    "  zählen als 0, ein Hinweis auf der Fehlerausgabe nennt sie. Ist der Bereich zu weit\n"
    "  für die Abtastung, stehen nur die sicheren Punkte da und ein Hinweis auf der\n"
    "  Fehlerausgabe sagt es. Rückgabewert 0, auch ohne Punkte; 1 bei einer Gleichung,\n"
    "  die nicht gezeichnet würde (Meldung wie bei convert); 2 bei einem falschen Aufruf.\n"
    "  Beispiel:\n"
    "    linienwerk-cli analyse '2*x^2+3*x-4'\n";

constexpr std::string_view DeriveHelp =
    "  Die Ableitung f'(x): in der ersten Zeile in mathematischer Schreibweise, in der\n"
    "  zweiten als KZN-Formel; --kzn und --var wie bei analyse, mit demselben Hinweis auf\n"
    "  Parameter, die als 0 zählen. Rückgabewerte wie bei convert.\n"
    "  Beispiel:\n"
    "    linienwerk-cli derive '2*x^2+3*x-4'   ->  4*x+3\n";

constexpr std::string_view TableHelp =
    "  Wertetabelle von A bis B in Schritten von S: je Zeile x, ein Tabulator und y\n"
    "  (- wo die Funktion keinen Wert hat), mit Punkt als Dezimalzeichen, jenseits von\n"
    "  10^15 mit Exponent (-2.142859E+301); --kzn und --var wie bei analyse, mit\n"
    "  demselben Hinweis. Höchstens 1 000 000 Zeilen; mehr ist ein falscher Aufruf\n"
    "  (Rückgabewert 2).\n"
    "  Beispiel:\n"
    "    linienwerk-cli table --from -2 --to 2 --step 0.5 'x^2'\n";

// Name, operands, their count, help, what runs, and whether it reads its own options.
constexpr std::array Commands{
    CliCommand{"convert", "[--] TERM", 1, ConvertHelp, RunConvert},
    CliCommand{"eval", "[--] FORMEL", 1, EvalHelp, RunEval},
    CliCommand{"render", RenderSyntax, 0, RenderHelp, RunRender, true},
    CliCommand{"analyse", AnalyseSyntax, 1, AnalyseHelp, RunAnalyse, true},
    CliCommand{"derive", DeriveSyntax, 1, DeriveHelp, RunDerive, true},
    CliCommand{"table", TableSyntax, 1, TableHelp, RunTable, true},
};

} // namespace

const CliCommand *FindCliCommand(std::string_view name)
{
    for (const CliCommand &command : Commands) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

int RunConvert(const CliCall &call)
{
    const EquationFormula result = FormulaOfEquation(call.operands.at(0), Notation::Mathematical);
    if (result.fault != EquationFault::None) {
        call.err << Utf8Text(result.message) << '\n';
        return CliFailed;
    }
    call.out << Utf8Text(result.formula) << '\n';
    return CliSuccess;
}

int RunEval(const CliCall &call)
{
    CalcError = 0;
    FormulaError error = FormulaError::None;
    const float value = CalcFormula(call.operands.at(0), &error);
    if (error != FormulaError::None) {
        call.err << Utf8Text(FormulaErrorMessage(error)) << '\n';
        return CliFormulaError;
    }
    call.out << NumberTextAscii(value) << ' ' << static_cast<int>(CalcError) << '\n';
    return CliSuccess;
}

std::string CliUsage()
{
    std::string usage;
    std::string_view prefix = "Aufruf: ";
    for (const CliCommand &command : Commands) {
        usage.append(prefix).append(ProgramName).append(" ").append(command.name);
        usage.append(" ").append(command.operandSyntax).append("\n");
        prefix = "        ";
    }
    usage.append(prefix).append(ProgramName).append(" --help\n");
    return usage;
}

std::string CliHelp()
{
    std::string help = "linienwerk-cli: Linienwerk 2.0 ohne Fenster\n\n" + CliUsage();
    for (const CliCommand &command : Commands)
        help.append("\n").append(command.name).append("\n").append(command.help);
    help.append("\nEinstellungen (für --set, Groß- und Kleinschreibung beliebig)\n");
    // The names wrapped to the help's width, appended piece by piece: GCC 12 at -O3 misreads
    // assignments of short literals to a std::string here as overlapping copies.
    std::size_t lineLength = 1;
    help.append(" ");
    for (const SettingsField &field : SettingsFields) {
        const std::size_t length = std::char_traits<char>::length(field.name) + 2;
        if (lineLength + length > 78) {
            help.append("\n ");
            lineLength = 1;
        }
        help.append(" ").append(field.name).append(",");
        lineLength += length;
    }
    help.pop_back(); // the last comma
    help.append("\n");
    help.append("\n--\n  Beendet die Optionen: danach darf TERM oder FORMEL mit \"-\" beginnen.\n"
                "--help\n  Zeigt diese Hilfe.\n\n"
                "Bei einem falschen Aufruf erscheint die Aufrufzeile auf der Fehlerausgabe,\n"
                "Rückgabewert 2.\n");
    return help;
}

bool ApplyVariableOption(VariableValues &variables, const QString &value, QString &reason)
{
    if (value.size() < 2 || value[0] < u'a' || value[0] > u'h' || value[1] != u'=') {
        reason = QStringLiteral("Ungültige Variable: %1 (a=WERT bis h=WERT)").arg(value);
        return false;
    }
    const auto row = static_cast<std::size_t>(value[0].unicode() - u'a');
    variables.editMode = true;
    variables.checked[row] = true;
    variables.values[row] = value.mid(2).toStdU16String();
    return true;
}

std::u16string ArgumentText(const char *argument)
{
    return QString::fromLocal8Bit(argument).toStdU16String();
}

std::string Utf8Text(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

} // namespace lw
