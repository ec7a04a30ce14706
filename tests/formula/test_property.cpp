// SPDX-License-Identifier: GPL-3.0-or-later

#include "referenceterm.h"

#include "formula/evaluator.h"
#include "formula/formulaprogram.h"
#include "formula/normalise.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"
#include "formula/texthelpers.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <sstream>

namespace lw::test {
namespace {

constexpr uint64_t FirstSeed = 1;
constexpr int TermCount = 5000;
constexpr std::array<float, 6> XValues = {-2.5f, -1.0f, 0.0f, 0.5f, 1.3f, 3.0f};
constexpr int MaxReportedFailures = 8;

std::u16string Wide(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::string Narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text)
        out += c < 128 ? char(c) : '?';
    return out;
}

std::string Describe(float value)
{
    std::ostringstream out;
    out.precision(9);
    out << value;
    return out.str();
}

// What the plotter does for one value of x: substitute the number text, then evaluate.
struct Evaluation {
    std::u16string xText;
    double xSeen = 0;
    float value = 0;
    int16_t calcError = 0;
    FormulaError error = FormulaError::None;
};

Evaluation EvaluateAt(const std::u16string &formula, float x)
{
    Evaluation result;
    result.xText = NumberText(x);
    result.xSeen = TextToNumber(result.xText);
    const std::optional<std::u16string> substituted = ReplaceText(u'x', result.xText, formula);
    if (!substituted) {
        result.error = FormulaError::Overflow;
        return result;
    }
    CalcError = 0;
    result.value = CalcFormula(*substituted, &result.error);
    result.calcError = CalcError;
    return result;
}

enum class Verdict { Agree, Skip, Differ };

struct Case {
    Verdict verdict = Verdict::Agree;
    bool bothFault = false;
    std::string report; // everything needed to reproduce a disagreement
};

bool Agrees(const Evaluation &engine, const Reference &reference)
{
    if (engine.error != FormulaError::None)
        return false;
    if (reference.outcome == Reference::Outcome::Fault)
        return engine.calcError == -1;
    return engine.calcError == 0 && reference.outcome == Reference::Outcome::Value
           && std::abs(double(engine.value) - reference.value) <= reference.bound;
}

Case RunCase(const std::string &term, const ConvertResult &converted, float x)
{
    Case result;
    std::ostringstream report;
    report << "term:      " << term << "\n";
    if (converted.status != ConvertStatus::Converted) {
        report << "conversion failed (status " << int(converted.status) << ")\n";
        return {Verdict::Differ, false, report.str()};
    }
    const Evaluation engine = EvaluateAt(converted.formula, x);
    const Reference reference = EvaluateReference(term, engine.xSeen);
    report << "formula:   " << Narrow(converted.formula) << "\n"
           << "x:         " << Narrow(engine.xText) << "\n"
           << "engine:    " << Describe(engine.value) << " (CalcError " << engine.calcError
           << ", formula error " << int(engine.error) << ")\n"
           << "reference: " << OutcomeText(reference) << "\n";
    result.report = report.str();
    if (reference.outcome == Reference::Outcome::Unclear)
        result.verdict = Verdict::Skip;
    else if (Agrees(engine, reference))
        result.bothFault = reference.outcome == Reference::Outcome::Fault;
    else
        result.verdict = Verdict::Differ;
    return result;
}

Case RunCase(const std::string &term, float x)
{
    return RunCase(term, NormaliseMathTerm(Wide(term)), x);
}

// The smallest term reachable by single cuts that still misbehaves at the same x.
std::string Shrink(Term term, float x)
{
    for (bool progressed = true; progressed;) {
        progressed = false;
        for (Term &candidate : ShrinkCandidates(term)) {
            if (RunCase(TermText(candidate), x).verdict == Verdict::Differ) {
                term = std::move(candidate);
                progressed = true;
                break;
            }
        }
    }
    return RunCase(TermText(term), x).report;
}

void ForEachTerm(const std::function<void(uint64_t, const Term &, const ConvertResult &)> &visit)
{
    for (uint64_t seed = FirstSeed; seed < FirstSeed + TermCount; ++seed) {
        const Term term = GenerateTerm(seed);
        visit(seed, term, NormaliseMathTerm(Wide(TermText(term))));
    }
}

struct Expectation {
    const char *term;
    float x;
    std::optional<double> value; // nullopt: an arithmetic fault
};

// Precedence and sign placement that both the reference and the converter must honour.
const Expectation Expectations[] = {
    {"2^3^2", 0, 64},
    {"x^-2^3", 2, 1.0 / 64},
    {"x*-2^2", 3, -12},
    {"-x^2", 3, -9},
    {"-2^2", 0, -4},
    {"2*-x*3", 1, -6},
    {"x--1", 2, 3},
    {"2^-x", 1, 0.5},
    {"8/4/2", 0, 1},
    {"7-3-2", 0, 2},
    {"2+3*4^2", 0, 50},
    {"-(2+3)*2", 0, -10},
    {"+x-+x", 5, 0},
    {"x/-2/2", 8, -2},
    {"SQR(x)+ABS(-3)", 4, 5},
    {"x^(1+1)", -3, 9},
    {"2.5*COS(x)", 0, 2.5},
    {"1/(x-x)", 1, std::nullopt},
    {"SQR(-x)", 1, std::nullopt},
    {"x^0.5", -4, std::nullopt},
    {"0^-1", 0, std::nullopt},
    {"10^39*2", 0, std::nullopt}, // the power alone is infinite, the product faults
    {"-10^39", 0, std::nullopt},
};

TEST(ConverterProperty, HandPickedTermsMatchReferenceAndEngine)
{
    for (const Expectation &row : Expectations) {
        SCOPED_TRACE(row.term);
        const Reference reference = EvaluateReference(row.term, row.x);
        const Case engine = RunCase(row.term, row.x);
        if (row.value) {
            ASSERT_EQ(reference.outcome, Reference::Outcome::Value) << OutcomeText(reference);
            EXPECT_NEAR(reference.value, *row.value, 1e-12);
        } else {
            EXPECT_EQ(reference.outcome, Reference::Outcome::Fault) << OutcomeText(reference);
        }
        EXPECT_EQ(engine.verdict, Verdict::Agree) << engine.report;
    }
}

TEST(ConverterProperty, ConvertedTermsEvaluateLikeTheReference)
{
    int compared = 0;
    int bothFault = 0;
    int skipped = 0;
    int reported = 0;
    ForEachTerm([&](uint64_t seed, const Term &term, const ConvertResult &converted) {
        const std::string text = TermText(term);
        ASSERT_NE(EvaluateReference(text, 1).outcome, Reference::Outcome::Malformed) << text;
        bool termReported = false;
        for (float x : XValues) {
            const Case result = RunCase(text, converted, x);
            if (result.verdict == Verdict::Skip) {
                ++skipped;
                continue;
            }
            ++compared;
            bothFault += result.bothFault;
            if (result.verdict != Verdict::Differ || termReported
                || reported++ >= MaxReportedFailures)
                continue;
            termReported = true;
            ADD_FAILURE() << "seed " << seed << "\n"
                          << result.report << "smallest term failing at the same x:\n"
                          << Shrink(term, x);
        }
    });
    const int total = compared + skipped;
    std::printf("[ property ] %d cases: %d compared (%d of them faults on both sides), %d "
                "skipped near a failure boundary\n",
                total, compared, bothFault, skipped);
    RecordProperty("cases", total);
    RecordProperty("compared", compared);
    RecordProperty("faultsOnBothSides", bothFault);
    RecordProperty("skipped", skipped);
    EXPECT_GE(compared * 5, total * 4) << "too many ill-conditioned cases to be a useful test";
    EXPECT_GE((compared - bothFault) * 2, total) << "too few cases compare values";
}

TEST(ConverterProperty, ConvertedFormulasHoldNoOperators)
{
    ForEachTerm([](uint64_t seed, const Term &term, const ConvertResult &converted) {
        const std::string formula = Narrow(converted.formula);
        ASSERT_EQ(converted.status, ConvertStatus::Converted)
            << "seed " << seed << ": " << TermText(term);
        ASSERT_EQ(formula.find_first_of("+-*/^"), std::string::npos)
            << "seed " << seed << ": " << TermText(term) << "\nformula: " << formula;
    });
}

// The plotter evaluates through FormulaProgram; converted formulas must give the same bits.
TEST(ConverterProperty, ProgramMatchesTextEvaluationOnConvertedFormulas)
{
    ForEachTerm([](uint64_t seed, const Term &term, const ConvertResult &converted) {
        if (converted.status != ConvertStatus::Converted)
            return;
        const FormulaProgram program(converted.formula);
        for (float x : XValues) {
            const Evaluation text = EvaluateAt(converted.formula, x);
            CalcError = 0;
            FormulaError error = FormulaError::None;
            const float value = program.evaluate(text.xText, &error);
            ASSERT_TRUE(std::bit_cast<uint32_t>(value) == std::bit_cast<uint32_t>(text.value)
                        && CalcError == text.calcError && error == text.error)
                << "seed " << seed << ": " << TermText(term)
                << "\nformula: " << Narrow(converted.formula) << "\nx: " << Narrow(text.xText)
                << "\ntext: " << Describe(text.value) << " (CalcError " << text.calcError
                << ")\nprogram: " << Describe(value) << " (CalcError " << CalcError << ")";
        }
    });
}

} // namespace
} // namespace lw::test
