// SPDX-License-Identifier: GPL-3.0-or-later
// The curve analysis on the command line: analyse, derive and table. Other programs read their
// output, so its form is fixed: one line a point or row, a point as decimal sign.

#include "analysecommands.h"

#include "analysis/analysis.h"
#include "analysis/parameternote.h"
#include "formula/equation.h"
#include "formula/numbertext.h"
#include "formula/variables.h"

#include <QString>

#include <cmath>
#include <cstdio>
#include <optional>
#include <ostream>

namespace lw {

namespace {

struct AnalyseOptions {
    std::optional<double> from;
    std::optional<double> to;
    std::optional<double> step;
    bool kzn = false;
    VariableValues variables;
    bool help = false;
    std::u16string equation;
};

// Which options a command takes.
struct OptionSet {
    bool bounds = false; // --from, --to, --step
    bool variables = false;
};

QString qText(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// A number as scripts write it; a decimal comma is taken too, as everywhere else.
std::optional<double> numberOf(const QString &text)
{
    bool ok = false;
    const double value = QString(text).replace(u',', u'.').toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Sets one option from its value; false with the German reason.
bool applyOption(AnalyseOptions &options, const QString &name, const QString &value,
                 QString &reason)
{
    if (name == u"--var")
        return ApplyVariableOption(options.variables, value, reason);
    const std::optional<double> number = numberOf(value);
    if (!number) {
        reason = QStringLiteral("Ungültige Zahl für %1: %2").arg(name, value);
        return false;
    }
    (name == u"--from" ? options.from : name == u"--to" ? options.to : options.step) = number;
    return true;
}

bool takesValue(const QString &name, OptionSet set)
{
    return (set.bounds && (name == u"--from" || name == u"--to" || name == u"--step"))
           || (set.variables && name == u"--var");
}

// Options in any order, then exactly one equation; "--" ends the options. An empty reason
// means the call was fine.
QString parse(const std::vector<std::u16string> &arguments, OptionSet set, AnalyseOptions &options)
{
    std::vector<std::u16string> equations;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const QString argument = qText(arguments[i]);
        if (optionsEnded || !argument.startsWith(u'-')) {
            equations.push_back(arguments[i]);
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (argument == u"--kzn") {
            options.kzn = true;
        } else if (argument == u"--help") {
            options.help = true;
        } else if (!takesValue(argument, set)) {
            return QStringLiteral("Unbekannte Option: %1").arg(argument);
        } else if (++i == arguments.size()) {
            return QStringLiteral("Die Option %1 braucht einen Wert.").arg(argument);
        } else if (QString reason; !applyOption(options, argument, qText(arguments[i]), reason)) {
            return reason;
        }
    }
    if (equations.size() != 1 && !options.help)
        return QStringLiteral("Genau eine GLEICHUNG angeben.");
    if (!equations.empty())
        options.equation = equations.front();
    return {};
}

int wrongCall(const CliCall &call, const QString &reason)
{
    call.err << reason.toStdString() << '\n' << CliUsage();
    return CliWrongCall;
}

// Reads the call; an exit code when the command ends here (help shown, a wrong call).
std::optional<int> readCall(const CliCall &call, OptionSet set, AnalyseOptions &options)
{
    if (const QString reason = parse(call.operands, set, options); !reason.isEmpty())
        return wrongCall(call, reason);
    if (options.help) {
        call.out << CliHelp();
        return CliSuccess;
    }
    return std::nullopt;
}

// The formula the draw command would plot, or nullopt after printing why not, as convert does;
// what the window notes on its parameters goes to the error output.
std::optional<std::u16string> formulaOf(const AnalyseOptions &options, const CliCall &call)
{
    const EquationFormula typed =
        FormulaOfEquation(options.equation, options.kzn ? Notation::Kzn : Notation::Mathematical);
    if (typed.fault != EquationFault::None) {
        call.err << Utf8Text(typed.message) << '\n';
        return std::nullopt;
    }
    if (const QString note = ParameterNote(typed.formula, options.variables); !note.isEmpty())
        call.err << note.toStdString() << '\n';
    // The note says they count as 0; the analysis reads no letters, so they are put in as 0.
    VariableValues variables = options.variables;
    for (std::size_t row = 0; row < variables.checked.size(); ++row) {
        if (variables.editMode && !variables.checked[row]) {
            variables.checked[row] = true;
            variables.values[row].clear(); // an empty value is put in as 0
        }
    }
    return UpdateVariables(typed.formula, variables);
}

// Beyond this the decimals of a double are noise, and its integer part hundreds of digits long.
constexpr double LargestFixed = 1e15;

// 7 significant digits and an exponent, as in formulas: "-2.142859E+301", "1E+16".
std::string exponentText(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6E", value);
    std::string text = buffer;
    const std::size_t e = text.find('E');
    std::size_t end = text.find_last_not_of('0', e - 1);
    if (text[end] == '.')
        --end;
    return text.erase(end + 1, e - end - 1);
}

std::string number(double value)
{
    if (std::abs(value) > LargestFixed)
        return exponentText(value);
    return Utf8Text(FixedDecimalText(value, 6, u'.'));
}

} // namespace

int RunAnalyse(const CliCall &call)
{
    AnalyseOptions options;
    if (const auto end = readCall(call, {.bounds = true, .variables = true}, options))
        return *end;
    if (options.step)
        return wrongCall(call, QStringLiteral("Unbekannte Option: --step"));
    const double from = options.from.value_or(-10);
    const double to = options.to.value_or(10);
    if (!(from < to))
        return wrongCall(call, QStringLiteral("--from muss kleiner als --to sein."));
    const std::optional<std::u16string> formula = formulaOf(options, call);
    if (!formula)
        return CliFailed;
    const FormulaAnalysis analysis = AnalyseFormula(*formula, from, to);
    if (!analysis.note.empty())
        call.err << Utf8Text(analysis.note) << '\n';
    for (const CurvePoint &point : analysis.points) {
        // The gaps are the window's: the line's kinds are fixed.
        if (point.kind == PointKind::Gap || point.kind == PointKind::Intersection)
            continue;
        call.out << Utf8Text(PointKindName(point.kind)) << ' ' << number(point.x) << ' '
                 << (point.kind == PointKind::Pole ? std::string("-") : number(point.y)) << '\n';
    }
    return CliSuccess;
}

int RunDerive(const CliCall &call)
{
    AnalyseOptions options;
    if (const auto end = readCall(call, {.variables = true}, options))
        return *end;
    const std::optional<std::u16string> formula = formulaOf(options, call);
    if (!formula)
        return CliFailed;
    const std::optional<DerivedFormula> derived = DeriveFormula(*formula);
    if (!derived) {
        call.err << "Zu dieser Formel kann keine Ableitung gebildet werden.\n";
        return CliFailed;
    }
    call.out << Utf8Text(derived->mathematical) << '\n' << Utf8Text(derived->kzn) << '\n';
    return CliSuccess;
}

int RunTable(const CliCall &call)
{
    AnalyseOptions options;
    if (const auto end = readCall(call, {.bounds = true, .variables = true}, options))
        return *end;
    if (!options.from || !options.to || !options.step)
        return wrongCall(call, QStringLiteral("table braucht --from, --to und --step."));
    const std::optional<std::size_t> rows =
        TableRowCount(*options.from, *options.to, *options.step);
    if (!rows)
        return wrongCall(call,
                         QStringLiteral("--step muss positiv und --from höchstens --to sein."));
    if (*rows > MaxTableRows)
        return wrongCall(call, QStringLiteral("Höchstens %1 Zeilen.").arg(MaxTableRows));
    const std::optional<std::u16string> formula = formulaOf(options, call);
    if (!formula)
        return CliFailed;
    std::string text;
    for (const TableRow &row :
         ValueTable(*formula, *options.from, *options.to, *options.step, false))
        text.append(number(row.x)).append("\t").append(row.y ? number(*row.y) : "-").append("\n");
    call.out << text;
    return CliSuccess;
}

} // namespace lw
