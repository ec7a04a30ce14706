// SPDX-License-Identifier: GPL-3.0-or-later
// CalcFormula on any text, and the compiled FormulaProgram against the text procedure it replaces:
// for the plotter's x texts, and for any x text after a line feed in the input.

#include "formula/evaluator.h"
#include "formula/formulaprogram.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"
#include "formula/texthelpers.h"
#include "fuzzing.h"

#include <bit>
#include <limits>
#include <sstream>

using namespace lw;
using namespace lw::fuzz;

namespace {

struct Outcome {
    uint32_t bits = 0;
    int16_t calcError = 0;
    FormulaError error = FormulaError::None;
    bool operator==(const Outcome &) const = default;
};

std::string describe(const Outcome &o)
{
    std::ostringstream out;
    out << "bits 0x" << std::hex << o.bits << std::dec << " (" << std::bit_cast<float>(o.bits)
        << "), CalcError " << o.calcError << ", FormulaError " << static_cast<int>(o.error);
    return out.str();
}

Outcome viaText(std::u16string_view formula, std::u16string_view xText, int16_t startError)
{
    CalcError = startError;
    const std::optional<std::u16string> text = ReplaceText(u'x', xText, formula);
    if (!text)
        return {0, -1, FormulaError::Overflow};
    Outcome o;
    o.bits = std::bit_cast<uint32_t>(CalcFormula(*text, &o.error));
    o.calcError = CalcError;
    return o;
}

template<typename X>
Outcome viaProgram(const FormulaProgram &program, X x, int16_t startError)
{
    CalcError = startError;
    Outcome o;
    o.bits = std::bit_cast<uint32_t>(program.evaluate(x, &o.error));
    o.calcError = CalcError;
    return o;
}

void expectSame(const Outcome &program, const Outcome &text, std::u16string_view formula,
                std::u16string_view xText, const char *form)
{
    if (program == text)
        return;
    Fail("FormulaProgram differs from CalcFormula after ReplaceText", formula,
         std::string("x = ") + Printable(xText) + " as " + form + ": program " + describe(program)
             + ", text " + describe(text));
}

const float XValues[] = {0.0f, -2.5f, 1e-5f, std::numeric_limits<float>::quiet_NaN()};

// The text procedure takes time proportional to length times nesting depth, and x's text grows
// the formula fivefold: at this length the slowest input stays far below the one-second limit.
constexpr std::size_t MaxFormulaLength = 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::u16string input = Utf8Text(data, size);
    if (input.size() > MaxFormulaLength)
        return 0;
    const std::size_t lineEnd = input.find(u'\n');
    const std::u16string formula = input.substr(0, lineEnd);
    CalcError = 0;
    CalcFormula(formula);

    const FormulaProgram program(formula);
    if (lineEnd != std::u16string::npos) {
        const std::u16string_view xText = std::u16string_view(input).substr(lineEnd + 1);
        expectSame(viaProgram(program, xText, 0), viaText(formula, xText, 0), formula, xText,
                   "text");
        // Any float as the plotter's x, which may skip forming its text.
        const float x = TextToNumber(xText);
        expectSame(viaProgram(program, x, 0), viaText(formula, NumberText(x), 0), formula,
                   NumberText(x), "value");
    }
    for (const float x : XValues) {
        // "0", "-2.5", "1E-05", "NAN": what the plotter puts in for x.
        const std::u16string xText = NumberText(x);
        const Outcome expected = viaText(formula, xText, 0);
        expectSame(viaProgram(program, std::u16string_view(xText), 0), expected, formula, xText,
                   "text");
        expectSame(viaProgram(program, x, 0), expected, formula, xText, "value");
        // A fault from before freezes every later step alike.
        expectSame(viaProgram(program, std::u16string_view(xText), -1), viaText(formula, xText, -1),
                   formula, xText, "text after a fault");
    }
    CalcError = 0;
    return 0;
}
