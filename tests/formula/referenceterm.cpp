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
constexpr int MaxDepth = 3;

class TermGenerator {
public:
    explicit TermGenerator(uint64_t seed) : state(seed) {}

    Term chain(int depth)
    {
        const int count = 1 + below(depth == 0 ? 4 : 3);
        Term term(count);
        for (int i = 0; i < count; ++i) {
            TermItem &item = term[i];
            item.op = i == 0 ? 0 : binaryOperator();
            if (chance(20))
                item.sign = chance(30) ? '+' : '-';
            item.operand = item.op == '^' ? exponent(depth) : operand(depth);
        }
        return term;
    }

private:
    // splitmix64: the same terms on every platform and standard library.
    uint64_t next()
    {
        uint64_t z = (state += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % uint64_t(n)); }
    bool chance(int percent) { return below(100) < percent; }

    char binaryOperator()
    {
        static constexpr std::string_view operators = "+++---***//^^";
        return operators[below(int(operators.size()))];
    }

    TermOperand operand(int depth)
    {
        using Kind = TermOperand::Kind;
        if (depth < MaxDepth) {
            const int pick = below(100);
            if (pick < 20)
                return {Kind::Group, {}, chain(depth + 1)};
            if (pick < 35) {
                static constexpr const char *names[] = {"SIN", "COS", "SQR", "ABS"};
                return {Kind::Call, names[below(4)], chain(depth + 1)};
            }
        }
        if (chance(50))
            return {Kind::Variable, "x", {}};
        return {Kind::Number, number(), {}};
    }

    // Mostly small constant exponents keep powers of powers inside the float range.
    TermOperand exponent(int depth)
    {
        const int pick = below(100);
        if (pick < 55)
            return {TermOperand::Kind::Number, std::to_string(below(4)), {}};
        if (pick < 65)
            return {TermOperand::Kind::Number, "0.5", {}};
        return operand(depth + 1);
    }

    std::string number()
    {
        static constexpr const char *fractions[] = {"5", "25", "75", "2", "1"};
        std::string text = std::to_string(below(10));
        if (chance(35))
            text += std::string(".") + fractions[below(5)];
        return text;
    }

    uint64_t state;
};

void AppendTerm(std::string &out, const Term &term);

void AppendOperand(std::string &out, const TermOperand &operand)
{
    switch (operand.kind) {
    case TermOperand::Kind::Number:
    case TermOperand::Kind::Variable: out += operand.text; return;
    case TermOperand::Kind::Call: out += operand.text; [[fallthrough]];
    case TermOperand::Kind::Group:
        out += '(';
        AppendTerm(out, operand.inner);
        out += ')';
        return;
    }
}

void AppendTerm(std::string &out, const Term &term)
{
    for (const TermItem &item : term) {
        if (item.op)
            out += item.op;
        if (item.sign)
            out += item.sign;
        AppendOperand(out, item.operand);
    }
}

void AppendOperandCuts(std::vector<Term> &out, const Term &term, std::size_t index)
{
    const TermItem &item = term[index];
    auto with = [&](TermOperand operand, char sign) {
        Term changed = term;
        changed[index].operand = std::move(operand);
        changed[index].sign = sign;
        out.push_back(std::move(changed));
    };
    if (item.sign)
        with(item.operand, 0);
    const TermOperand &operand = item.operand;
    switch (operand.kind) {
    case TermOperand::Kind::Variable: return;
    case TermOperand::Kind::Number:
        if (operand.text.find('.') != std::string::npos)
            with({TermOperand::Kind::Number, operand.text.substr(0, operand.text.find('.')), {}},
                 item.sign);
        else if (operand.text != "0" && operand.text != "1")
            with({TermOperand::Kind::Number, "1", {}}, item.sign);
        return;
    case TermOperand::Kind::Group:
    case TermOperand::Kind::Call:
        if (operand.inner.size() == 1 && !operand.inner[0].sign)
            with(operand.inner[0].operand, item.sign);
        if (operand.kind == TermOperand::Kind::Call)
            with({TermOperand::Kind::Group, {}, operand.inner}, item.sign);
        for (Term &smaller : ShrinkCandidates(operand.inner))
            with({operand.kind, operand.text, std::move(smaller)}, item.sign);
        return;
    }
}

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
        Bounded acc = product();
        while (running() && (peek() == '+' || peek() == '-')) {
            const char op = text[pos++];
            const Bounded rhs = product();
            if (running())
                acc = add(acc, op == '+' ? rhs : negate(rhs));
        }
        return acc;
    }

    // product := signed (('*' | '/') signed)*
    Bounded product()
    {
        Bounded acc = signedPower();
        while (running() && (peek() == '*' || peek() == '/')) {
            const char op = text[pos++];
            const Bounded rhs = signedPower();
            if (running())
                acc = op == '*' ? multiply(acc, rhs) : divide(acc, rhs);
        }
        return acc;
    }

    // signed := ('+' | '-')? power
    Bounded signedPower()
    {
        const char sign = peek();
        if (sign == '+' || sign == '-')
            ++pos;
        const Bounded value = powerChain();
        return sign == '-' ? negate(value) : value;
    }

    // power := primary ('^' ('+' | '-')? primary)*
    Bounded powerChain()
    {
        Bounded acc = primary();
        while (running() && peek() == '^') {
            ++pos;
            const char sign = peek();
            if (sign == '+' || sign == '-')
                ++pos;
            const Bounded exponent = primary();
            if (running())
                acc = power(acc, sign == '-' ? negate(exponent) : exponent);
        }
        return acc;
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

std::string TermText(const Term &term)
{
    std::string out;
    AppendTerm(out, term);
    return out;
}

Term GenerateTerm(uint64_t seed)
{
    return TermGenerator(seed).chain(0);
}

std::vector<Term> ShrinkCandidates(const Term &term)
{
    std::vector<Term> out;
    for (const TermItem &item : term) {
        if (item.operand.kind == TermOperand::Kind::Group
            || item.operand.kind == TermOperand::Kind::Call)
            out.push_back(item.operand.inner);
    }
    if (term.size() > 1) {
        for (std::size_t i = 0; i < term.size(); ++i) {
            Term shorter = term;
            shorter.erase(shorter.begin() + std::ptrdiff_t(i));
            shorter[0].op = 0;
            // A lone bracketed operand is no simpler than its contents, offered above.
            const bool loneGroup = shorter.size() == 1 && !shorter[0].sign
                                   && shorter[0].operand.kind == TermOperand::Kind::Group;
            if (!loneGroup)
                out.push_back(std::move(shorter));
        }
    }
    for (std::size_t i = 0; i < term.size(); ++i)
        AppendOperandCuts(out, term, i);
    return out;
}

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
