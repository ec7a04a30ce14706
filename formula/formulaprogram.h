// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "evaluator.h"
#include "numeric.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

// What one value of x gives: the value, whether an arithmetic fault set
// CalcError (the sample is a gap), and a formula error (the formula is unusable).
struct FormulaSample {
    float value = 0;
    bool arithmeticFault = false;
    FormulaError error = FormulaError::None;
};

// A KZN formula prepared once and evaluated for many values of x.
// evaluate(xText) gives bit for bit what CalcFormula(ReplaceText('x', xText,
// formula)) gives, CalcError and formula errors included (a substituted text
// over MaxTextLength is FormulaError::Overflow), without building and
// rescanning the text per sample. Formulas whose structure depends on the
// text of x fall back to exactly that text procedure.
class FormulaProgram {
public:
    explicit FormulaProgram(std::u16string_view formula);
    ~FormulaProgram();
    FormulaProgram(FormulaProgram &&) noexcept;
    FormulaProgram &operator=(FormulaProgram &&) noexcept;

    float evaluate(std::u16string_view xText, FormulaError *error = nullptr) const;
    // The same for the number text of x, without building that text where
    // only the value it reads as is needed.
    float evaluate(float x, FormulaError *error = nullptr) const;
    // evaluate(x) with CalcError cleared first, as the plotter does for every
    // sample; CalcError is left as the evaluation set it.
    FormulaSample sample(float x) const;

    // True when evaluate() runs the compiled form rather than the text procedure.
    bool isCompiled() const;

private:
    bool overflows(std::size_t xTextLength) const;
    float run(std::u16string_view xText, float x, float negX, FormulaError *error,
              bool viaText) const;

    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace lw
