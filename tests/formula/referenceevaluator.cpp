// SPDX-License-Identifier: GPL-3.0-or-later
// The reference value of a generated term: evaluated in double precision, with a bound on how far
// a float evaluation of the same term may lie from it.

#include "referenceterm.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

namespace lw::test {
namespace {

// Four times float's unit roundoff, so that libm's last bit never decides a comparison.
constexpr double RoundingUnit = 0x1p-22;
constexpr double SmallestFloat = 0x1p-149;
constexpr double FloatLimit = 3.4028234663852886e38;

using Outcome = Reference::Outcome;

struct Bounded {
    double value = 0;
    double bound = 0; // 0: exactly the float the evaluation holds
};

class ReferenceEvaluator {
public:
    ReferenceEvaluator(std::string_view text, double x) : text(text), x(x) {}

    Reference run()
    {
        const Bounded result = sum();
        if (running() && pos != text.size())
            stop(Outcome::Malformed, "unexpected '" + std::string(1, text[pos]) + "'");
        if (running()) {
            reference.value = result.value;
            reference.bound = result.bound;
        }
        return reference;
    }

private:
    bool running() const { return reference.outcome == Outcome::Value; }
    char peek() const { return pos < text.size() ? text[pos] : '\0'; }

    Bounded stop(Outcome outcome, std::string why)
    {
        if (running()) {
            reference.outcome = outcome;
            reference.why = std::move(why);
        }
        return {};
    }
    Bounded fault(std::string why) { return stop(Outcome::Fault, std::move(why)); }
    Bounded unclear(std::string why) { return stop(Outcome::Unclear, std::move(why)); }

    // sum := product (('+' | '-') product)*
    Bounded sum()
    {
        return leftToRight(
            "+-", &ReferenceEvaluator::product,
            [this](Bounded a, char op, Bounded b) { return add(a, op == '+' ? b : negate(b)); });
    }

    // product := signed (('*' | '/') signed)*
    Bounded product()
    {
        return leftToRight("*/", &ReferenceEvaluator::signedPower,
                           [this](Bounded a, char op, Bounded b) {
                               return op == '*' ? multiply(a, b) : divide(a, b);
                           });
    }

    // signed := ('+' | '-')? power
    Bounded signedPower()
    {
        const bool negative = takeSign();
        const Bounded value = powerChain();
        return negative ? negate(value) : value;
    }

    // power := primary ('^' ('+' | '-')? primary)*
    Bounded powerChain()
    {
        Bounded acc = primary();
        while (running() && peek() == '^') {
            ++pos;
            const bool negative = takeSign();
            const Bounded exponent = primary();
            if (running())
                acc = power(acc, negative ? negate(exponent) : exponent);
        }
        return acc;
    }

    // operand (OPERATOR operand)*, combined from the left.
    template<typename Combine>
    Bounded leftToRight(std::string_view operators, Bounded (ReferenceEvaluator::*operand)(),
                        Combine combine)
    {
        Bounded acc = (this->*operand)();
        while (running() && operators.find(peek()) != std::string_view::npos) {
            const char op = text[pos++];
            const Bounded rhs = (this->*operand)();
            if (running())
                acc = combine(acc, op, rhs);
        }
        return acc;
    }

    // Skips a '+' or '-'; true for a '-'.
    bool takeSign()
    {
        const char sign = peek();
        if (sign == '+' || sign == '-')
            ++pos;
        return sign == '-';
    }

    // primary := number | 'x' | '(' sum ')' | NAME '(' sum ')'
    Bounded primary()
    {
        const char c = peek();
        if (c == 'x') {
            ++pos;
            return {x, 0};
        }
        if ((c >= '0' && c <= '9') || c == '.')
            return number();
        std::string name;
        if (c >= 'A' && c <= 'Z') {
            name = std::string(text.substr(pos, 3));
            pos += name.size();
        }
        if (peek() != '(')
            return stop(Outcome::Malformed, "operand missing at " + std::to_string(pos));
        ++pos;
        const Bounded inner = sum();
        if (running() && peek() != ')')
            return stop(Outcome::Malformed, "')' missing at " + std::to_string(pos));
        ++pos;
        return running() ? call(name, inner) : Bounded{};
    }

    Bounded number()
    {
        const std::size_t start = pos;
        while ((peek() >= '0' && peek() <= '9') || peek() == '.')
            ++pos;
        double value = 0;
        const char *first = text.data() + start;
        const auto [end, ec] = std::from_chars(first, text.data() + pos, value);
        if (ec != std::errc() || end != text.data() + pos)
            return stop(Outcome::Malformed, "bad number at " + std::to_string(start));
        const bool exact = double(float(value)) == value;
        return {value, exact ? 0 : std::abs(value) * RoundingUnit};
    }

    Bounded call(const std::string &name, Bounded arg)
    {
        const bool exact = arg.bound == 0;
        if (name.empty())
            return arg;
        if (name == "ABS")
            return {std::abs(arg.value), arg.bound};
        if (name == "SIN")
            return rounded(std::sin(arg.value), std::min(arg.bound, 2.0), exact);
        if (name == "COS")
            return rounded(std::cos(arg.value), std::min(arg.bound, 2.0), exact);
        if (name == "SQR") {
            if (!exact && std::abs(arg.value) <= arg.bound)
                return unclear("square root of a value near zero");
            if (arg.value < 0)
                return fault("square root of a negative value");
            const double root = std::sqrt(arg.value);
            return rounded(root, exact ? 0 : arg.bound / root, exact);
        }
        return stop(Outcome::Malformed, "unknown call " + name);
    }

    static Bounded negate(Bounded a) { return {-a.value, a.bound}; }

    Bounded add(Bounded a, Bounded b)
    {
        return rounded(a.value + b.value, a.bound + b.bound, a.bound == 0 && b.bound == 0);
    }

    Bounded multiply(Bounded a, Bounded b)
    {
        const double bound =
            std::abs(a.value) * b.bound + std::abs(b.value) * a.bound + a.bound * b.bound;
        return rounded(a.value * b.value, bound, a.bound == 0 && b.bound == 0);
    }

    Bounded divide(Bounded a, Bounded b)
    {
        if (b.bound > 0 && std::abs(b.value) <= b.bound)
            return unclear("divisor near zero");
        if (b.value == 0)
            return fault("division by zero");
        const double quotient = a.value / b.value;
        const double bound =
            (a.bound + std::abs(quotient) * b.bound) / (std::abs(b.value) - b.bound);
        return rounded(quotient, bound, a.bound == 0 && b.bound == 0);
    }

    Bounded power(Bounded base, Bounded exponent)
    {
        const double a = base.value;
        const double b = exponent.value;
        if (base.bound == 0 && a == 0) {
            if (exponent.bound > 0 && std::abs(b) <= exponent.bound)
                return unclear("zero to an exponent near zero");
            if (b < 0)
                return fault("zero to a negative power");
            return {b == 0 ? 1.0 : 0.0, 0};
        }
        if (std::abs(a) <= base.bound)
            return unclear("power base near zero");
        if (a < 0 && b != std::round(b)) {
            if (std::abs(b - std::round(b)) > exponent.bound)
                return fault("negative base to a fractional power");
            return unclear("negative base, exponent near an integer");
        }
        if (a < 0 && exponent.bound > 0)
            return unclear("negative base, exponent not exactly integral");
        // Bounds the change of b * ln|a| over both operand intervals.
        const double baseDrift = base.bound > 0 ? -std::log1p(-base.bound / std::abs(a)) : 0;
        const double drift = std::abs(b) * baseDrift
                             + exponent.bound * (std::abs(std::log(std::abs(a))) + baseDrift);
        if (drift > 1)
            return unclear("power too sensitive to its operands");
        const double result = std::pow(a, b);
        const double bound = drift > 0 ? std::abs(result) * std::expm1(drift) : 0;
        return rounded(result, bound, base.bound == 0 && exponent.bound == 0);
    }

    // Every step of the float evaluation rounds its result and fails beyond the float range.
    Bounded rounded(double result, double bound, bool exactOperands)
    {
        if (!std::isfinite(result))
            return fault("not a finite number");
        if (!std::isfinite(bound))
            return unclear("unbounded rounding error");
        const bool exact =
            exactOperands && std::abs(result) <= FloatLimit && double(float(result)) == result;
        if (!exact)
            bound += std::abs(result) * RoundingUnit + SmallestFloat;
        if (std::abs(std::abs(result) - FloatLimit) <= bound + FloatLimit * RoundingUnit)
            return unclear("result near the float limit");
        if (std::abs(result) > FloatLimit)
            return fault("beyond the float range");
        return {result, bound};
    }

    std::string_view text;
    double x;
    std::size_t pos = 0;
    Reference reference;
};

} // namespace

Reference EvaluateReference(std::string_view term, double x)
{
    return ReferenceEvaluator(term, x).run();
}

std::string OutcomeText(const Reference &reference)
{
    std::ostringstream out;
    out.precision(9);
    switch (reference.outcome) {
    case Outcome::Value: out << reference.value << " +/- " << reference.bound; break;
    case Outcome::Fault: out << "fault (" << reference.why << ")"; break;
    case Outcome::Unclear: out << "unclear (" << reference.why << ")"; break;
    case Outcome::Malformed: out << "malformed term (" << reference.why << ")"; break;
    }
    return out.str();
}

} // namespace lw::test
