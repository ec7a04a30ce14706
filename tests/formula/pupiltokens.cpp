// SPDX-License-Identifier: GPL-3.0-or-later

#include "pupiltokens.h"

#include "formula/charclasses.h"
#include "formula/formulacheck.h"
#include "formula/functionnames.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace lw::test::pupil {

void Refuse(std::string why)
{
    throw Refusal{std::move(why)};
}

namespace {

// The function a one-argument keyword computes; -1 for any other keyword.
int FunctionOf(std::u16string_view keyword)
{
    constexpr std::u16string_view Keywords = u"SINCOSTANSQRABSEXPLGNLGDASNACSATNSGN";
    const std::size_t at = keyword.size() == 3 ? Keywords.find(keyword) : Keywords.npos;
    return at == Keywords.npos || at % 3 != 0 ? -1 : int(at / 3);
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

} // namespace

std::vector<Token> EquationTokens(std::u16string_view typed)
{
    std::u16string kept;
    for (char16_t c : typed) {
        if (!detail::isIgnoredCharacter(c))
            kept += c;
    }
    const std::u16string_view s = WithoutPrefix(kept);
    if (s.find(u'=') != std::u16string_view::npos)
        Refuse("'=' after the start");
    if (SkipBlanks(s, 0) == s.size())
        Refuse("empty");
    return Tokens(s);
}

} // namespace lw::test::pupil
