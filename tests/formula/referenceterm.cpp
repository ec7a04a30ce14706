// SPDX-License-Identifier: GPL-3.0-or-later
// Random terms in mathematical notation for the property tests, their text, and the smaller terms
// a failing one is shrunk to.

#include "referenceterm.h"

#include "seededrandom.h"

namespace lw::test {
namespace {

constexpr int MaxDepth = 3;

class TermGenerator : SeededRandom {
public:
    using SeededRandom::SeededRandom;

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

} // namespace lw::test
