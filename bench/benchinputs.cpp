// SPDX-License-Identifier: GPL-3.0-or-later

#include "benchinputs.h"

#include "formula/evaluator.h"
#include "formula/formulaprogram.h"
#include "formula/normalise.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"
#include "formula/texthelpers.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace lw::bench {

namespace {

struct Outcome {
    float y = 0.0f;
    int16_t calcError = 0;
    FormulaError error = FormulaError::None;
};

std::optional<Outcome> viaText(std::u16string_view formula, float x)
{
    const auto text = ReplaceText(u'x', NumberText(x), formula);
    if (!text)
        return std::nullopt;
    Outcome out;
    CalcError = 0;
    out.y = CalcFormula(*text, &out.error);
    out.calcError = CalcError;
    return out;
}

Outcome viaProgram(const FormulaProgram &program, float x)
{
    Outcome out;
    CalcError = 0;
    out.y = program.evaluate(x, &out.error);
    out.calcError = CalcError;
    return out;
}

bool sameBits(const Outcome &a, const Outcome &b)
{
    return std::bit_cast<uint32_t>(a.y) == std::bit_cast<uint32_t>(b.y)
           && a.calcError == b.calcError && a.error == b.error;
}

std::string describe(const char *what, const Outcome &o)
{
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%s y=%.9g (0x%08x) CalcError=%d FormulaError=%d", what,
                  o.y, std::bit_cast<uint32_t>(o.y), o.calcError, static_cast<int>(o.error));
    return buffer;
}

std::string sampleLabel(float x)
{
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "x=%.9g (text \"%s\")", x, NumberTextAscii(x).c_str());
    return buffer;
}

} // namespace

std::string MathPolynomial(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        const PolyTerm term = MakeTerm(i);
        if (i > 0)
            text += term.coefficient < 0 ? '-' : '+';
        text += std::to_string(std::abs(term.coefficient)) + "*x^" + std::to_string(term.exponent);
    }
    return text;
}

std::u16string ToUtf16(const std::string &ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

std::string MathTerm(Shape shape)
{
    return shape == Shape::Short ? "2*x^2+3*x-4" : MathPolynomial(static_cast<int>(Poly40.size()));
}

const std::u16string &KznFormula(Shape shape)
{
    static const std::u16string shortFormula = u"DIF(SUM(PRO(2;POT(x;2));PRO(3;x));4)";
    static const std::u16string poly40 = [] {
        ConvertResult result = NormaliseMathTerm(ToUtf16(MathTerm(Shape::Poly40)));
        return result.status == ConvertStatus::Converted ? result.formula : std::u16string();
    }();
    return shape == Shape::Short ? shortFormula : poly40;
}

const std::vector<float> &SampleWalk()
{
    static const std::vector<float> walk = [] {
        std::vector<float> xs;
        for (float x = -10.0f; x <= 10.0f; x += 0.1f)
            xs.push_back(x);
        return xs;
    }();
    return walk;
}

std::optional<std::string> FastPathMismatch(Shape shape)
{
    const std::u16string &formula = KznFormula(shape);
    const FormulaProgram program(formula);
    for (float x : SampleWalk()) {
        const std::optional<Outcome> text = viaText(formula, x);
        const Outcome fast = viaProgram(program, x);
        if (!text)
            return sampleLabel(x) + ": substituted text too long";
        if (!sameBits(*text, fast))
            return sampleLabel(x) + ": " + describe("text", *text) + ", " + describe("fast", fast);
    }
    return std::nullopt;
}

std::optional<std::string> FloorMismatch(Shape shape, float (*floor)(float))
{
    const std::u16string &formula = KznFormula(shape);
    float largest = 0.0f;
    for (float x : SampleWalk())
        largest = std::max(largest, std::abs(floor(x)));
    // Both sum the same terms left to right in float; only rounding of the powers may differ.
    const float tolerance = 1e-5f * std::max(1.0f, largest);
    for (float x : SampleWalk()) {
        const std::optional<Outcome> text = viaText(formula, x);
        const float expected = floor(x);
        if (!text || text->calcError != 0 || text->error != FormulaError::None
            || !(std::abs(text->y - expected) <= tolerance)) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, ": compiled y=%.9g, ", expected);
            return sampleLabel(x) + buffer
                   + (text ? describe("text", *text) : std::string("text too long"));
        }
    }
    return std::nullopt;
}

bool SkipIfNoFormula(benchmark::State &state, Shape shape)
{
    if (!KznFormula(shape).empty())
        return false;
    state.SkipWithError("the polynomial did not convert");
    return true;
}

void SetPerSample(benchmark::State &state)
{
    const double samples = static_cast<double>(state.iterations()) * SampleWalk().size();
    state.SetItemsProcessed(static_cast<int64_t>(samples));
    state.counters["per_sample"] =
        benchmark::Counter(samples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace lw::bench
