// SPDX-License-Identifier: GPL-3.0-or-later

#include "benchinputs.h"

#include "formula/converter.h"
#include "formula/equation.h"
#include "formula/evaluator.h"
#include "formula/formulaprogram.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"
#include "formula/texthelpers.h"

#include <benchmark/benchmark.h>

namespace {

using lw::bench::Shape;

bool skipIfFastPathDiffers(benchmark::State &state, Shape shape)
{
    if (lw::bench::SkipIfNoFormula(state, shape))
        return true;
    static const std::optional<std::string> shortMismatch =
        lw::bench::FastPathMismatch(Shape::Short);
    static const std::optional<std::string> polyMismatch =
        lw::bench::FastPathMismatch(Shape::Poly40);
    const std::optional<std::string> &mismatch =
        shape == Shape::Short ? shortMismatch : polyMismatch;
    if (!mismatch)
        return false;
    state.SkipWithError(("fast path differs at " + *mismatch).c_str());
    return true;
}

// What the plotter does per sample without the fast path.
void TextPipeline(benchmark::State &state, Shape shape)
{
    if (skipIfFastPathDiffers(state, shape))
        return;
    const std::u16string &formula = lw::bench::KznFormula(shape);
    const std::vector<float> &walk = lw::bench::SampleWalk();
    for (auto _ : state) {
        for (float x : walk) {
            const std::u16string xText = lw::NumberText(x);
            const std::u16string text = *lw::ReplaceText(u'x', xText, formula);
            lw::CalcError = 0;
            const float y = lw::CalcFormula(text);
            benchmark::DoNotOptimize(y);
        }
    }
    lw::bench::SetPerSample(state);
}

void FastPath(benchmark::State &state, Shape shape)
{
    if (skipIfFastPathDiffers(state, shape))
        return;
    const lw::FormulaProgram program(lw::bench::KznFormula(shape));
    const std::vector<float> &walk = lw::bench::SampleWalk();
    for (auto _ : state) {
        for (float x : walk) {
            lw::CalcError = 0;
            const float y = program.evaluate(x);
            benchmark::DoNotOptimize(y);
        }
    }
    lw::bench::SetPerSample(state);
    state.SetLabel(program.isCompiled() ? "compiled" : "text fallback");
}

// The share of both paths that formats x, so their remaining cost can be told apart.
void NumberText(benchmark::State &state)
{
    const std::vector<float> &walk = lw::bench::SampleWalk();
    for (auto _ : state) {
        for (float x : walk) {
            const lw::NumberTextResult number = lw::NumberTextWithValue(x);
            benchmark::DoNotOptimize(number);
        }
    }
    lw::bench::SetPerSample(state);
}

// What the compiled formula pays for x where no leaf needs its text: the value alone.
void NumberTextValue(benchmark::State &state)
{
    const std::vector<float> &walk = lw::bench::SampleWalk();
    for (auto _ : state) {
        for (float x : walk) {
            const float value = lw::NumberTextValue(x);
            benchmark::DoNotOptimize(value);
        }
    }
    lw::bench::SetPerSample(state);
}

void ConvertTerm(benchmark::State &state)
{
    const std::u16string term =
        lw::bench::ToUtf16(lw::bench::MathPolynomial(static_cast<int>(state.range(0))));
    const lw::ConvertResult probe = lw::ConvertTerm(term);
    if (probe.status != lw::ConvertStatus::Converted) {
        state.SkipWithError("the polynomial did not convert");
        return;
    }
    if (probe.formula.size() > lw::MaxTextLength) {
        state.SkipWithError("the converted formula exceeds the text length limit");
        return;
    }
    for (auto _ : state) {
        lw::ConvertResult result = lw::ConvertTerm(term);
        benchmark::DoNotOptimize(result);
    }
    state.SetComplexityN(static_cast<int64_t>(term.size()));
    state.counters["length"] = static_cast<double>(term.size());
    state.counters["formula"] = static_cast<double>(probe.formula.size());
}

// What a press of Draw does with the typed polynomial: blanks, spelling, lone-operand rule,
// conversion and check; against ConvertTerm alone it shows what the steps around it cost.
void TypedEquation(benchmark::State &state)
{
    const std::u16string term =
        lw::bench::ToUtf16(lw::bench::MathPolynomial(static_cast<int>(state.range(0))));
    if (lw::FormulaOfEquation(term, lw::Notation::Mathematical).formula
        != lw::ConvertTerm(term).formula) {
        state.SkipWithError("the typed-equation step gives another formula than ConvertTerm");
        return;
    }
    for (auto _ : state) {
        lw::EquationFormula result = lw::FormulaOfEquation(term, lw::Notation::Mathematical);
        benchmark::DoNotOptimize(result);
    }
    state.counters["length"] = static_cast<double>(term.size());
}

} // namespace

BENCHMARK_CAPTURE(TextPipeline, short, Shape::Short);
BENCHMARK_CAPTURE(TextPipeline, poly40, Shape::Poly40);
BENCHMARK_CAPTURE(FastPath, short, Shape::Short);
BENCHMARK_CAPTURE(FastPath, poly40, Shape::Poly40);
BENCHMARK(NumberText);
BENCHMARK(NumberTextValue);
BENCHMARK(ConvertTerm)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(TypedEquation)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
