// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The reference reader's first half: the typed equation as tokens, or a refusal.

#include <string>
#include <string_view>
#include <vector>

namespace lw::test::pupil {

enum Function { Sin, Cos, Tan, Sqrt, Abs, Exp, Ln, Lg, Asin, Acos, Atan, Sgn };

enum class Kind { Number, Fraction, Super, X, Param, Pi, Func, Op, Open, Close, Bar, Root, End };

struct Token {
    Kind kind = Kind::End;
    bool blank = false; // blanks came before it
    double value = 0;   // a number, a fraction, a superscript exponent
    int index = 0;      // the parameter or the function
    char op = 0;
    bool whole = false;   // a number of digits only
    bool signed_ = false; // a superscript run beginning with ⁻
};

struct Refusal {
    std::string why;
};

[[noreturn]] void Refuse(std::string why);

// The tokens of a typed equation, its prefix ("y =", "f(x) =") and ignored characters left out.
std::vector<Token> EquationTokens(std::u16string_view typed);

} // namespace lw::test::pupil
