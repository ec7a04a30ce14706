// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "analysis/curvepoints.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

class PreparedFormula;

// Every answer comes within this, however costly the formula: the window asks while the pupil
// waits, and the command line in scripts.
inline constexpr int AnalysisBudgetMs = 200;
// The clock the budget is measured on, in milliseconds; tests put in one of their own, and an
// empty function puts back the steady clock.
void SetAnalysisClock(std::function<long long()> milliseconds);

// A derivative as the pupil reads it and as the program draws it.
struct DerivedFormula {
    std::u16string mathematical;
    std::u16string kzn;
};

// What the analysis of one formula finds on an interval.
struct FormulaAnalysis {
    std::vector<CurvePoint> points;
    std::optional<DerivedFormula> first;  // f'(x); none where the formula has no derivative here
    std::optional<DerivedFormula> second; // f''(x)
    // A German note for the pupil ("Hinweis: ..."), empty when there is nothing to say.
    std::u16string note;
};

// The analysis of a KZN formula with the parameters put in (what the draw command plots) on
// [from; to]. Stops with what it has when `stop` says so or the budget is spent.
FormulaAnalysis AnalyseFormula(std::u16string_view formula, double from, double to,
                               const std::function<bool()> &stop = {});
FormulaAnalysis AnalyseFormula(const PreparedFormula &formula, double from, double to,
                               const std::function<bool()> &stop = {});
// Where the curves of two such formulas meet on [from; to].
std::vector<CurvePoint> IntersectFormulas(std::u16string_view a, std::u16string_view b, double from,
                                          double to, const std::function<bool()> &stop = {});
std::vector<CurvePoint> IntersectFormulas(const PreparedFormula &a, const PreparedFormula &b,
                                          double from, double to,
                                          const std::function<bool()> &stop = {});
// What to tell the pupil of an analysis on [from; to]: empty, or that the range is too wide for
// the scan to vouch for every point.
std::u16string RangeNote(double from, double to);
// f'(x) of a KZN formula, simplified.
std::optional<DerivedFormula> DeriveFormula(std::u16string_view formula);

// A value table from `from` to `to` in steps of `step`: x = from + i * step, so that no error
// adds up. Values in double precision; none where the formula has no value.
struct TableRow {
    double x = 0;
    std::optional<double> y;
    std::optional<double> slope; // f'(x), when asked for
};
inline constexpr std::size_t MaxTableRows = 1'000'000;
// How many rows the table has; nullopt when the bounds or the step make no table (a step that
// is not positive, bounds reversed or not finite).
std::optional<std::size_t> TableRowCount(double from, double to, double step);
std::vector<TableRow> ValueTable(std::u16string_view formula, double from, double to, double step,
                                 bool withSlope);
std::vector<TableRow> ValueTable(const PreparedFormula &formula, double from, double to,
                                 double step, bool withSlope);

// The German name of a kind of point ("Nullstelle", "Hochpunkt", ...).
std::u16string PointKindName(PointKind kind);
// A point as a pupil writes it: "H(1,5 | 2,25)", "N(2 | 0)", "Pol bei x = 2".
std::u16string PointText(const CurvePoint &point);

} // namespace lw
