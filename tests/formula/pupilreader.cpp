// SPDX-License-Identifier: GPL-3.0-or-later
// A second, independent reading of the pupil's notation: evaluates while it reads, in double,
// one x at a time. Slow on purpose; each step is written the way the notation states it.

#include "pupilreader.h"
#include "pupiltokens.h"

#include <cmath>
#include <utility>
#include <vector>

namespace lw::test {
namespace {

using namespace pupil;

class Reader {
public:
    Reader(std::vector<Token> tokens, double x, const std::array<double, 8> &parameters,
           PupilReading &out)
        : t(std::move(tokens)), x(x), parameters(parameters), out(out)
    {}

    // equation := sum end
    double equation()
    {
        const double v = sum();
        if (peek().kind != Kind::End)
            Refuse(peek().kind == Kind::Close ? "')' too many" : "unexpected token");
        return v;
    }

private:
    const Token &peek() const { return t[p]; }
    bool isOp(char op) const { return peek().kind == Kind::Op && peek().op == op; }
    bool isSign() const { return isOp('+') || isOp('-'); }

    // sum := term { ("+" | "-") term }
    double sum()
    {
        double v = term();
        while (isSign()) {
            const bool minus = t[p++].op == '-';
            const double w = term();
            v = note(minus ? v - w : v + w);
        }
        return v;
    }

    // term := unary { ("*" | "/") unary | implicit }
    double term()
    {
        double v = unary();
        for (;;) {
            if (isOp('*') || isOp('/')) {
                const bool divide = t[p++].op == '/';
                const double w = unary();
                v = divide ? quotient(v, w) : note(v * w);
            } else if (startsImplicit(peek())) {
                v = note(v * power());
            } else {
                return v;
            }
        }
    }

    bool startsImplicit(const Token &tok) const
    {
        switch (tok.kind) {
        case Kind::Number:
        case Kind::Fraction:
        case Kind::X:
        case Kind::Param:
        case Kind::Pi:
        case Kind::Func:
        case Kind::Open:
        case Kind::Root: return true;
        case Kind::Bar: return bars == 0; // with a bar open, a bar here closes it
        default: return false;
        }
    }

    // unary := [ "+" | "-" ] power
    double unary()
    {
        if (!isSign())
            return power();
        const bool minus = t[p++].op == '-';
        const double v = power();
        return minus ? -v : v;
    }

    // power := postfix [ "^" [ "+" | "-" ] postfix ]
    double power()
    {
        const double base = postfix(true);
        if (!isOp('^'))
            return base;
        if (t[p - 1].kind == Kind::Super)
            Refuse("'^' after a superscript run");
        ++p;
        const bool minus = isSign() && t[p++].op == '-';
        const double exponent = postfix(false);
        if (isOp('^') || peek().kind == Kind::Super)
            Refuse("a chained power");
        return raise(base, minus ? -exponent : exponent);
    }

    // postfix := primary [ superscript-run ]
    // Blanks before a run mean nothing, except that they cannot lead it into an exponent:
    // x^2 ² is a chained power, not x^(2²).
    double postfix(bool runAfterBlank)
    {
        double v = primary(runAfterBlank);
        if (peek().kind != Kind::Super || (peek().blank && !runAfterBlank))
            return v;
        v = raise(v, t[p++].value);
        if (peek().kind == Kind::Super)
            Refuse("a second superscript run");
        return v;
    }

    // primary := number | fraction | x | a..h | pi | group | "√" root-operand | function
    double primary(bool runAfterBlank = false)
    {
        const Token tok = peek();
        switch (tok.kind) {
        case Kind::Number:
        case Kind::Fraction:
        case Kind::Pi: ++p; return tok.value;
        case Kind::X: ++p; return x;
        case Kind::Param: ++p; return parameters[tok.index];
        case Kind::Open:
        case Kind::Bar: return group();
        case Kind::Root: ++p; return rootOperand(runAfterBlank);
        case Kind::Func: ++p; return function(Function(tok.index));
        case Kind::Close:
            Refuse(p > 0 && t[p - 1].kind == Kind::Open ? "empty '()'" : "')' too many");
        default: Refuse("an operand is missing");
        }
    }

    // root-operand := group | "√" root-operand | postfix
    // A bracket ends the root's argument: √(x)² is (√x)², √x² is √(x²).
    double rootOperand(bool runAfterBlank)
    {
        const Kind next = peek().kind;
        if (next == Kind::Open || next == Kind::Bar || next == Kind::Root)
            return root(primary(runAfterBlank));
        return root(postfix(runAfterBlank));
    }

    // group := "(" sum ")" | "|" sum "|"
    double group()
    {
        const bool bar = t[p++].kind == Kind::Bar;
        bars += bar; // a bar opened outside a "(" is still open inside it
        const double v = sum();
        if (peek().kind != (bar ? Kind::Bar : Kind::Close))
            Refuse(bar ? "a bar left open" : "'(' never closed");
        ++p;
        bars -= bar;
        return bar ? std::fabs(v) : v;
    }

    // function := name [ fpower ] ( group | bare )
    double function(Function f)
    {
        double exponent = 1;
        const bool powered = peek().kind == Kind::Super || isOp('^');
        if (peek().kind == Kind::Super) {
            if (peek().signed_)
                Refuse("a signed power of a function");
            exponent = t[p++].value;
        } else if (isOp('^')) {
            ++p;
            if (peek().kind != Kind::Number || !peek().whole)
                Refuse("a function's power is not whole digits");
            exponent = t[p++].value;
        }
        const bool bracketed = peek().kind == Kind::Open || peek().kind == Kind::Bar;
        const double v = note(apply(f, bracketed ? group() : bare()));
        if (powered && (isOp('^') || peek().kind == Kind::Super))
            Refuse("a power after a function's power");
        return raise(v, exponent);
    }

    // bare := [ number ] { x | a..h | pi }, written together, each with its superscript run
    double bare()
    {
        double v = 1;
        bool first = true;
        if (peek().kind == Kind::Number) {
            v = postfix(false);
            first = false;
        }
        while ((peek().kind == Kind::X || peek().kind == Kind::Param || peek().kind == Kind::Pi)
               && (first || !peek().blank)) {
            v = note(v * postfix(false));
            first = false;
        }
        if (first)
            Refuse("a function without its argument");
        if (isOp('^'))
            Refuse("'^' after an argument without brackets");
        return v;
    }

    double apply(Function f, double a)
    {
        switch (f) {
        case Sin:
        case Cos:
        case Tan:
            // Float cannot place a large angle within a period.
            if (std::fabs(a) > 100)
                singular(0);
            if (f != Tan)
                return f == Sin ? std::sin(a) : std::cos(a);
            singular(std::cos(a));
            return std::tan(a);
        case Sqrt: return root(a);
        case Abs: return std::fabs(a);
        case Exp: return std::exp(a);
        case Ln:
        case Lg:
            singular(a);
            return a <= 0    ? fault("logarithm of a number <= 0")
                   : f == Ln ? std::log(a)
                             : std::log10(a);
        case Asin:
        case Acos:
            singular(1 - std::fabs(a));
            return std::fabs(a) > 1 ? fault("arcsin or arccos outside [-1, 1]")
                   : f == Asin      ? std::asin(a)
                                    : std::acos(a);
        case Atan: return std::atan(a);
        case Sgn: singular(a); return a > 0 ? 1 : a < 0 ? -1 : 0;
        }
        return 0;
    }

    double root(double a)
    {
        singular(a);
        return a < 0 ? fault("square root of a negative number") : std::sqrt(a);
    }

    double quotient(double a, double b)
    {
        singular(b);
        return b == 0 ? fault("division by zero") : note(a / b);
    }

    double raise(double base, double exponent)
    {
        const bool whole = exponent == std::round(exponent);
        if (exponent <= 0 || !whole)
            singular(base);
        if (!whole && base < 0)
            singular(std::fabs(exponent - std::round(exponent)));
        if (base < 0 && !whole)
            return fault("a negative base with a non-whole exponent");
        if (base == 0 && exponent < 0)
            return fault("0 to a negative power");
        return note(std::pow(base, exponent));
    }

    // Every step's result passes here.
    double note(double v)
    {
        out.largest = std::max(out.largest, std::fabs(v));
        if (!std::isfinite(v) || std::fabs(v) > 3.4e38)
            return fault("overflow");
        return v;
    }

    // How far a step that faults or jumps is from doing so. After a fault the sample has no
    // value whatever follows, and the 0 it left means nothing.
    void singular(double distance)
    {
        if (out.hasValue)
            out.nearestSingular = std::min(out.nearestSingular, std::fabs(distance));
    }

    double fault(const char *why)
    {
        if (out.hasValue)
            out.why = why;
        out.hasValue = false;
        return 0;
    }

    std::vector<Token> t;
    std::size_t p = 0;
    int bars = 0;
    double x;
    const std::array<double, 8> &parameters;
    PupilReading &out;
};

} // namespace

PupilReading ReadPupil(std::u16string_view typed, double x, const std::array<double, 8> &parameters)
{
    PupilReading out;
    try {
        out.value = Reader(EquationTokens(typed), x, parameters, out).equation();
    } catch (const Refusal &refusal) {
        out = PupilReading{true, false, 0, refusal.why};
    }
    return out;
}

} // namespace lw::test
