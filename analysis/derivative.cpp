// SPDX-License-Identifier: GPL-3.0-or-later

#include "derivative.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>
#include <utility>

namespace lw {

namespace {

using Keyword = KznNode::Keyword;
using Kind = KznNode::Kind;

KznNode number(double value)
{
    return KznNode::number(value);
}

KznNode call(Keyword keyword, std::vector<KznNode> arguments)
{
    return KznNode::call(keyword, std::move(arguments));
}

// The arguments moved in: a braced list would copy them, and with them whole subtrees.
template<typename... Nodes>
KznNode call(Keyword keyword, Nodes... arguments)
{
    std::vector<KznNode> list;
    list.reserve(sizeof...(arguments));
    (list.push_back(std::move(arguments)), ...);
    return KznNode::call(keyword, std::move(list));
}

KznNode negative(KznNode node)
{
    return call(Keyword::Dif, number(0), std::move(node));
}

bool isCall(const KznNode &node, Keyword keyword)
{
    return node.kind == Kind::Call && node.keyword == keyword;
}

// DIF(;u), and DIF(0;u) typed as such.
bool isSign(const KznNode &node)
{
    return isCall(node, Keyword::Dif) && node.arguments.size() == 2
           && node.arguments[0].kind == Kind::Number && node.arguments[0].value == 0;
}

bool isSum(const KznNode &node)
{
    return (isCall(node, Keyword::Sum) || isCall(node, Keyword::Dif)) && !isSign(node);
}

bool dependsOnX(const KznNode &node)
{
    return node.kind == Kind::X || std::ranges::any_of(node.arguments, dependsOnX);
}

// ---- Exact numbers ----------------------------------------------------------------------------

// Whole numbers below 2^53 are exact in a double, so a fraction of two of them is exact
// arithmetic until a product outgrows that; from there on it goes on as a plain double.
constexpr double ExactLimit = 9007199254740992.0;

struct Ratio {
    double num = 0;
    double den = 1;
    bool exact = true;
    double value() const { return num / den; }
    bool whole() const { return exact ? den == 1 : value() == std::trunc(value()); }
};

constexpr Ratio One{1, 1, true};

Ratio inexact(double value)
{
    return {value, 1, false};
}

// A rounded product or sum of whole numbers is 2^53 or more exactly when the exact one is.
bool fits(double value)
{
    return std::fabs(value) < ExactLimit;
}

Ratio reduced(double num, double den)
{
    if (!fits(num) || !fits(den) || den == 0)
        return inexact(num / den);
    if (den < 0) {
        num = -num;
        den = -den;
    }
    double a = std::fabs(num);
    for (double b = den; b != 0;)
        a = std::exchange(b, std::fmod(a, b));
    return a == 0 ? Ratio{0, 1, true} : Ratio{num / a, den / a, true};
}

// A product that leaves the double range is no number, so that it is not folded: beyond it,
// 0.001^1E20 alone would be 0 and its reciprocal infinite.
Ratio inexactProduct(double a, double b)
{
    const double product = a * b;
    const bool lost = product == 0 && a != 0 && b != 0;
    return inexact(lost || !std::isfinite(product) ? std::nan("") : product);
}

Ratio times(const Ratio &a, const Ratio &b)
{
    if (a.exact && b.exact)
        return reduced(a.num * b.num, a.den * b.den);
    return inexactProduct(a.value(), b.value());
}

Ratio plus(const Ratio &a, const Ratio &b)
{
    if (a.exact && b.exact && fits(a.num * b.den) && fits(b.num * a.den))
        return reduced(a.num * b.den + b.num * a.den, a.den * b.den);
    return inexact(a.value() + b.value());
}

Ratio negated(const Ratio &a)
{
    return {-a.num, a.den, a.exact};
}

Ratio magnitude(const Ratio &a)
{
    return a.value() < 0 ? negated(a) : a;
}

// a^n for a whole n; a is not 0 when n is negative.
Ratio raised(Ratio a, double n)
{
    if (std::fabs(n) > 1e6) {
        const double r = std::pow(a.value(), n);
        return inexact((r == 0 && a.value() != 0) || !std::isfinite(r) ? std::nan("") : r);
    }
    if (n < 0) {
        a = a.exact ? reduced(a.den, a.num) : inexact(1 / a.value());
        n = -n;
    }
    Ratio result = One;
    for (auto k = static_cast<long>(n); k > 0; k /= 2, a = times(a, a)) {
        if (k % 2 == 1)
            result = times(result, a);
    }
    return result;
}

// A number of a formula as the decimal it was written as: 0.1 is 1/10, not the double next to it.
Ratio ratioOf(double value)
{
    if (!std::isfinite(value))
        return inexact(value);
    std::array<char, 32> buffer{};
    const double size = std::fabs(value);
    const auto scientific = std::chars_format::scientific;
    const char *end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), size, scientific).ptr;
    // A double that needs all 17 digits is no decimal anyone wrote: 2·1E60 is 2E60, not
    // 2.0000000000000003E60. 15 digits are what a double surely holds.
    const std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    if (text.find('e') > 17)
        end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), size, scientific, 14).ptr;
    double digits = 0;
    int count = 0;
    const char *p = buffer.data();
    for (; p < end && *p != 'e'; ++p) {
        if (*p != '.') {
            digits = digits * 10 + (*p - '0');
            ++count;
        }
    }
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
    const int shift = exponent - (count - 1);
    if (shift > 15 || shift < -15) {
        double rounded = 0;
        std::from_chars(buffer.data(), end, rounded);
        return inexact(value < 0 ? -rounded : rounded);
    }
    double scale = 1;
    for (int k = 0; k < std::abs(shift); ++k)
        scale *= 10;
    const Ratio r = shift >= 0 ? reduced(digits * scale, 1) : reduced(digits, scale);
    return value < 0 ? negated(r) : r;
}

// A denominator of the form 2^a·5^b: the fraction is a decimal that ends.
bool isDecimal(double den)
{
    for (const double prime : {2.0, 5.0}) {
        while (den > 1 && std::fmod(den, prime) == 0)
            den /= prime;
    }
    return den == 1;
}

// A non-negative number as a pupil reads it: whole, a decimal that ends, or else a fraction.
KznNode ratioNode(const Ratio &r)
{
    if (r.exact && !isDecimal(r.den))
        return call(Keyword::Div, number(r.num), number(r.den));
    // With no more digits than it is read back with: 0.075·31.0062869370961 needs 17.
    return number(ratioOf(r.value()).value());
}

KznNode signedNode(const Ratio &r)
{
    return r.value() < 0 ? negative(ratioNode(negated(r))) : ratioNode(r);
}

// The value of a simplified constant: what ratioNode and signedNode write.
std::optional<Ratio> constantOf(const KznNode &node)
{
    if (node.kind == Kind::Number)
        return std::isfinite(node.value) ? std::optional(ratioOf(node.value)) : std::nullopt;
    if (isSign(node)) {
        const auto inner = constantOf(node.arguments[1]);
        return inner ? std::optional(negated(*inner)) : std::nullopt;
    }
    if (isCall(node, Keyword::Div) && node.arguments.size() == 2) {
        const auto a = constantOf(node.arguments[0]);
        const auto b = constantOf(node.arguments[1]);
        if (a && b && b->value() != 0)
            return times(*a, raised(*b, -1));
    }
    return std::nullopt;
}

// ---- Sums of products ---------------------------------------------------------------------

// base^exponent; the base is no number unless the exponent is no whole number or the power
// is beyond the double range, so that every coefficient is a finite number.
struct Factor {
    KznNode base;
    Ratio exponent;
};

struct Product {
    Ratio coefficient = One;
    std::vector<Factor> factors; // each base once
};

using Terms = std::vector<Product>;

// The simplified node; `alone` when it is the whole formula rather than a part of one, which
// only decides the order of a polynomial's terms.
KznNode simplified(const KznNode &node, bool alone);

void addFactor(Product &product, KznNode base, const Ratio &exponent)
{
    for (Factor &factor : product.factors) {
        if (factor.base == base) {
            factor.exponent = plus(factor.exponent, exponent);
            return;
        }
    }
    product.factors.push_back({std::move(base), exponent});
}

void dropPowersOfZero(Product &product)
{
    std::erase_if(product.factors, [](const Factor &f) { return f.exponent.value() == 0; });
}

KznNode simplifiedNumber(double value)
{
    if (std::signbit(value) && !std::isnan(value))
        return value == 0 ? number(0) : negative(number(-value));
    return number(value);
}

void multiplyInto(Product &product, const KznNode &node, const Ratio &power, bool done);

// A power: taken apart when its exponent is a number, else one factor.
void multiplyPower(Product &product, const KznNode &node, const Ratio &power, bool done)
{
    const std::vector<KznNode> &arguments = node.arguments;
    if (arguments.size() == 1)
        return multiplyInto(product, arguments[0], power, done);
    if (arguments.size() > 2) {
        // POT(a;b;c) is POT(POT(a;b);c).
        KznNode base = call(Keyword::Pot, {arguments.begin(), arguments.end() - 1});
        return multiplyInto(product, call(Keyword::Pot, std::move(base), arguments.back()), power,
                            done);
    }
    // (u^c)^n is u^(c·n) for a whole n, wherever the left side has a value; (x^2)^0.5 is no x.
    // Each part is simplified once only: twice at every level of x^(x^(...)) would double up.
    if (done) {
        const auto constant = constantOf(arguments[1]);
        if (constant && power.whole())
            return multiplyInto(product, arguments[0], times(*constant, power), true);
        return addFactor(product, node, power);
    }
    KznNode exponent = simplified(arguments[1], false);
    const auto constant = constantOf(exponent);
    if (constant && power.whole())
        return multiplyInto(product, arguments[0], times(*constant, power), false);
    KznNode base = simplified(arguments[0], false);
    if (constant)
        return multiplyInto(product, call(Keyword::Pot, std::move(base), std::move(exponent)),
                            power, true);
    if (const auto b = constantOf(base); b && b->value() == 1)
        return;
    addFactor(product, call(Keyword::Pot, std::move(base), std::move(exponent)), power);
}

// Takes a product, quotient, power or sign apart for a whole power; anything else is one factor.
bool multiplyWhole(Product &product, const KznNode &node, const Ratio &power, bool done)
{
    const std::vector<KznNode> &arguments = node.arguments;
    switch (node.keyword) {
    case Keyword::Pro:
        for (const KznNode &argument : arguments)
            multiplyInto(product, argument, power, done);
        return true;
    case Keyword::Div:
        multiplyInto(product, arguments[0], power, done);
        for (std::size_t i = 1; i < arguments.size(); ++i)
            multiplyInto(product, arguments[i], negated(power), done);
        return true;
    case Keyword::Ami:
        product.coefficient =
            times(product.coefficient,
                  raised(Ratio{1, static_cast<double>(arguments.size())}, power.value()));
        multiplyInto(product, call(Keyword::Sum, arguments), power, done);
        return true;
    case Keyword::Dif:
        if (!isSign(node))
            return false;
        if (std::fmod(power.value(), 2) != 0)
            product.coefficient = negated(product.coefficient);
        multiplyInto(product, arguments[1], power, done);
        return true;
    default: return false;
    }
}

void multiplyInto(Product &product, const KznNode &node, const Ratio &power, bool done)
{
    if (node.kind == Kind::Number) {
        const Ratio r = ratioOf(node.value);
        // 0^c is 0 and 1^c is 1 for any c > 0; other numbers only fold with a whole power.
        const bool folds = power.whole() ? !(r.num == 0 && power.value() < 0)
                                         : (r.num == 0 || r.value() == 1) && power.value() > 0;
        const Ratio folded =
            folds ? times(product.coefficient, power.whole() ? raised(r, power.value()) : r)
                  : inexact(std::nan(""));
        if (std::isfinite(folded.value()))
            product.coefficient = folded;
        else
            addFactor(product, simplifiedNumber(node.value), power);
        return;
    }
    if (node.kind == Kind::X || node.arguments.empty() || node.keyword == Keyword::Unknown)
        return addFactor(product, node, power);
    if (node.keyword == Keyword::Pot)
        return multiplyPower(product, node, power, done);
    if (power.whole() && multiplyWhole(product, node, power, done))
        return;
    if (done)
        return addFactor(product, node, power);
    // Simplified on its own, it may have become something to take apart: sin(0), 1 - (1 - x).
    multiplyInto(product, simplified(node, false), power, true);
}

void addInto(Terms &terms, const KznNode &node, const Ratio &coefficient, bool done);

Terms termsOf(const KznNode &sum)
{
    Terms terms;
    addInto(terms, sum, One, true);
    return terms;
}

bool isPolynomial(const Product &term)
{
    return term.factors.empty()
           || (term.factors.size() == 1 && term.factors[0].base.kind == Kind::X
               && term.factors[0].exponent.whole() && term.factors[0].exponent.value() > 0);
}

KznNode sumNode(Terms terms, bool alone);

// The power of `base` all terms share, at most `most`; 0 where one lacks it.
Ratio sharedPower(const Terms &terms, const KznNode &base, Ratio most)
{
    for (const Product &term : terms) {
        const auto f =
            std::ranges::find_if(term.factors, [&](const Factor &g) { return g.base == base; });
        if (f == term.factors.end() || f->exponent.value() <= 0)
            return {0, 1, true};
        if (f->exponent.value() < most.value())
            most = f->exponent;
    }
    return most;
}

void addProduct(Terms &terms, Product term);

// A power that came out whole once exponents were added is taken apart as any whole power:
// (x^3)^1.5·(x^3)^-2.5 is (x^3)^-1, and that is x^-3.
void takeApartWholePowers(Product &product)
{
    const auto apart = [&](const Factor &f) {
        const KznNode &b = f.base;
        const double e = f.exponent.value();
        const bool constantPower =
            isCall(b, Keyword::Pot) && b.arguments.size() == 2 && constantOf(b.arguments[1]);
        // A number stays a factor where folding it in would leave the double range.
        const bool folds =
            b.kind == Kind::Number && std::isfinite(b.value) && !(b.value == 0 && e < 0)
            && std::isfinite(times(product.coefficient, raised(ratioOf(b.value), e)).value());
        return f.exponent.whole() && e != 0
               && (folds || constantPower || isSign(b) || isCall(b, Keyword::Pro)
                   || isCall(b, Keyword::Div));
    };
    for (auto f = std::ranges::find_if(product.factors, apart); f != product.factors.end();
         f = std::ranges::find_if(product.factors, apart)) {
        const Factor factor = std::move(*f);
        product.factors.erase(f);
        multiplyInto(product, factor.base, factor.exponent, true);
    }
}

// x·(...)/x^4 is (...)/x^3: a power every term above the bar shares cancels against the same
// base below it, as pupils cancel after the quotient rule. True when the product changed.
bool cancelOnce(Product &product)
{
    for (std::size_t i = 0; i < product.factors.size(); ++i) {
        if (!isSum(product.factors[i].base) || product.factors[i].exponent.value() != 1)
            continue;
        Terms above = termsOf(product.factors[i].base);
        bool changed = false;
        for (Factor &below : product.factors) {
            const Ratio shared = below.exponent.value() < 0
                                     ? sharedPower(above, below.base, negated(below.exponent))
                                     : Ratio{0, 1, true};
            if (shared.value() == 0)
                continue;
            for (Product &term : above)
                addFactor(term, below.base, negated(shared));
            below.exponent = plus(below.exponent, shared);
            changed = true;
        }
        if (!changed)
            continue;
        Terms rest;
        for (Product &term : above) {
            takeApartWholePowers(term);
            dropPowersOfZero(term);
            addProduct(rest, std::move(term));
        }
        const KznNode sum = sumNode(std::move(rest), false);
        product.factors.erase(product.factors.begin() + static_cast<std::ptrdiff_t>(i));
        multiplyInto(product, sum, One, true);
        dropPowersOfZero(product);
        return true;
    }
    return false;
}

Product productOf(const KznNode &node, bool done)
{
    Product product;
    multiplyInto(product, node, One, done);
    takeApartWholePowers(product);
    dropPowersOfZero(product);
    // A simplified product has been cancelled already; doing it again for every product in a
    // sum that is taken apart once more would go down all the brackets inside it again.
    const bool below = std::ranges::any_of(product.factors,
                                           [](const Factor &f) { return f.exponent.value() < 0; });
    for (int round = 0; !done && below && round < 4 && cancelOnce(product); ++round) {
        takeApartWholePowers(product);
        dropPowersOfZero(product);
    }
    return product;
}

bool sameFactors(const Product &a, const Product &b)
{
    return a.factors.size() == b.factors.size()
           && std::ranges::all_of(a.factors, [&](const Factor &f) {
                  return std::ranges::any_of(b.factors, [&](const Factor &g) {
                      return g.base == f.base && g.exponent.value() == f.exponent.value();
                  });
              });
}

void addTerm(Terms &terms, Product term)
{
    if (term.coefficient.value() == 0)
        return;
    for (Product &other : terms) {
        if (!sameFactors(other, term))
            continue;
        const Ratio sum = plus(other.coefficient, term.coefficient);
        if (std::isfinite(sum.value())) {
            other.coefficient = sum;
            return;
        }
    }
    terms.push_back(std::move(term));
}

// Added anew, as the sign decides what is multiplied out and where a sign goes.
Terms negatedTerms(Terms terms)
{
    Terms result;
    for (Product &term : terms) {
        term.coefficient = negated(term.coefficient);
        addProduct(result, std::move(term));
    }
    return result;
}

// What sumNode writes for a polynomial, told from its shape: taking every bracket apart only to
// look would take apart the brackets inside it too, over and over.
bool isPolynomialNode(const KznNode &node)
{
    const auto &a = node.arguments;
    if (node.kind != Kind::Call)
        return true;
    switch (node.keyword) {
    case Keyword::Sum:
    case Keyword::Dif:
    case Keyword::Pro: return std::ranges::all_of(a, isPolynomialNode);
    case Keyword::Div: return a.size() == 2 && isPolynomialNode(a[0]) && a[1].kind == Kind::Number;
    case Keyword::Pot:
        return a.size() == 2 && a[0].kind == Kind::X && a[1].kind == Kind::Number
               && a[1].value == std::trunc(a[1].value) && a[1].value > 0;
    default: return false;
    }
}

// A sum as sumNode writes it subtracts where it has a negative term.
bool hasNegativeTerm(const KznNode &sum)
{
    return isCall(sum, Keyword::Dif)
           || (isCall(sum, Keyword::Sum) && std::ranges::any_of(sum.arguments, hasNegativeTerm));
}

// -(4 - 12x^2)/(x^2 + 1)^3 as (12x^2 - 4)/(x^2 + 1)^3; -(x + 1)/x stays as it is.
void signIntoBracket(Product &term)
{
    if (term.coefficient.value() >= 0)
        return;
    for (Factor &f : term.factors) {
        if (!isSum(f.base) || f.exponent.value() != 1)
            continue;
        if (!hasNegativeTerm(f.base))
            return;
        f.base = sumNode(negatedTerms(termsOf(f.base)), false);
        term.coefficient = negated(term.coefficient);
        return;
    }
}

// Brackets are multiplied out where a pupil would: -(1-x), 2(x+1), 2x(x^2+1), (x+1)(x-1),
// but not 2x(1-ln(x)) nor (x+1)·e^x, and no power of a bracket.
void addProduct(Terms &terms, Product term)
{
    const auto isBracket = [](const Factor &f) {
        return isSum(f.base) && f.exponent.value() == 1;
    };
    const auto isPowerOfX = [](const Factor &f) {
        return f.base.kind == Kind::X && f.exponent.whole() && f.exponent.value() > 0;
    };
    const auto bracket = std::ranges::find_if(term.factors, isBracket);
    const bool alone = term.factors.size() == 1;
    const bool multiplied =
        bracket != term.factors.end() && std::ranges::all_of(term.factors, [&](const Factor &f) {
            return (isBracket(f) && (alone || isPolynomialNode(f.base))) || isPowerOfX(f);
        });
    if (!multiplied) {
        signIntoBracket(term);
        return addTerm(terms, std::move(term));
    }
    Terms inner = termsOf(bracket->base);
    if (!std::ranges::all_of(inner, [&](const Product &part) {
            return std::isfinite(times(part.coefficient, term.coefficient).value());
        }))
        return addTerm(terms, std::move(term));
    term.factors.erase(bracket);
    for (Product &part : inner) {
        part.coefficient = times(part.coefficient, term.coefficient);
        for (const Factor &f : term.factors)
            addFactor(part, f.base, f.exponent);
        dropPowersOfZero(part);
        addProduct(terms, std::move(part));
    }
}

void addInto(Terms &terms, const KznNode &node, const Ratio &coefficient, bool done)
{
    if (isCall(node, Keyword::Sum) || isCall(node, Keyword::Dif)) {
        for (std::size_t i = 0; i < node.arguments.size(); ++i) {
            const bool subtracted = i > 0 && node.keyword == Keyword::Dif;
            addInto(terms, node.arguments[i], subtracted ? negated(coefficient) : coefficient,
                    done);
        }
        return;
    }
    Product term = productOf(node, done);
    term.coefficient = times(term.coefficient, coefficient);
    addProduct(terms, std::move(term));
}

// ---- Written back -----------------------------------------------------------------------------

KznNode chain(Keyword keyword, std::vector<KznNode> nodes)
{
    KznNode result = std::move(nodes.front());
    for (std::size_t i = 1; i < nodes.size(); ++i)
        result = call(keyword, std::move(result), std::move(nodes[i]));
    return result;
}

// The factor with the magnitude of its exponent: the sign says above or below the fraction bar.
KznNode factorNode(Factor factor)
{
    const Ratio exponent = magnitude(factor.exponent);
    if (exponent.value() == 1)
        return std::move(factor.base);
    return call(Keyword::Pot, std::move(factor.base), ratioNode(exponent));
}

struct Signed {
    bool negative = false;
    KznNode magnitude;
};

Signed productNode(Product product)
{
    // Written and read again, a double may turn out a decimal: the form must not depend on that.
    const Ratio c = magnitude(product.coefficient.exact ? product.coefficient
                                                        : ratioOf(product.coefficient.value()));
    if (c.value() == 0)
        return {false, number(0)};
    std::vector<KznNode> top;
    std::vector<KznNode> bottom;
    const bool below = std::ranges::any_of(product.factors,
                                           [](const Factor &f) { return f.exponent.value() < 0; });
    // 1/(2·sqrt(x)) and x/3, but 0.5·x.
    if (c.exact && c.den != 1 && (!isDecimal(c.den) || (below && c.den <= 1000))) {
        if (c.num != 1)
            top.push_back(number(c.num));
        bottom.push_back(number(c.den));
    } else if (c.value() != 1) {
        top.push_back(ratioNode(c));
    }
    // Powers of x first: 2x·sin(x), not 2sin(x)·x.
    for (const bool ofX : {true, false}) {
        for (Factor &factor : product.factors) {
            if ((factor.base.kind == Kind::X) == ofX)
                (factor.exponent.value() > 0 ? top : bottom)
                    .push_back(factorNode(std::move(factor)));
        }
    }
    if (top.empty())
        top.push_back(number(1));
    KznNode result = chain(Keyword::Pro, std::move(top));
    if (!bottom.empty())
        result = call(Keyword::Div, std::move(result), chain(Keyword::Pro, std::move(bottom)));
    return {product.coefficient.value() < 0, std::move(result)};
}

bool isExponential(const KznNode &node)
{
    return isCall(node, Keyword::Exp)
           || (isCall(node, Keyword::Pot) && dependsOnX(node.arguments.back()));
}

// (1 - x)·e^(-x) rather than e^(-x) - x·e^(-x): the form pupils get from the product rule.
// The power of an exponential function that all terms share is taken out.
std::optional<KznNode> takeOutExponential(const Terms &terms)
{
    for (const Factor &candidate : terms.front().factors) {
        if (!isExponential(candidate.base) || candidate.exponent.value() <= 0)
            continue;
        const Ratio shared = sharedPower(terms, candidate.base, candidate.exponent);
        if (shared.value() == 0)
            continue;
        Terms inner;
        for (Product term : terms) {
            addFactor(term, candidate.base, negated(shared));
            dropPowersOfZero(term);
            addProduct(inner, std::move(term));
        }
        const bool allNegative = std::ranges::all_of(
            inner, [](const Product &term) { return term.coefficient.value() < 0; });
        if (allNegative)
            inner = negatedTerms(std::move(inner));
        // Written as a product, as it would be read again: -e^x + (1 - x)·e^x is -x·e^x.
        Product result;
        multiplyInto(result, sumNode(std::move(inner), false), One, true);
        addFactor(result, candidate.base, shared);
        if (allNegative)
            result.coefficient = negated(result.coefficient);
        Signed written = productNode(std::move(result));
        return written.negative ? negative(std::move(written.magnitude)) : written.magnitude;
    }
    return std::nullopt;
}

// A polynomial in falling powers of x; standing alone it may begin with a minus, -2x + 1, as
// a pupil writes f'(x); in brackets and other sums a positive term goes first: (1 - x), 1 - ln(x).
KznNode sumNode(Terms terms, bool alone)
{
    std::erase_if(terms, [](const Product &term) { return term.coefficient.value() == 0; });
    if (terms.empty())
        return number(0);
    if (terms.size() > 1) {
        if (auto factored = takeOutExponential(terms))
            return std::move(*factored);
    }
    const bool polynomial = std::ranges::all_of(terms, isPolynomial);
    if (polynomial) {
        const auto degree = [](const Product &term) {
            return term.factors.empty() ? 0.0 : term.factors[0].exponent.value();
        };
        std::ranges::stable_sort(terms, std::ranges::greater(), degree);
    }
    const auto positive = std::ranges::find_if(
        terms, [](const Product &term) { return term.coefficient.value() > 0; });
    if (positive != terms.end() && !(alone && polynomial))
        std::rotate(terms.begin(), positive, positive + 1);
    KznNode result;
    for (std::size_t i = 0; i < terms.size(); ++i) {
        Signed term = productNode(std::move(terms[i]));
        if (i == 0)
            result =
                term.negative ? negative(std::move(term.magnitude)) : std::move(term.magnitude);
        else
            result = call(term.negative ? Keyword::Dif : Keyword::Sum, std::move(result),
                          std::move(term.magnitude));
    }
    return result;
}

bool isFinite(const Terms &terms)
{
    return std::ranges::all_of(terms, [](const Product &term) {
        return std::isfinite(term.coefficient.value())
               && std::ranges::all_of(
                   term.factors, [](const Factor &f) { return std::isfinite(f.exponent.value()); });
    });
}

bool isPerfectSquare(double n)
{
    const double root = std::round(std::sqrt(n));
    return root * root == n;
}

// The value of a function of a number where a pupil knows it exactly: sin(0), ln(1), sqrt(9/4).
std::optional<KznNode> functionValue(Keyword keyword, const Ratio &c)
{
    const double v = c.value();
    switch (keyword) {
    case Keyword::Abs: return ratioNode(magnitude(c));
    case Keyword::Sgn: return signedNode({v > 0 ? 1.0 : v < 0 ? -1.0 : 0.0, 1, true});
    case Keyword::Sqr:
        if (c.exact && v >= 0 && isPerfectSquare(c.num) && isPerfectSquare(c.den))
            return ratioNode({std::sqrt(c.num), std::sqrt(c.den), true});
        break;
    case Keyword::Sin:
    case Keyword::Tan:
    case Keyword::Asn:
    case Keyword::Atn:
        if (v == 0)
            return number(0);
        break;
    case Keyword::Cos:
    case Keyword::Exp:
        if (v == 0)
            return number(1);
        break;
    case Keyword::Lgn:
    case Keyword::Lgd:
    case Keyword::Acs:
        if (v == 1)
            return number(0);
        break;
    default: break;
    }
    return std::nullopt;
}

// The arguments simplified into a new call: neither this nor anything it calls copies the node
// it is given, as a copy at every level of a deep formula would add up to its square.
KznNode withSimplifiedArguments(const KznNode &node)
{
    std::vector<KznNode> arguments;
    arguments.reserve(node.arguments.size());
    for (const KznNode &argument : node.arguments)
        arguments.push_back(simplified(argument, false));
    return call(node.keyword, std::move(arguments));
}

KznNode simplifyFunction(const KznNode &node)
{
    KznNode result = withSimplifiedArguments(node);
    if (result.arguments.size() != 1)
        return result;
    KznNode &u = result.arguments[0];
    if (isCall(result, Keyword::Abs) && isSign(u))
        u = KznNode(std::move(u.arguments[1])); // |-u| = |u|
    if (const auto constant = constantOf(u)) {
        if (auto value = functionValue(result.keyword, *constant))
            return std::move(*value);
    }
    return result;
}

KznNode simplified(const KznNode &node, bool alone)
{
    if (node.kind == Kind::X)
        return node;
    if (node.kind == Kind::Number)
        return simplifiedNumber(node.value);
    if (node.keyword == Keyword::Unknown)
        return node;
    if (node.arguments.empty())
        return number(0); // what the engine leaves in its accumulator
    if (IsFunctionKeyword(node.keyword))
        return simplifyFunction(node);
    Terms terms;
    addInto(terms, node, One, false);
    if (isFinite(terms))
        return sumNode(std::move(terms), alone);
    return withSimplifiedArguments(node); // numbers beyond the double range, left as written
}

// ---- Derivatives ------------------------------------------------------------------------------

// The rules of differentiation, unsimplified. Counts the nodes it makes, so that a formula whose
// derivative explodes is given up early instead of filling the memory.
class Deriver {
public:
    bool failed() const { return m_failed; }

    KznNode derive(const KznNode &node)
    {
        if (m_failed || !dependsOnX(node))
            return number(0);
        if (node.kind == Kind::X)
            return number(1);
        const std::vector<KznNode> &a = node.arguments;
        switch (node.keyword) {
        case Keyword::Sum:
        case Keyword::Dif: {
            std::vector<KznNode> derived;
            for (const KznNode &argument : a)
                derived.push_back(derive(argument));
            return call(node.keyword, std::move(derived));
        }
        case Keyword::Ami:
            return call(Keyword::Div, derive(call(Keyword::Sum, a)), number(double(a.size())));
        case Keyword::Pro: return productRule(a);
        case Keyword::Div:
            if (a.size() <= 2)
                return a.size() == 1 ? derive(a[0]) : quotient(a[0], a[1]);
            return quotient(a[0], call(Keyword::Pro, {a.begin() + 1, a.end()}));
        case Keyword::Pot:
            if (a.size() <= 2)
                return a.size() == 1 ? derive(a[0]) : power(a[0], a[1]);
            return power(call(Keyword::Pot, {a.begin(), a.end() - 1}), a.back());
        case Keyword::Unknown: m_failed = true; return number(0);
        default: return outer(node.keyword, a.back()); // a function's value is that of its last
        }
    }

private:
    KznNode copy(const KznNode &node)
    {
        m_nodes += size(node);
        m_failed = m_failed || m_nodes > MaxDerivativeNodes;
        return node;
    }

    static std::size_t size(const KznNode &node)
    {
        std::size_t n = 1;
        for (const KznNode &argument : node.arguments)
            n += size(argument);
        return n;
    }

    KznNode productRule(const std::vector<KznNode> &factors)
    {
        std::vector<KznNode> terms;
        for (std::size_t i = 0; i < factors.size(); ++i) {
            if (!dependsOnX(factors[i]))
                continue;
            std::vector<KznNode> term;
            for (std::size_t k = 0; k < factors.size(); ++k)
                term.push_back(k == i ? derive(factors[k]) : copy(factors[k]));
            terms.push_back(call(Keyword::Pro, std::move(term)));
        }
        return call(Keyword::Sum, std::move(terms));
    }

    KznNode quotient(const KznNode &u, const KznNode &v)
    {
        if (!dependsOnX(v))
            return call(Keyword::Div, derive(u), copy(v));
        // (u/w^n)' = (u'·w - n·u·w')/w^(n+1): the power below the bar is not squared first only
        // to be cancelled again.
        if (isCall(v, Keyword::Pot) && v.arguments.size() == 2 && !dependsOnX(v.arguments[1])) {
            const KznNode &w = v.arguments[0];
            const KznNode &n = v.arguments[1];
            KznNode left = call(Keyword::Pro, derive(u), copy(w));
            KznNode right = call(Keyword::Pro, copy(n), copy(u), derive(w));
            return call(Keyword::Div, call(Keyword::Dif, std::move(left), std::move(right)),
                        call(Keyword::Pot, copy(w), call(Keyword::Sum, copy(n), number(1))));
        }
        KznNode square = call(Keyword::Pot, copy(v), number(2));
        KznNode right = call(Keyword::Pro, copy(u), derive(v));
        if (!dependsOnX(u))
            return negative(call(Keyword::Div, std::move(right), std::move(square)));
        KznNode left = call(Keyword::Pro, derive(u), copy(v));
        return call(Keyword::Div, call(Keyword::Dif, std::move(left), std::move(right)),
                    std::move(square));
    }

    KznNode power(const KznNode &f, const KznNode &g)
    {
        if (!dependsOnX(g)) { // n·f^(n-1)·f'
            KznNode lowered = call(Keyword::Pot, copy(f), call(Keyword::Dif, copy(g), number(1)));
            return call(Keyword::Pro, copy(g), std::move(lowered), derive(f));
        }
        // 0^g is 0 wherever it is differentiable; ln(0) would make it no value.
        if (!dependsOnX(f) && EvaluateDouble(f, 0) == 0)
            return number(0);
        KznNode self = call(Keyword::Pot, copy(f), copy(g));
        KznNode logarithm = call(Keyword::Lgn, copy(f));
        if (!dependsOnX(f)) // a^g·ln(a)·g'
            return call(Keyword::Pro, std::move(self), std::move(logarithm), derive(g));
        // f^g·(g'·ln(f) + g·f'/f)
        KznNode inner = call(Keyword::Sum, call(Keyword::Pro, derive(g), std::move(logarithm)),
                             call(Keyword::Div, call(Keyword::Pro, copy(g), derive(f)), copy(f)));
        return call(Keyword::Pro, std::move(self), std::move(inner));
    }

    // 1 - u², under the roots of arcsin' and arccos'.
    KznNode oneMinusSquare(const KznNode &u)
    {
        return call(Keyword::Sqr,
                    call(Keyword::Dif, number(1), call(Keyword::Pot, copy(u), number(2))));
    }

    // The chain rule: the outer derivative at u times u'.
    KznNode outer(Keyword keyword, const KznNode &u)
    {
        KznNode inner = derive(u);
        const auto over = [&](KznNode below) {
            return call(Keyword::Div, std::move(inner), std::move(below));
        };
        const auto times = [&](KznNode factor) {
            return call(Keyword::Pro, std::move(factor), std::move(inner));
        };
        switch (keyword) {
        case Keyword::Sqr: return over(call(Keyword::Pro, number(2), call(Keyword::Sqr, copy(u))));
        case Keyword::Sin: return times(call(Keyword::Cos, copy(u)));
        case Keyword::Cos: return negative(times(call(Keyword::Sin, copy(u))));
        case Keyword::Tan: return over(call(Keyword::Pot, call(Keyword::Cos, copy(u)), number(2)));
        case Keyword::Abs: return times(call(Keyword::Sgn, copy(u)));
        case Keyword::Exp: return times(call(Keyword::Exp, copy(u)));
        case Keyword::Lgn: return over(copy(u));
        case Keyword::Lgd: return over(call(Keyword::Pro, copy(u), call(Keyword::Lgn, number(10))));
        case Keyword::Asn: return over(oneMinusSquare(u));
        case Keyword::Acs: return negative(over(oneMinusSquare(u)));
        case Keyword::Atn:
            return over(call(Keyword::Sum, number(1), call(Keyword::Pot, copy(u), number(2))));
        default: return number(0); // sgn is constant wherever it is differentiable
        }
    }

    std::size_t m_nodes = 0;
    bool m_failed = false;
};

} // namespace

std::optional<KznNode> Derive(const KznNode &node)
{
    if (KznTreeDepth(node) > MaxKznTreeDepth)
        return std::nullopt;
    Deriver deriver;
    // Simplified first, what only looks like it depends on x does not: sqrt(0·x)^x is 0^x, and the
    // rule for f^g would take ln(f) of it.
    KznNode derived = deriver.derive(simplified(node, true));
    if (deriver.failed())
        return std::nullopt;
    derived = Simplify(std::move(derived));
    if (KznTreeDepth(derived) > MaxKznTreeDepth)
        return std::nullopt;
    return derived;
}

KznNode Simplify(const KznNode &node)
{
    // A pass may leave something for the next to find, as when a factor taken out of a sum
    // leaves brackets that cancel; a few passes settle it.
    KznNode result = simplified(node, true);
    for (int pass = 0; pass < 3; ++pass) {
        KznNode again = simplified(result, true);
        if (again == result)
            break;
        result = std::move(again);
    }
    return result;
}

} // namespace lw
