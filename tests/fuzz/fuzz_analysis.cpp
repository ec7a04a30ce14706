// SPDX-License-Identifier: GPL-3.0-or-later
// The curve analysis and the derivative of any typed equation on any interval: no crash, no
// runaway, an answer within its budget, and a derivative that reads back as an equation.

#include "analysis/analysis.h"
#include "formula/equation.h"
#include "fuzzing.h"

#include <QElapsedTimer>

#include <cmath>

using namespace lw;
using namespace lw::fuzz;

namespace {

// Typed equations are far shorter; the conversion is quadratic in the length.
constexpr std::size_t MaxTermLength = 128;
// The budget, with room for the instrumented build to finish the step under way.
constexpr qint64 MaxAnalysisMs = 5 * AnalysisBudgetMs;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes place the interval, from tight to wide and off the centre.
    const double from = -std::ldexp(1.0, data[0] % 24 - 8);
    const double to = from + std::ldexp(1.0, data[1] % 24 - 6);
    const std::u16string input = Utf8Text(data + 2, size - 2);
    if (input.size() > MaxTermLength)
        return 0;
    const EquationFormula typed = FormulaOfEquation(input, Notation::Mathematical);
    if (typed.fault != EquationFault::None)
        return 0;
    QElapsedTimer clock;
    clock.start();
    const FormulaAnalysis analysis = AnalyseFormula(typed.formula, from, to);
    if (clock.elapsed() > MaxAnalysisMs)
        Fail("the analysis ran past its budget", input, std::to_string(clock.elapsed()) + " ms");
    for (const CurvePoint &point : analysis.points) {
        if (!(point.x >= from - 1e-9 && point.x <= to + 1e-9))
            Fail("a point outside the interval", input, std::to_string(point.x));
    }
    if (analysis.first) {
        const EquationFormula again =
            FormulaOfEquation(analysis.first->mathematical, Notation::Mathematical);
        if (again.fault != EquationFault::None)
            Fail("the derivative does not read back", input,
                 Printable(analysis.first->mathematical));
    }
    return 0;
}
