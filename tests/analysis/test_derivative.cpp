// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/derivative.h"
#include "analysis/kzntree.h"
#include "analysis/mathprinter.h"

#include "formula/equation.h"
#include "formula/evaluator.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"
#include "formula/texthelpers.h"
#include "tests/formula/seededrandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace lw {
namespace {

std::string Narrow(std::u16string_view text)
{
    return {text.begin(), text.end()};
}

std::u16string Wide(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::optional<KznNode> Converted(std::string_view typed)
{
    const EquationFormula converted = FormulaOfEquation(Wide(typed), Notation::Mathematical);
    if (converted.fault != EquationFault::None)
        return std::nullopt;
    return ParseKzn(converted.formula);
}

std::string ConvertedBack(const KznNode &node)
{
    return Narrow(FormulaOfEquation(ToMathematical(node), Notation::Mathematical).formula);
}

std::u16string Nested(int depth)
{
    std::u16string text;
    for (int i = 0; i < depth; ++i)
        text += u"SIN(";
    return text + u"x" + std::u16string(depth, u')');
}

// Random equations in the notation pupils type, with the shapes the converter treats apart:
// signs at the start and after operators, powers of powers in brackets, bars, functions under
// all their names, numbers with "," and exponents, and KZN calls typed into the equation.
// Appended piece by piece: GCC 12 at -O3 warns of an overlap in "(" + std::string&&.
std::string bracketed(const std::string &inner, char open = '(', char close = ')')
{
    std::string out(1, open);
    out += inner;
    out += close;
    return out;
}

class EquationWriter : test::SeededRandom {
public:
    using SeededRandom::SeededRandom;

    std::string sum(int depth)
    {
        std::string out = chance(20) ? pick({"-", "+", "-"}) : "";
        out += term(depth);
        for (int i = below(depth == 0 ? 3 : 2); i > 0; --i)
            out += pick({"+", "-"}) + term(depth);
        return out;
    }

private:
    std::string pick(std::initializer_list<const char *> options)
    {
        return options.begin()[below(options.size())];
    }

    std::string term(int depth)
    {
        std::string out = factor(depth);
        for (int i = below(depth == 0 ? 3 : 2); i > 0; --i) {
            if (chance(15)) { // 2x, 3(x+1): the "*" left out
                out += '*';
                out += pick({"2", "3", "0.5"});
                out += chance(50) ? std::string("x") : bracketed(sum(depth + 1));
            } else
                out += pick({"*", "/", "*-", "/-"}) + factor(depth);
        }
        return out;
    }

    std::string factor(int depth)
    {
        std::string out = primary(depth);
        if (chance(25)) {
            out += '^';
            out += chance(60) ? pick({"2", "3", "-1", "0.5", "x", "-x", "2,5"})
                              : bracketed(sum(depth + 1));
        }
        return out;
    }

    std::string primary(int depth)
    {
        const int kind = depth >= 2 ? below(50) : below(100);
        if (kind < 25)
            return pick({"2", "3", "1", "0", "0.5", "1,5", ".25", "10", "1E-3", "2.5E+4", "007",
                         "pi", "1E20", "4."});
        if (kind < 50)
            return "x";
        if (kind < 65)
            return bracketed(sum(depth + 1));
        if (kind < 72)
            return bracketed(sum(depth + 1), '|', '|');
        if (kind < 92)
            return pick({"sin", "cos", "tan", "sqrt", "wurzel", "abs", "exp", "ln", "lg", "log",
                         "arcsin", "acos", "arctan", "sgn", "SIN", "Ln"})
                   + (bracketed(sum(depth + 1)));
        const std::string a = sum(depth + 1);
        return pick({"SUM(", "AMI(", "PRO(", "DIF(;", "POT("}) + a
               + pick({")", ";x)", ";;2)", ";x;3)"});
    }
};

// Random formulas in the liberties of KZN that the converter never writes.
class FormulaWriter : test::SeededRandom {
public:
    using SeededRandom::SeededRandom;

    std::string call(int depth)
    {
        const auto keyword = static_cast<KznNode::Keyword>(below(18));
        std::string out = Narrow(KeywordName(keyword)) + "(";
        if (IsFunctionKeyword(keyword))
            return out + argument(depth, false) + ")";
        const int count = 1 + below(3);
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                out += ';';
            out += argument(depth, i + 1 < count);
        }
        const bool trailing = keyword != KznNode::Keyword::Ami && chance(10);
        return out + (trailing ? ";)" : ")");
    }

private:
    std::string argument(int depth, bool mayBeEmpty)
    {
        if (depth < 4 && chance(40))
            return call(depth + 1);
        static constexpr const char *Leaves[] = {
            "x",    "x",     "-x",   "--x", "2", "0.5",   "1,5", "-3",   "--2", "+4",    ".25",
            "1E-2", "2.5e1", "7D-1", "0",   "3", "-0.75", "1.",  "---2", "1 5", "1234.5"};
        return mayBeEmpty && chance(10) ? "" : Leaves[below(std::size(Leaves))];
    }
};

TEST(Derivative, SchoolFunctionsPrintAsPupilsWriteThem)
{
    struct Case {
        const char *f, *first, *second;
    };
    const Case cases[] = {
        {"2*x^2+3*x-4", "4*x+3", "4"},
        {"-x^2+x+3", "-2*x+1", "-2"},
        {"x^3/3-0.1*x", "x^2-0.1", "2*x"},
        {"x*(x-2)*(x+3)", "3*x^2+2*x-6", "6*x+2"},
        {"sin(x)^2", "2*sin(x)*cos(x)", "2*cos(x)^2-2*sin(x)^2"},
        {"cos(2x)", "-2*sin(2*x)", "-4*cos(2*x)"},
        {"tan(x)", "1/cos(x)^2", "2*sin(x)/cos(x)^3"},
        {"x*exp(-x)", "(1-x)*exp(-x)", "(x-2)*exp(-x)"},
        {"x^2*exp(x)", "(x^2+2*x)*exp(x)", "(x^2+4*x+2)*exp(x)"},
        {"exp(-x^2)", "-2*x*exp(-x^2)", "(4*x^2-2)*exp(-x^2)"},
        {"2^x", "2^x*ln(2)", "2^x*ln(2)^2"},
        {"x^x", "x^x*(ln(x)+1)", "((ln(x)+1)^2+1/x)*x^x"},
        {"ln(x)/x", "(1-ln(x))/x^2", "(2*ln(x)-3)/x^3"},
        {"x*ln(x)", "ln(x)+1", "1/x"},
        {"lg(x)", "1/(x*ln(10))", "-1/(x^2*ln(10))"},
        {"1/x", "-1/x^2", "2/x^3"},
        {"x/(x^2+1)", "(1-x^2)/(x^2+1)^2", "(2*x^3-6*x)/(x^2+1)^3"},
        {"(x^2-1)/(x+2)", "(x^2+4*x+1)/(x+2)^2", "6/(x+2)^3"},
        {"(x^2+1)^3", "6*x*(x^2+1)^2", ""},
        {"sqrt(x+4)", "1/(2*sqrt(x+4))", "-1/(4*sqrt(x+4)^3)"},
        {"x^(1/3)", "1/(3*x^(2/3))", "-2/(9*x^(5/3))"},
        {"|x-2|-1", "sgn(x-2)", "0"},
        {"arctan(x)", "1/(x^2+1)", "-2*x/(x^2+1)^2"},
        {"arccos(x)", "-1/sqrt(1-x^2)", "-x/sqrt(1-x^2)^3"},
        {"AMI(x;x^2)", "x+0.5", "1"},
        {"5", "0", "0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.f);
        const auto f = Converted(c.f);
        ASSERT_TRUE(f);
        const auto first = Derive(*f);
        ASSERT_TRUE(first);
        EXPECT_EQ(Narrow(ToMathematical(*first)), c.first);
        const auto second = Derive(*first);
        if (*c.second != '\0') {
            ASSERT_TRUE(second);
            EXPECT_EQ(Narrow(ToMathematical(*second)), c.second);
        }
    }
}

TEST(KznTree, RefusesWhatItCannotHoldFaithfully)
{
    const char *refused[] = {
        "FOO(x)",    "SIN(a)",      "SIN(x;2)",    "SIN()",         "SUM()", "AMI(1;2;)",
        "PRO(2x;1)", "SUM(x",       "SUM(x))",     "SUM(x)+1",      "x",     "SUM(-2*(x);1)",
        "SUM(+x;1)", "SUM(---x;1)", "SUM(1E;1)",   "sum(x;1)",      "",      "SUM((x);1)",
        "SUM(x;2)1", "SUM(x;SIN)",  "SUM(1..2;x)", "SUM(SIN(x)2;1)"};
    for (const char *text : refused)
        EXPECT_FALSE(ParseKzn(Wide(text))) << text;
    EXPECT_TRUE(ParseKzn(Nested(MaxKznTreeDepth)));
    EXPECT_FALSE(ParseKzn(Nested(MaxKznTreeDepth + 1)));
    EXPECT_FALSE(ParseKzn(Nested(MaxFormulaDepth)));
    // The chain rule makes a product of all 200 cosines: too deep to show.
    EXPECT_FALSE(Derive(*ParseKzn(Nested(MaxKznTreeDepth))));
    EXPECT_TRUE(Derive(*ParseKzn(Nested(20))));
}

TEST(MathPrinter, WritesTheBracketsTheConverterNeedsAndNoMore)
{
    const std::pair<const char *, const char *> cases[] = {
        {"-x^2", "-x^2"},
        {"(-x)^2", "(-x)^2"},
        {"2^-x", "2^(-x)"},
        {"x-(2-x)", "x-(2-x)"},
        {"x-2-x", "x-2-x"},
        {"x/(2x)", "x/(2*x)"},
        {"x/2*x", "x/2*x"},
        {"-x*2", "-x*2"},
        {"(-x)*2", "(-x)*2"},
        {"1--x", "1-(-x)"},
        {"(x^2)^3", "(x^2)^3"},
        {"2^(x^2)", "2^(x^2)"},
        {"sin(x)^2", "sin(x)^2"},
        {"||x|-1|*ln|x|", "||x|-1|*ln(|x|)"},
        {"SUM(x;;2)", "SUM(x;0;2)"},
        {"2,50*x+1E-7", "2.5*x+1E-7"},

    };
    for (const auto &[typed, printed] : cases)
        EXPECT_EQ(Narrow(ToMathematical(*Converted(typed))), printed) << typed;
}

// The converter is the reference of the printer: what it prints must convert to the formula.
TEST(MathPrinter, PrintedEquationsConvertBackToTheSameFormula)
{
    int printed = 0;
    for (uint64_t seed = 1; seed <= 4000; ++seed) {
        const std::string typed = EquationWriter(seed).sum(0);
        const EquationFormula converted = FormulaOfEquation(Wide(typed), Notation::Mathematical);
        if (converted.fault != EquationFault::None)
            continue;
        const auto tree = ParseKzn(converted.formula);
        ASSERT_TRUE(tree) << typed << " -> " << Narrow(converted.formula);
        ASSERT_EQ(ConvertedBack(*tree), Narrow(ToKzn(*tree)))
            << typed << " printed as " << Narrow(ToMathematical(*tree));
        ++printed;
    }
    EXPECT_GE(printed, 3000);
}

void Preorder(KznNode &node, std::vector<KznNode *> &nodes)
{
    nodes.push_back(&node);
    for (KznNode &argument : node.arguments)
        Preorder(argument, nodes);
}

bool DependsOnX(const KznNode &node)
{
    return node.kind == KznNode::Kind::X || std::ranges::any_of(node.arguments, DependsOnX);
}

// No value in the formula at x is huge or tiny, where doubles lose what the difference
// quotient needs; x^25000 is 0 only as it underflows.
bool Tame(KznNode tree, double x)
{
    std::vector<KznNode *> nodes;
    Preorder(tree, nodes);
    return std::ranges::all_of(nodes, [&](const KznNode *node) {
        const double value = std::fabs(EvaluateDouble(*node, x));
        return value < 1e8 && (value > 1e-8 || (value == 0 && !DependsOnX(*node)));
    });
}

// Where the derivative divides by 0 or overflows it has no value, as arcsin' has none at 1.
bool Singular(KznNode tree, double x)
{
    std::vector<KznNode *> nodes;
    Preorder(tree, nodes);
    return std::ranges::any_of(nodes, [&](const KznNode *node) {
        const bool division = node->kind == KznNode::Kind::Call
                              && node->keyword == KznNode::Keyword::Div
                              && EvaluateDouble(node->arguments.back(), x) == 0;
        return division || std::isinf(EvaluateDouble(*node, x));
    });
}

// f^g with f and g depending on x, which is derived through ln(f), as pupils do for f > 0.
bool HasGeneralPower(const KznNode &node)
{
    const auto &a = node.arguments;
    return (node.kind == KznNode::Kind::Call && node.keyword == KznNode::Keyword::Pot
            && a.size() > 1 && std::any_of(a.begin(), a.end() - 1, DependsOnX)
            && DependsOnX(a.back()))
           || std::ranges::any_of(a, HasGeneralPower);
}

// f' at x against difference quotients of f, where two step sizes agree (f is smooth there).
TEST(Derivative, AgreesWithDifferenceQuotientsAndPrintsExactly)
{
    int compared = 0;
    for (uint64_t seed = 1; seed <= 3000; ++seed) {
        const std::string typed = EquationWriter(seed).sum(0);
        const auto f = Converted(typed);
        if (!f)
            continue;
        const auto derived = Derive(*f);
        ASSERT_TRUE(derived) << typed;
        ASSERT_EQ(Simplify(*derived), *derived) << typed;
        ASSERT_EQ(ConvertedBack(*derived), Narrow(ToKzn(*derived))) << typed;
        test::SeededRandom random(seed);
        for (int i = 0; i < 4; ++i) {
            const double x = -3 + 6 * double(random.below(10000)) / 10000;
            const double h = 1e-4 * (1 + std::fabs(x));
            const auto quotient = [&](double step) {
                return (EvaluateDouble(*f, x + step) - EvaluateDouble(*f, x - step)) / (2 * step);
            };
            const double coarse = quotient(h), fine = quotient(h / 2);
            const double value = EvaluateDouble(*f, x);
            const double scale = 1 + std::fabs(fine) + std::fabs(value);
            if (!std::isfinite(coarse) || !std::isfinite(fine) || !Tame(*f, x)
                || std::fabs(coarse - fine) > 1e-5 * scale)
                continue;
            const double slope = EvaluateDouble(*derived, x);
            if (std::isnan(slope) && (HasGeneralPower(*f) || Singular(*derived, x)))
                continue;
            EXPECT_NEAR(slope, fine, 1e-4 * scale)
                << typed << " at " << x << ": " << Narrow(ToMathematical(*derived));
            EXPECT_NEAR(EvaluateDouble(Simplify(*f), x), value, 1e-9 * scale) << typed;
            ++compared;
        }
    }
    EXPECT_GE(compared, 2000);
}

// How far float evaluation may be off, to first order: what putting each value of the tree
// off by twice float's rounding does to the result, added up. Infinite where a value leaves
// the range of normal floats, whose precision is less.
double FloatErrorBound(const KznNode &tree, double x)
{
    const double value = EvaluateDouble(tree, x);
    double bound = 0;
    for (std::size_t i = 0;; ++i) {
        KznNode copy = tree; // wrapping a node frees what the pointers below it point to
        std::vector<KznNode *> nodes;
        Preorder(copy, nodes);
        if (i == nodes.size())
            return bound;
        const double own = std::fabs(EvaluateDouble(*nodes[i], x));
        if (own != 0 && !(own > 1e-30 && own < 1e30))
            return INFINITY;
        *nodes[i] = KznNode::call(KznNode::Keyword::Pro,
                                  {*nodes[i], KznNode::number(1 + std::ldexp(1.0, -23))});
        bound += std::fabs(EvaluateDouble(copy, x) - value);
    }
}

TEST(KznTree, RandomFormulasReadBackAndEvaluateLikeTheEngine)
{
    int compared = 0;
    for (uint64_t seed = 1; seed <= 4000; ++seed) {
        const std::u16string text = Wide(FormulaWriter(seed).call(0));
        const auto tree = ParseKzn(text);
        ASSERT_TRUE(tree) << Narrow(text);
        EXPECT_EQ(ParseKzn(ToKzn(*tree)), tree) << Narrow(text);
        for (const float x : {-2.5f, -0.75f, 0.0f, 0.5f, 1.25f, 3.0f}) {
            CalcError = 0;
            const float engine = CalcFormula(*ReplaceText(u'x', NumberText(x), text));
            const double value = EvaluateDouble(*tree, x);
            if (CalcError == -1 || !std::isfinite(engine) || !std::isfinite(value))
                continue;
            const double bound = FloatErrorBound(*tree, x);
            if (std::isnan(bound))
                continue; // next to the edge of a domain
            EXPECT_NEAR(engine, value, 1e-6 * (1 + std::fabs(value)) + 2 * bound)
                << Narrow(text) << " at " << x;
            ++compared;
        }
    }
    EXPECT_GE(compared, 8000);
}

} // namespace
} // namespace lw
