// SPDX-License-Identifier: GPL-3.0-or-later

#include "mathprinter.h"

#include <cmath>
#include <utility>

namespace lw {

namespace {

using Keyword = KznNode::Keyword;
using Kind = KznNode::Kind;

// How loosely a printed term binds, as the converter splits: it splits at the rightmost of the
// loosest operators, so + and - group from the left, then * and /, then ^. A leading sign is
// split off with all up to the next + or - behind it, so a signed term binds like a sum and
// stands unbracketed only where a sum begins.
enum class Binding { Sum, Product, Power, Atom };

struct Printed {
    std::u16string text;
    Binding binding = Binding::Atom;
};

Printed print(const KznNode &node);

// The operand bracketed unless it binds at least as tightly as its place asks. Only the left
// operand of a sum may be a sum itself, and no power is written in a power: the speller
// refuses x^2^3, and the converter would group it from the left.
std::u16string operand(const KznNode &node, Binding least)
{
    Printed printed = print(node);
    if (printed.binding >= least)
        return std::move(printed.text);
    return u"(" + printed.text + u")";
}

std::u16string_view functionName(Keyword keyword)
{
    switch (keyword) {
    case Keyword::Sqr: return u"sqrt";
    case Keyword::Sin: return u"sin";
    case Keyword::Cos: return u"cos";
    case Keyword::Tan: return u"tan";
    case Keyword::Exp: return u"exp";
    case Keyword::Lgn: return u"ln";
    case Keyword::Lgd: return u"lg";
    case Keyword::Asn: return u"arcsin";
    case Keyword::Acs: return u"arccos";
    case Keyword::Atn: return u"arctan";
    case Keyword::Sgn: return u"sgn";
    default: return {};
    }
}

Printed number(double value)
{
    if (std::isnan(value))
        return {u"0/0", Binding::Product};
    if (std::signbit(value)) {
        // Appended rather than prefixed: GCC 12 at -O3 warns of an overlap in the prefixing.
        std::u16string text = u"-";
        text += KznNumberText(-value);
        return {std::move(text), Binding::Sum};
    }
    return {KznNumberText(value), Binding::Atom};
}

// The converter writes a leading sign as a SUM or DIF with an empty first argument.
bool isSign(const KznNode &node)
{
    const auto &a = node.arguments;
    return (node.keyword == Keyword::Sum || node.keyword == Keyword::Dif) && a.size() == 2
           && a[0].kind == Kind::Number && a[0].value == 0 && !std::signbit(a[0].value);
}

Printed binary(const KznNode &node)
{
    const KznNode &left = node.arguments[0];
    const KznNode &right = node.arguments[1];
    switch (node.keyword) {
    case Keyword::Sum:
    case Keyword::Dif: {
        const char16_t op = node.keyword == Keyword::Sum ? u'+' : u'-';
        if (isSign(node))
            return {op + operand(right, Binding::Product), Binding::Sum};
        return {operand(left, Binding::Sum) + op + operand(right, Binding::Product), Binding::Sum};
    }
    case Keyword::Pro:
    case Keyword::Div: {
        const char16_t op = node.keyword == Keyword::Pro ? u'*' : u'/';
        return {operand(left, Binding::Product) + op + operand(right, Binding::Power),
                Binding::Product};
    }
    default:
        return {operand(left, Binding::Atom) + u"^" + operand(right, Binding::Atom),
                Binding::Power};
    }
}

// A call the converter keeps as typed: SUM(a;b;c), AMI(a;b).
Printed kznCall(const KznNode &node)
{
    std::u16string text(KeywordName(node.keyword));
    text += u'(';
    for (std::size_t i = 0; i < node.arguments.size(); ++i) {
        if (i > 0)
            text += u';';
        text += print(node.arguments[i]).text;
    }
    return {text + u")", Binding::Atom};
}

Printed print(const KznNode &node)
{
    if (node.kind == Kind::X)
        return {u"x", Binding::Atom};
    if (node.kind == Kind::Number)
        return number(node.value);
    const auto &arguments = node.arguments;
    if (node.keyword == Keyword::Unknown)
        return {u"0/0", Binding::Product};
    if (arguments.empty())
        return {u"0", Binding::Atom};
    if (!IsFunctionKeyword(node.keyword)) {
        const bool twoArguments = arguments.size() == 2 && node.keyword != Keyword::Ami;
        return twoArguments ? binary(node) : kznCall(node);
    }
    // The engine gives a function of several arguments the value of the last.
    const std::u16string inner = print(arguments.back()).text;
    if (node.keyword == Keyword::Abs)
        return {u"|" + inner + u"|", Binding::Atom};
    return {std::u16string(functionName(node.keyword)) + u"(" + inner + u")", Binding::Atom};
}

} // namespace

std::u16string ToMathematical(const KznNode &node)
{
    return print(node).text;
}

} // namespace lw
