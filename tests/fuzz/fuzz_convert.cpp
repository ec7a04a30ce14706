// SPDX-License-Identifier: GPL-3.0-or-later
// The draw command's path for a typed equation: spelled with its blanks, normalised, converted,
// checked, evaluated.

#include "formula/converter.h"
#include "formula/equation.h"
#include "formula/evaluator.h"
#include "formula/eventhook.h"
#include "formula/formulacheck.h"
#include "formula/formulaprogram.h"
#include "formula/mathscan.h"
#include "formula/normalise.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"
#include "formula/spelling.h"
#include "formula/texthelpers.h"
#include "fuzzing.h"

#include <bit>

using namespace lw;
using namespace lw::fuzz;
using lw::detail::isExponentSign;
using lw::detail::isOperator;

namespace {

// The converter takes time quadratic in the term's length, by design: "-----x" of 4096 characters
// takes 0.5 s uninstrumented, 17 s here. Typed terms are far shorter than this.
constexpr std::size_t MaxTermLength = 512;
// Far beyond what any term within MaxTermLength needs: reaching it means the rounds never end.
constexpr std::size_t RunawayRounds = 100000;

std::size_t rounds = 0;

void checkConverted(std::u16string_view formula, std::u16string_view input)
{
    // A bare operand would draw as y = 0; a lone operand is multiplied by 1 instead.
    if (formula.find(u'(') == std::u16string_view::npos)
        Fail("converted to a bare operand", input, Printable(formula));
    for (std::size_t i = 0; i < formula.size(); ++i) {
        if (isOperator(formula[i]) && !isExponentSign(formula, i))
            Fail("operator left in a converted formula", input, Printable(formula));
    }
    const FormulaProgram program(formula);
    for (const float x : {0.0f, -2.5f}) {
        CalcError = 0;
        FormulaError programError = FormulaError::None;
        const float value = program.evaluate(x, &programError);
        const int16_t programCalcError = CalcError;
        CalcError = 0;
        FormulaError textError = FormulaError::None;
        const std::optional<std::u16string> text = ReplaceText(u'x', NumberText(x), formula);
        const float expected = text ? CalcFormula(*text, &textError) : 0.0f;
        if (text
            && (std::bit_cast<uint32_t>(value) != std::bit_cast<uint32_t>(expected)
                || programError != textError || programCalcError != CalcError))
            Fail("the converted formula evaluates differently compiled", input, Printable(formula));
    }
    CalcError = 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    InstallEventHook({[] { ++rounds; },
                      [] {
                          return rounds >= RunawayRounds;
                      }});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::u16string input = Utf8Text(data, size);
    if (input.size() > MaxTermLength)
        return 0;
    const SpelledTerm spelled = SpellTerm(input);
    if (spelled.fault) {
        if (spelled.fault->position >= input.size() || spelled.fault->part.empty())
            Fail("a spelling fault names nothing in the equation", input);
        if (FormulaOfEquation(input, Notation::Mathematical).fault != EquationFault::Refused)
            Fail("a spelling fault is not refused", input);
        return 0;
    }
    for (char16_t c : spelled.term) {
        if (c > 127 || c == u' ')
            Fail("the spelling left a character the converter does not know", input,
                 Printable(spelled.term));
    }
    // The spelling may lengthen the term (pi, the "*" left out); the conversion is quadratic.
    if (spelled.term.size() > MaxTermLength)
        return 0;
    rounds = 0;
    const ConvertResult result = NormaliseMathTerm(spelled.term);
    if (result.status == ConvertStatus::Stopped)
        Fail("the conversion never ends", input);
    // One round per operator or parenthesis pair and one that finds nothing, in the first
    // conversion of at most two more characters ("*1"), then two in the one for "(x)".
    if (rounds > spelled.term.size() + 5)
        Fail("more conversion rounds than the term has characters", input,
             std::to_string(rounds) + " rounds for " + std::to_string(spelled.term.size())
                 + " characters");
    // Every refusal names its part and place: what the spelling passes converts.
    if (result.status == ConvertStatus::Failed && !spelled.term.empty())
        Fail("a term the spelling passed does not convert", input, Printable(spelled.term));
    if (result.status == ConvertStatus::Failed)
        return 0;
    // Whatever the spelling passes converts to a formula the check accepts, so that every
    // refusal can say where the fault stands in the typed term.
    if (const auto fault = CheckFormula(result.formula))
        Fail("the check refuses a converted formula the spelling passed", input,
             Printable(result.formula) + ": " + Printable(FormulaFaultText(*fault, {})));
    checkConverted(result.formula, input);
    return 0;
}
