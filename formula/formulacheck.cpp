// SPDX-License-Identifier: GPL-3.0-or-later

#include "formulacheck.h"

#include "charclasses.h"
#include "kznsteps.h"
#include "texthelpers.h"

#include <vector>

namespace lw {

namespace detail {

bool isKnownKeyword(std::u16string_view name)
{
    return keywordOf(name) != Keyword::Unknown;
}

bool takesOneArgument(std::u16string_view keyword)
{
    return TakesOneArgument(keywordOf(keyword));
}

} // namespace detail

namespace {

using namespace detail;

constexpr std::size_t NoPosition = std::u16string_view::npos;
// A quoted part longer than this is cut, so that the message stays one line.
constexpr std::size_t MaxQuotedLength = 24;

FormulaFault faultAt(FormulaFaultKind kind, std::u16string_view part, std::size_t position)
{
    return {kind, std::u16string(part), position};
}

// The evaluator drops a leading "--" from the leaf with x or a parameter put
// in; a value's own sign then still reads only after at most one more "-".
bool isValidLeaf(std::u16string_view leaf)
{
    if (leaf.empty())
        return true;
    std::u16string_view rest = leaf;
    while (rest.size() > 1 && rest.front() == u'-' && leaf.size() - rest.size() < 2)
        rest.remove_prefix(1);
    if (rest.size() == 1 && isVariable(rest.front()))
        return true;
    if (leaf.starts_with(u"--"))
        leaf.remove_prefix(2);
    const std::size_t length = NumberTextLength(leaf);
    return length > 0 && length == leaf.size();
}

// The fault of an invalid leaf at `position`, named as the user wrote it.
FormulaFault leafFault(std::u16string_view leaf, std::size_t position)
{
    std::size_t start = 0;
    while (start < leaf.size() && (leaf[start] == u'+' || leaf[start] == u'-'))
        ++start;
    const auto notANumber = faultAt(FormulaFaultKind::NotANumber, leaf, position);
    if (start == leaf.size())
        return notANumber;
    const char16_t first = leaf[start];
    if (isAsciiLetter(first)) {
        const std::size_t end = letterRunEnd(leaf, start);
        const std::u16string_view run = leaf.substr(start, end - start);
        // -SIN(1) is a known call behind a sign, which reads as 0.
        if (end < leaf.size() && leaf[end] == u'(')
            return isKnownKeyword(run)
                       ? notANumber
                       : faultAt(FormulaFaultKind::UnknownName, run, position + start);
        if (end < leaf.size() || (run.size() == 1 && isVariable(first)))
            return notANumber;
        return faultAt(run.size() == 1 ? FormulaFaultKind::UnknownCharacter
                                       : FormulaFaultKind::UnknownName,
                       run, position + start);
    }
    if (isNumberCharacter(first) || first == u'(')
        return notANumber;
    return faultAt(FormulaFaultKind::UnknownCharacter, characterAt(leaf, start), position + start);
}

// One pass with a stack of the open calls.
// formula := call <end>;  call := KEYWORD "(" argument { ";" argument } ")"
// argument := call | leaf; a call as an argument has a three-letter keyword
class FormulaChecker {
public:
    explicit FormulaChecker(std::u16string_view text) : m_text(text) {}

    std::optional<FormulaFault> run()
    {
        const std::size_t open = m_text.find(u'(');
        const std::u16string_view keyword = m_text.substr(0, open);
        if (open == NoPosition || open == 0 || letterRunEnd(keyword, 0) != open)
            return faultAt(FormulaFaultKind::NotAFormula, m_text, NoPosition);
        if (!isKnownKeyword(keyword))
            return faultAt(FormulaFaultKind::UnknownName, keyword, 0);
        m_open.push_back(0);
        m_i = open + 1;
        for (;;) {
            if (auto fault = argument())
                return fault;
            if (auto fault = afterArgument())
                return fault;
            if (m_open.empty())
                return std::nullopt;
        }
    }

private:
    // Reads one argument from m_i: opens a nested call or checks a leaf.
    std::optional<FormulaFault> argument()
    {
        for (;;) {
            const std::size_t i = m_i;
            if (i + 3 >= m_text.size() || m_text[i + 3] != u'(')
                break;
            const std::u16string_view keyword = m_text.substr(i, 3);
            if (letterRunEnd(keyword, 0) != 3)
                break; // -2*(x) is a leaf, and no number
            if (!isKnownKeyword(keyword))
                return faultAt(FormulaFaultKind::UnknownName, keyword, i);
            m_open.push_back(i);
            m_i = i + 4;
        }
        const std::size_t start = m_i;
        m_i = argumentEnd(start);
        const std::u16string_view leaf = m_text.substr(start, m_i - start);
        if (!isValidLeaf(leaf))
            return leafFault(leaf, start);
        if (leaf.empty() && (m_i == m_text.size() || m_text[m_i] == u')')) {
            // An empty last argument is not read at all: SIN() is 0, PRO(2;) is 2.
            const char16_t before = m_text[start - 1];
            if (before == u';')
                return faultAt(FormulaFaultKind::MissingArgument, u";", start - 1);
            const std::size_t call = m_open.back();
            return faultAt(FormulaFaultKind::MissingArgument, m_text.substr(call, start - call),
                           call);
        }
        return std::nullopt;
    }

    // After an argument: ";" starts the next, ")" closes calls; whatever else
    // follows a closed call within its argument would be misread.
    std::optional<FormulaFault> afterArgument()
    {
        for (;;) {
            if (m_i == m_text.size()) {
                const std::size_t call = m_open.back();
                const std::size_t open = m_text.find(u'(', call);
                return faultAt(FormulaFaultKind::MissingClosing,
                               m_text.substr(call, open + 1 - call), call);
            }
            const char16_t c = m_text[m_i];
            if (c == u';') {
                // SIN(x;2) would draw the constant sin 2.
                const std::size_t call = m_open.back();
                const std::u16string_view keyword = m_text.substr(call, 3);
                if (takesOneArgument(keyword))
                    return faultAt(FormulaFaultKind::OneArgument, keyword, call);
                ++m_i;
                return std::nullopt;
            }
            if (c != u')') {
                const std::size_t end = argumentEnd(m_i);
                return faultAt(FormulaFaultKind::Surplus, m_text.substr(m_i, end - m_i), m_i);
            }
            m_open.pop_back();
            ++m_i;
            if (m_open.empty()) {
                if (m_i == m_text.size())
                    return std::nullopt;
                return faultAt(FormulaFaultKind::Surplus, m_text.substr(m_i), m_i);
            }
        }
    }

    // The end of the argument that starts at `from`: the first ";" or ")" not
    // inside a parenthesis opened within it, or the end of the text.
    std::size_t argumentEnd(std::size_t from) const
    {
        int depth = 0;
        for (std::size_t i = from; i < m_text.size(); ++i) {
            const char16_t c = m_text[i];
            if (c == u'(')
                ++depth;
            else if (c == u')' && depth-- == 0)
                return i;
            else if (c == u';' && depth == 0)
                return i;
        }
        return m_text.size();
    }

    std::u16string_view m_text;
    std::size_t m_i = 0;
    std::vector<std::size_t> m_open; // where each open call's keyword starts
};

std::u16string shortened(std::u16string_view part)
{
    if (part.size() <= MaxQuotedLength)
        return std::u16string(part);
    std::size_t cut = MaxQuotedLength;
    if (part[cut - 1] >= 0xD800 && part[cut - 1] <= 0xDBFF)
        --cut; // never half a surrogate pair
    return std::u16string(part.substr(0, cut)) + u"…";
}

} // namespace

std::optional<FormulaFault> CheckFormula(std::u16string_view formula)
{
    return FormulaChecker(formula).run();
}

std::u16string FormulaFaultText(const FormulaFault &fault, std::optional<int> place)
{
    const std::u16string quoted = u"'" + shortened(fault.part) + u"'";
    std::u16string where;
    if (place) {
        const std::string number = std::to_string(*place);
        where = u" an Stelle ";
        where.append(number.begin(), number.end());
    }
    std::u16string text;
    switch (fault.kind) {
    case FormulaFaultKind::UnknownName: text = u"Unbekannter Name: " + quoted; break;
    case FormulaFaultKind::NotANumber: text = u"Keine Zahl: " + quoted; break;
    case FormulaFaultKind::MissingOpening: text = u"Nach " + quoted + u" fehlt '('"; break;
    case FormulaFaultKind::UnknownCharacter: text = u"Unbekanntes Zeichen: " + quoted; break;
    case FormulaFaultKind::MissingClosing:
        return u"Zu " + quoted + where + u" fehlt " + (fault.part == u"|" ? u"'|'" : u"')'");
    case FormulaFaultKind::Surplus: text = u"Überzählig: " + quoted; break;
    case FormulaFaultKind::MissingArgument:
        text = u"Nach " + quoted + u" fehlt ein Argument";
        break;
    case FormulaFaultKind::NotAFormula: text = u"Keine KZN-Formel: " + quoted; break;
    case FormulaFaultKind::MissingOperand: text = u"Nach " + quoted + u" fehlt ein Operand"; break;
    case FormulaFaultKind::OperandBefore: text = u"Vor " + quoted + u" fehlt ein Operand"; break;
    case FormulaFaultKind::DoubleOperator: text = u"Doppelter Operator: " + quoted; break;
    case FormulaFaultKind::TwoNumbers: text = u"Zwei Zahlen ohne Operator: " + quoted; break;
    case FormulaFaultKind::CommaWithoutDigit: text = u"Vor ',' fehlt eine Ziffer"; break;
    case FormulaFaultKind::OneArgument: text = quoted + u" nimmt nur ein Argument"; break;
    case FormulaFaultKind::ChainedPower:
        return u"Mehrdeutige Potenz" + where
               + u": Bitte Klammern setzen, z. B. x^(2^3) oder (x^2)^3";
    case FormulaFaultKind::AmbiguousInverse:
        text = u"Mehrdeutig: " + quoted + u" (Kehrwert oder Umkehrfunktion?)";
        break;
    case FormulaFaultKind::InvisibleCharacter:
        text = u"Unbekanntes Zeichen " + codePointName(fault.part);
        break;
    }
    return text + where;
}

} // namespace lw
