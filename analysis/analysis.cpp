// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis.h"

#include "analysis/derivative.h"
#include "analysis/kzntree.h"
#include "analysis/mathprinter.h"
#include "analysis/preparedformula.h"
#include "formula/evaluator.h"
#include "formula/numbertext.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace lw {

namespace {

std::optional<DerivedFormula> derived(const std::optional<KznNode> &node)
{
    if (!node)
        return std::nullopt;
    std::u16string kzn = ToKzn(*node);
    // A bare number or x is no call, which the engine reads as 0: SUM passes it through.
    if (!IsFunctionTerm(kzn))
        kzn = u"SUM(" + kzn + u")";
    return DerivedFormula{ToMathematical(*node), kzn};
}

std::function<long long()> &clockInUse()
{
    static std::function<long long()> clock;
    return clock;
}

long long nowMs()
{
    if (const auto &clock = clockInUse())
        return clock();
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

// The caller's stop, or the budget spent.
std::function<bool()> withinBudget(const std::function<bool()> &stop)
{
    const long long start = nowMs();
    // The evaluations under way when it says stop still run.
    constexpr long long Margin = 10;
    return [start, stop] {
        return nowMs() - start >= AnalysisBudgetMs - Margin || (stop && stop());
    };
}

std::optional<double> finite(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

void SetAnalysisClock(std::function<long long()> milliseconds)
{
    clockInUse() = std::move(milliseconds);
}

FormulaAnalysis AnalyseFormula(std::u16string_view formula, double from, double to,
                               const std::function<bool()> &stop)
{
    const auto stopNow = withinBudget(stop);
    return AnalyseFormula(PreparedFormula(formula), from, to, stopNow);
}

FormulaAnalysis AnalyseFormula(const PreparedFormula &formula, double from, double to,
                               const std::function<bool()> &stop)
{
    const auto stopNow = withinBudget(stop);
    FormulaAnalysis analysis;
    analysis.first = derived(formula.first());
    analysis.second = derived(formula.second());
    analysis.points = FindCurvePoints(formula.functions(2), from, to, stopNow);
    analysis.note = RangeNote(from, to);
    return analysis;
}

std::u16string RangeNote(double from, double to)
{
    if (!(from < to) || !(ScanStep(from, to) > CoarsestScanStep))
        return {};
    return u"Hinweis: Der Bereich ist zu weit, um ihn lückenlos abzusuchen. Es stehen nur die "
           u"sicher gefundenen Punkte da; weitere können fehlen. Ein engerer Bereich zeigt sie.";
}

std::vector<CurvePoint> IntersectFormulas(std::u16string_view a, std::u16string_view b, double from,
                                          double to, const std::function<bool()> &stop)
{
    const auto stopNow = withinBudget(stop);
    return IntersectFormulas(PreparedFormula(a), PreparedFormula(b), from, to, stopNow);
}

std::vector<CurvePoint> IntersectFormulas(const PreparedFormula &a, const PreparedFormula &b,
                                          double from, double to, const std::function<bool()> &stop)
{
    const auto stopNow = withinBudget(stop);
    // The search for where curves meet looks at no bends.
    return FindIntersections(a.functions(1), b.functions(1), from, to, stopNow);
}

std::optional<DerivedFormula> DeriveFormula(std::u16string_view formula)
{
    const std::optional<KznNode> tree = ParseKzn(formula);
    if (!tree)
        return std::nullopt;
    return derived(Derive(*tree));
}

std::optional<std::size_t> TableRowCount(double from, double to, double step)
{
    if (!std::isfinite(from) || !std::isfinite(to) || !std::isfinite(step) || !(step > 0)
        || from > to)
        return std::nullopt;
    // A last row that misses `to` by rounding alone still belongs to the table.
    const double steps = std::floor((to - from) / step * (1 + 1e-12) + 1e-9);
    if (steps >= double(MaxTableRows) * 2)
        return MaxTableRows * 2;
    return static_cast<std::size_t>(steps) + 1;
}

std::vector<TableRow> ValueTable(std::u16string_view formula, double from, double to, double step,
                                 bool withSlope)
{
    const std::optional<std::size_t> count = TableRowCount(from, to, step);
    if (!count || *count > MaxTableRows)
        return {};
    return ValueTable(PreparedFormula(formula), from, to, step, withSlope);
}

std::vector<TableRow> ValueTable(const PreparedFormula &formula, double from, double to,
                                 double step, bool withSlope)
{
    const std::optional<std::size_t> count = TableRowCount(from, to, step);
    if (!count || *count > MaxTableRows)
        return {};
    std::vector<TableRow> rows(*count);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        TableRow &row = rows[i];
        row.x = from + double(i) * step;
        row.y = finite(formula.value(row.x));
        if (withSlope && row.y && formula.first())
            row.slope = finite(EvaluateDouble(*formula.first(), row.x));
    }
    return rows;
}

namespace {
// What a pupil calls each kind of point, and how a point of the kind is written: a letter before
// its coordinates, or a phrase before its x where it has no y.
struct PointKindWords {
    std::u16string_view name;
    std::u16string_view letter;
    std::u16string_view noValue;
};
constexpr std::array<PointKindWords, 8> KindWords = {{
    {u"y-Achsenabschnitt", u"Sy", {}},
    {u"Nullstelle", u"N", {}},
    {u"Hochpunkt", u"H", {}},
    {u"Tiefpunkt", u"T", {}},
    {u"Wendepunkt", u"W", {}},
    {u"Polstelle", {}, u"Pol bei x = "},
    {u"Definitionslücke", {}, u"Lücke bei x = "},
    {u"Schnittpunkt", u"S", {}},
}};
static_assert(static_cast<std::size_t>(PointKind::Intersection) + 1 == KindWords.size());

const PointKindWords &wordsOf(PointKind kind)
{
    return KindWords[static_cast<std::size_t>(kind)];
}
} // namespace

std::u16string PointKindName(PointKind kind)
{
    return std::u16string(wordsOf(kind).name);
}

std::u16string PointText(const CurvePoint &point)
{
    const PointKindWords &words = wordsOf(point.kind);
    std::u16string text(words.noValue.empty() ? words.letter : words.noValue);
    const std::u16string x = FixedDecimalText(point.x, 4, u',');
    if (!words.noValue.empty())
        return text + x;
    text += u"(";
    text += x;
    text += u" | ";
    text += FixedDecimalText(point.y, 4, u',');
    text += u")";
    return text;
}

} // namespace lw
