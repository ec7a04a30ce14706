// SPDX-License-Identifier: GPL-3.0-or-later

#include "formulaprogram.h"

#include "formulaprogramimpl.h"
#include "kznsteps.h"
#include "numbertext.h"
#include "numeric.h"
#include "texthelpers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace lw {

using namespace detail;

inline bool FormulaProgram::Impl::runStep(const Instruction &s, float *regs,
                                          std::u16string_view xText) const
{
    const StepInfo &info = steps[s.a];
    const float value =
        info.templateIndex < 0
            ? regs[s.b]
            : leafValue(
                *ReplaceText(u'x', xText, templates[static_cast<std::size_t>(info.templateIndex)]));
    regs[s.dst] = applyStep(info.keyword, regs[s.dst], value, info.index, info.count);
    return CalcError != -1;
}

inline float FormulaProgram::Impl::runInstructions(float *regs, std::u16string_view xText) const
{
    const Instruction *code = program.data();
    const std::size_t size = program.size();
    std::size_t pc = 0;
    for (; pc < size; ++pc) {
        const Instruction &s = code[pc];
        float r = 0;
        StepResult power;
        switch (s.op) {
        case Op::Zero: regs[s.dst] = 0; continue;
        case Op::Load: regs[s.dst] = regs[s.a]; continue;
        case Op::Add: r = regs[s.a] + regs[s.b]; break;
        case Op::Sub: r = regs[s.a] - regs[s.b]; break;
        case Op::Mul: r = regs[s.a] * regs[s.b]; break;
        case Op::Div:
            // A zero divisor is a fault, as in CalcDiv.
            if (regs[s.b] == 0.0f)
                goto keep;
            r = regs[s.a] / regs[s.b];
            break;
        case Op::Square: {
            const double square = static_cast<double>(regs[s.a]) * regs[s.a];
            if (!std::isfinite(square))
                goto keep;
            regs[s.dst] = static_cast<float>(square);
            continue;
        }
        case Op::Cube: power = CalcPotCube(regs[s.a]); goto powered;
        case Op::Same: power = CalcPotOne(regs[s.a]); goto powered;
        case Op::One: power = CalcPotZero(regs[s.a]); goto powered;
        case Op::Pot: power = CalcPot(regs[s.a], regs[s.b], 2); goto powered;
        case Op::Step:
            if (!runStep(s, regs, xText))
                goto stop;
            continue;
        }
        if (!std::isfinite(r))
            goto keep;
        regs[s.dst] = r;
        continue;
    powered:
        if (!power)
            goto keep;
        regs[s.dst] = *power;
    }
    return regs[rootRegister];
keep:
    // The faulting step leaves the accumulator as it was: a, where a first argument was
    // loaded with it.
    regs[code[pc].dst] = regs[code[pc].a];
    CalcError = -1;
stop:
    // The text evaluator skips every step after a fault: its outermost accumulator as it
    // stands then is the result.
    return pc >= rootValidFrom ? regs[rootRegister] : 0.0f;
}

float FormulaProgram::Impl::execute(float x, float negX, std::u16string_view xText) const
{
    // A fault before the evaluation began freezes every accumulator at 0.
    if (CalcError == -1)
        return 0;
    constexpr std::size_t OnStack = 256;
    float local[OnStack];
    std::unique_ptr<float[]> heap;
    float *regs = local;
    if (frameSize > OnStack) {
        heap = std::make_unique<float[]>(frameSize);
        regs = heap.get();
    }
    // A small frame copies in one fixed-size block, without a library call.
    if (frame.size() == SmallFrame)
        std::memcpy(regs, frame.data(), SmallFrame * sizeof(float));
    else
        std::copy(frame.begin(), frame.end(), regs);
    regs[XRegister] = x;
    regs[NegXRegister] = negX;
    return runInstructions(regs, xText);
}

FormulaProgram::FormulaProgram(std::u16string_view formula) : d(std::make_unique<Impl>())
{
    d->formula = formula;
    d->xCount = std::count(formula.begin(), formula.end(), u'x');
    if (formula.size() > MaxTextLength) {
        d->staticError = FormulaError::Overflow;
        return;
    }
    if (formula.find(u'(') == std::u16string_view::npos
        || formula.find(u')') == std::u16string_view::npos) {
        d->notACall = true;
        return;
    }
    d->compileCall(formula, 1);
    if (d->compiled && d->staticError == FormulaError::None)
        d->layOut();
    d->nodes = {};
    d->args = {};
    // The longest number text, "-1.234568E+07", has 13 characters.
    constexpr std::ptrdiff_t LongestNumberText = 13;
    const bool lengthSafe =
        static_cast<std::ptrdiff_t>(formula.size()) + d->xCount * (LongestNumberText - 1)
        <= static_cast<std::ptrdiff_t>(MaxTextLength);
    d->valueOnly =
        d->compiled && d->templates.empty() && d->staticError == FormulaError::None && lengthSafe;
}

FormulaProgram::~FormulaProgram() = default;
FormulaProgram::FormulaProgram(FormulaProgram &&) noexcept = default;
FormulaProgram &FormulaProgram::operator=(FormulaProgram &&) noexcept = default;

bool FormulaProgram::isCompiled() const
{
    return d->compiled;
}

float FormulaProgram::evaluate(std::u16string_view xText, FormulaError *error) const
{
    // An x text that is empty or holds structure characters could change
    // how the formula splits into arguments: only the text procedure knows.
    const bool plainX = !xText.empty() && xText.find_first_of(u"();") == std::u16string_view::npos;
    if (!plainX)
        return run(xText, 0, 0, error, true);
    // An argument that is x alone reads as a leaf, so a leading "--" of x's text is dropped too.
    const float x = d->usesX ? leafValue(xText) : 0.0f;
    const float negX = d->usesNegX ? leafValue(u"-" + std::u16string(xText)) : 0.0f;
    return run(xText, x, negX, error, false);
}

float FormulaProgram::evaluate(float x, FormulaError *error) const
{
    // No leaf needs the text of x and no text of x can make the formula too
    // long: the value it reads back as is all that matters.
    if (d->valueOnly) {
        if (error)
            *error = FormulaError::None;
        const float value = NumberTextValue(x);
        return d->execute(value, std::isfinite(x) ? -value : 0.0f, {});
    }
    const NumberTextResult number = NumberTextWithValue(x);
    // "-" before a number text reads as its negation, before INF or NAN as 0.
    const float negX = std::isfinite(x) ? -number.readBack : 0.0f;
    return run(number.text(), number.readBack, negX, error, false);
}

FormulaSample FormulaProgram::sample(float x) const
{
    CalcError = 0;
    FormulaSample result;
    // evaluate(x) without its calls: the plotter comes here once per sample.
    if (d->valueOnly) {
        const float value = NumberTextValue(x);
        result.value = d->execute(value, std::isfinite(x) ? -value : 0.0f, {});
    } else {
        result.value = evaluate(x, &result.error);
    }
    result.arithmeticFault = CalcError != 0;
    return result;
}

bool FormulaProgram::overflows(std::size_t xTextLength) const
{
    const auto grown = static_cast<std::ptrdiff_t>(d->formula.size())
                       + d->xCount * (static_cast<std::ptrdiff_t>(xTextLength) - 1);
    return grown > static_cast<std::ptrdiff_t>(MaxTextLength);
}

float FormulaProgram::run(std::u16string_view xText, float x, float negX, FormulaError *error,
                          bool viaText) const
{
    FormulaError failure = FormulaError::None;
    if (d->formula.size() > MaxTextLength || overflows(xText.size()))
        failure = FormulaError::Overflow; // where ReplaceText would fail
    else if (!viaText)
        failure = d->staticError;
    if (failure == FormulaError::None && (viaText || !d->compiled))
        return CalcFormula(*ReplaceText(u'x', xText, d->formula), error);
    if (error)
        *error = failure;
    if (failure != FormulaError::None) {
        CalcError = -1;
        return 0;
    }
    if (d->notACall)
        return 0;
    return d->execute(x, negX, xText);
}

} // namespace lw
