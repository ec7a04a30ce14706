// SPDX-License-Identifier: GPL-3.0-or-later
// A second, independent reading of the pupil's notation: evaluates while it reads, in double,
// one x at a time. Slow on purpose; each step is written the way the notation states it.

#include "pupilreader.h"

#include "formula/charclasses.h"
#include "formula/formulacheck.h"
#include "formula/functionnames.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace lw::test {
namespace {

enum Function { Sin, Cos, Tan, Sqrt, Abs, Exp, Ln, Lg, Asin, Acos, Atan, Sgn };

// The function a one-argument keyword computes; -1 for any other keyword.
int FunctionOf(std::u16string_view keyword)
{
    constexpr std::u16string_view Keywords = u"SINCOSTANSQRABSEXPLGNLGDASNACSATNSGN";
    const std::size_t at = keyword.size() == 3 ? Keywords.find(keyword) : Keywords.npos;
    return at == Keywords.npos || at % 3 != 0 ? -1 : int(at / 3);
}

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

[[noreturn]] void Refuse(std::string why)
{
    throw Refusal{std::move(why)};
}

using detail::isAsciiLetter;
using detail::isDigit;

char16_t Lower(char16_t c)
{
    return c >= 'A' && c <= 'Z' ? char16_t(c + 32) : c;
}

char OperatorOf(char16_t c)
{
    const char16_t sign = detail::operatorSignOf(c);
    return std::u16string_view(u"+-*/^").find(sign) == std::u16string_view::npos ? 0 : char(sign);
}

double FractionValue(char16_t c)
{
    const detail::VulgarFraction f = detail::vulgarFraction(c);
    return f.denominator == 0 ? 0 : double(f.numerator) / f.denominator;
}

// Where the run of characters from i that `belongs` takes in ends.
std::size_t RunEnd(std::u16string_view s, std::size_t i, bool (*belongs)(char16_t))
{
    while (i < s.size() && belongs(s[i]))
        ++i;
    return i;
}

std::size_t SkipBlanks(std::u16string_view s, std::size_t i)
{
    return RunEnd(s, i, detail::isTypedBlank);
}

// A leading "y =" or "f(x) =", blanks anywhere, is dropped.
std::u16string_view WithoutPrefix(std::u16string_view s)
{
    std::u16string seen; // the first characters that are no blanks
    for (std::size_t i = 0; i < s.size() && seen.size() < 5; ++i) {
        if (!detail::isTypedBlank(s[i]))
            seen += Lower(s[i]);
        const bool letter = !seen.empty() && isAsciiLetter(seen[0]) && seen[0] != 'x';
        if (letter && (seen.substr(1) == u"=" || seen.substr(1) == u"(x)="))
            return s.substr(i + 1);
    }
    return s;
}

// A run of letters written together, left to right, the longest function name first.
std::size_t ReadLetters(std::u16string_view s, std::size_t i, bool blank, std::vector<Token> &out)
{
    const std::size_t runEnd = RunEnd(s, i, isAsciiLetter);
    bool anyFunction = false;
    Token piece;
    std::size_t k = i;
    for (; k < runEnd; k += piece.kind == Kind::Pi ? 2 : 1, blank = false) {
        std::size_t length = 0;
        piece = Token{Kind::Func, blank};
        for (std::size_t n = std::min<std::size_t>(6, runEnd - k); n > 0 && !length; --n) {
            if (const int f = FunctionOf(detail::functionKeyword(s.substr(k, n))); f >= 0) {
                length = n;
                piece.index = f;
            }
        }
        if (length) {
            // log10 is lg; log2x, log3: a base a pupil may mean.
            const bool log = detail::equalsIgnoringCase(s.substr(k, length), u"log");
            if (log && s.substr(k + length, 2) == u"10")
                length += 2;
            if (log && k + length < s.size() && isDigit(s[k + length]))
                Refuse("log with digits other than 10");
            anyFunction = true;
            out.push_back(piece);
            k += length - 1;
            continue;
        }
        if (Lower(s[k]) == 'x')
            piece.kind = Kind::X;
        else if (s[k] >= 'a' && s[k] <= 'h')
            piece = Token{Kind::Param, blank, 0, s[k] - 'a'};
        else if (k + 1 < runEnd && Lower(s[k]) == 'p' && Lower(s[k + 1]) == 'i')
            piece = Token{Kind::Pi, blank, 3.141593};
        else
            Refuse("unknown name");
        out.push_back(piece);
    }
    const std::size_t end = k; // past "10" when the run ends in "log10"
    auto beforeOpen = [&](std::size_t at) {
        return SkipBlanks(s, at) < s.size() && s[SkipBlanks(s, at)] == '(';
    };
    if (beforeOpen(end) && out.back().kind != Kind::Func && anyFunction)
        Refuse("a run before '(' that does not end in a function name");
    const std::size_t after = RunEnd(s, end, isDigit);
    if (after > end && beforeOpen(after) && out.back().kind == Kind::Func)
        Refuse("a function name with digits before '('");
    return end;
}

std::size_t ReadNumber(std::u16string_view s, std::size_t i, bool blank, std::vector<Token> &out)
{
    std::size_t j = RunEnd(s, i, isDigit);
    bool whole = true;
    if (j < s.size() && (s[j] == '.' || s[j] == ',')) {
        whole = false;
        j = RunEnd(s, j + 1, isDigit);
    }
    if (j < s.size() && (s[j] == '.' || s[j] == ','))
        Refuse("a second point in a number");
    if (j < s.size() && (s[j] == 'E' || s[j] == 'D')) {
        std::size_t k = j + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-'))
            ++k;
        if (k < s.size() && isDigit(s[k])) {
            whole = false;
            j = RunEnd(s, k, isDigit);
        }
    }
    std::string text;
    for (std::size_t k = i; k < j; ++k)
        text += s[k] == ',' ? '.' : s[k] == 'D' ? 'E' : char(s[k]);
    out.push_back({Kind::Number, blank, std::strtod(text.c_str(), nullptr), 0, 0, whole});
    return j;
}

std::size_t ReadSuperscripts(std::u16string_view s, std::size_t i, bool blank,
                             std::vector<Token> &out)
{
    Token run{Kind::Super, blank};
    run.signed_ = s[i] == detail::SuperscriptMinus;
    std::size_t j = i + run.signed_;
    if (j >= s.size() || detail::superscriptDigit(s[j]) < 0)
        Refuse("'⁻' without a superscript digit");
    for (; j < s.size() && detail::superscriptDigit(s[j]) >= 0; ++j)
        run.value = run.value * 10 + detail::superscriptDigit(s[j]);
    if (run.signed_)
        run.value = -run.value;
    out.push_back(run);
    return j;
}

std::vector<Token> Tokens(std::u16string_view s)
{
    std::vector<Token> out;
    for (std::size_t i = 0; i < s.size();) {
        const bool blank = i > 0 && detail::isTypedBlank(s[i - 1]);
        const char16_t c = s[i];
        if (detail::isTypedBlank(c))
            ++i;
        else if (isDigit(c) || (c == '.' && i + 1 < s.size() && isDigit(s[i + 1])))
            i = ReadNumber(s, i, blank, out);
        else if (isAsciiLetter(c))
            i = ReadLetters(s, i, blank, out);
        else if (detail::superscriptDigit(c) >= 0 || c == detail::SuperscriptMinus)
            i = ReadSuperscripts(s, i, blank, out);
        else if (FractionValue(c) > 0)
            out.push_back({Kind::Fraction, blank, FractionValue(s[i++])});
        else if (OperatorOf(c))
            out.push_back({Kind::Op, blank, 0, 0, OperatorOf(s[i++])});
        else {
            constexpr std::u16string_view marks = u"()|\u221A\u03C0";
            constexpr Kind kinds[] = {Kind::Open, Kind::Close, Kind::Bar, Kind::Root, Kind::Pi};
            const std::size_t m = marks.find(c);
            if (m == marks.npos)
                Refuse("unknown character");
            out.push_back({kinds[m], blank, 3.141593}); // the value counts for π only
            ++i;
        }
    }
    out.push_back({Kind::End, false});
    auto numeric = [](const Token &t) {
        return t.kind == Kind::Number || t.kind == Kind::Fraction;
    };
    for (std::size_t k = 0; k + 1 < out.size(); ++k) {
        if (out[k].kind == Kind::Number && out[k].whole && out[k + 1].kind == Kind::Fraction
            && !out[k + 1].blank) {
            out[k].value += out[k + 1].value; // a mixed number
            out[k].whole = false;
            out.erase(out.begin() + std::ptrdiff_t(k) + 1);
        }
        if (numeric(out[k]) && numeric(out[k + 1]))
            Refuse("two numbers side by side");
    }
    return out;
}

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
    std::u16string kept;
    for (char16_t c : typed) {
        if (!detail::isIgnoredCharacter(c))
            kept += c;
    }
    PupilReading out;
    try {
        const std::u16string_view s = WithoutPrefix(kept);
        if (s.find(u'=') != std::u16string_view::npos)
            Refuse("'=' after the start");
        if (SkipBlanks(s, 0) == s.size())
            Refuse("empty");
        out.value = Reader(Tokens(s), x, parameters, out).equation();
    } catch (const Refusal &refusal) {
        out = PupilReading{true, false, 0, refusal.why};
    }
    return out;
}

} // namespace lw::test
