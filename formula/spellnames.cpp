// SPDX-License-Identifier: GPL-3.0-or-later

#include "speller.h"

#include "functionnames.h"
#include "texthelpers.h"

namespace lw::detail {

namespace {

bool isPiAt(std::u16string_view text, std::size_t i)
{
    return i + 1 < text.size() && (text[i] == u'p' || text[i] == u'P')
           && (text[i + 1] == u'i' || text[i + 1] == u'I');
}

} // namespace

// A run of letters written together: x, parameters, pi and function names
// side by side, read left to right, the longest name first.
void Speller::letters()
{
    const std::size_t first = m_i;
    const std::size_t end = letterRunEnd(m_in, first);
    const std::size_t after = skipBlanks(end);
    const std::u16string_view in(m_in);
    // Before "(" the run ends in the name of the call or holds no name at
    // all (x(x+1)): sinh(x) is no sin.
    const bool opens = after < m_in.size() && m_in[after] == u'(';
    std::size_t call = first;
    while (opens && call < end && functionKeyword(in.substr(call, end - call)).empty())
        ++call;
    if (!opens)
        call = end;
    std::size_t digitsEnd = end;
    while (digitsEnd < m_in.size() && isDigit(m_in[digitsEnd]))
        ++digitsEnd;
    for (std::size_t j = first; j < end;) {
        if (j == call) {
            m_i = end;
            return function(functionKeyword(in.substr(call, end - call)), j);
        }
        const auto name = opens && call == end ? std::u16string_view()
                                               : functionNamePrefix(in.substr(j, call - j));
        if (!name.empty()) {
            if (j + name.size() == end && digitsEnd > end) {
                // log10 is lg; log2 and log3 may mean a base, and sin2(x) names nothing.
                if (equalsIgnoringCase(name, u"log")) {
                    if (in.substr(end, digitsEnd - end) != u"10")
                        return fail(FormulaFaultKind::UnknownName, j, digitsEnd);
                    m_i = digitsEnd;
                    return function(u"LGD", j);
                }
                const std::size_t next = skipBlanks(digitsEnd);
                if (next < m_in.size() && m_in[next] == u'(')
                    return fail(FormulaFaultKind::UnknownName, j, digitsEnd);
            }
            m_i = j + name.size();
            return function(functionKeyword(name), j);
        }
        const char16_t c = m_in[j];
        if (c == u'x' || c == u'X') {
            simpleOperand(u"x");
            ++j;
        } else if (isParameter(c)) {
            simpleOperand(in.substr(j, 1));
            ++j;
        } else if (isPiAt(in, j)) {
            simpleOperand(PiText);
            j += 2;
        } else if (end - first > 1) {
            return fail(FormulaFaultKind::UnknownName, first, end);
        } else {
            return fail(FormulaFaultKind::UnknownCharacter, j, j + 1);
        }
    }
    m_i = end;
}

// sin²(x) and sin^2(x): "^2" for after the call; a negative power is
// either the reciprocal or the inverse function, and so refused.
std::size_t Speller::functionPower(std::size_t name, std::size_t i, std::u16string &power)
{
    if (i >= m_in.size())
        return i;
    if (isSuperscript(m_in[i])) {
        if (m_in[i] == SuperscriptMinus) {
            std::size_t end = i + 1;
            while (end < m_in.size() && isSuperscript(m_in[end]))
                ++end;
            fail(FormulaFaultKind::AmbiguousInverse, name, end);
            return NoPosition;
        }
        return readSuperscript(i, power);
    }
    if (m_in[i] != u'^')
        return i;
    const std::size_t k = skipBlanks(i + 1);
    std::size_t end = k;
    if (k < m_in.size() && (m_in[k] == u'-' || m_in[k] == SuperscriptMinus)) {
        for (++end; end < m_in.size() && (isDigit(m_in[end]) || isSuperscript(m_in[end]));)
            ++end;
        fail(FormulaFaultKind::AmbiguousInverse, name, end);
        return NoPosition;
    }
    while (end < m_in.size() && isDigit(m_in[end]))
        ++end;
    // sin^2.5(x): a power of a function is a whole number
    if (end == k || (end < m_in.size() && (m_in[end] == u'.' || m_in[end] == u','))) {
        fail(FormulaFaultKind::MissingOpening, name, i);
        return NoPosition;
    }
    m_numberStart = k;
    power = u"^" + std::u16string(std::u16string_view(m_in).substr(k, end - k));
    return end;
}

// A function name read up to m_i: its call, its argument between bars, or
// one operand without brackets (sin x, sin 2x, ln x).
void Speller::function(std::u16string_view keyword, std::size_t name)
{
    const std::size_t nameEnd = m_i;
    std::u16string power;
    const std::size_t afterPower = functionPower(name, skipBlanks(nameEnd), power);
    if (afterPower == NoPosition)
        return;
    const std::size_t k = skipBlanks(afterPower);
    const bool oneArgument = takesOneArgument(keyword);
    const char16_t next = k < m_in.size() ? m_in[k] : u'\0';
    if (next != u'(' && !oneArgument)
        return fail(FormulaFaultKind::MissingOpening, name, nameEnd);
    std::u16string operand;
    std::size_t end = k;
    std::size_t number = NoPosition; // where a bare operand that is a number starts
    if (next != u'(' && next != u'|') {
        end = bareOperand(k, operand, number);
        if (end == NoPosition)
            return;
        const std::size_t after = skipBlanks(end);
        // sin x^2 is sin(x^2) to some and sin(x)^2 to others; sin 2½ wants brackets too.
        if (operand.empty() || (after < m_in.size() && m_in[after] == u'^')
            || (number != NoPosition && end < m_in.size()
                && vulgarFraction(m_in[end]).denominator != 0))
            return fail(FormulaFaultKind::MissingOpening, name, nameEnd);
        // sin^2 3: the power and the operand are two numbers side by side.
        if (!power.empty() && isDigit(m_in[afterPower - 1]) && k > afterPower
            && isNumberCharacter(m_in[k]))
            return fail(FormulaFaultKind::TwoNumbers, m_numberStart, end);
    }
    beforeOperand();
    const std::size_t start = m_out.size();
    const bool wrapped = !power.empty() && m_power == Power::Exponent;
    if (wrapped)
        m_out += u'(';
    m_out.append(keyword).append(u"(");
    if (next == u'(' || next == u'|') {
        m_open.push_back({Open::Kind::Call, name, k, m_roots, m_rootStart, m_power, start, power,
                          wrapped, next == u'|', oneArgument});
        m_roots = 0;
        m_power = Power::None;
        m_last = Last::CallOpened;
        m_i = k + 1;
        if (next == u'|')
            openBar(k);
        return;
    }
    m_out.append(operand).append(u")").append(power);
    if (wrapped)
        m_out += u')';
    m_primaryStart = start;
    operandDone(number != NoPosition);
    m_numberStart = number;
    m_superscripted = !power.empty();
    m_i = end;
}

// [number] { x | a..h | pi | π }, each with its superscripts, written
// together; a run of letters stops before a function name (sinxcosx).
// `number`: where it starts when it is a number alone, as in sin 2.
std::size_t Speller::bareOperand(std::size_t i, std::u16string &operand, std::size_t &number)
{
    if (i < m_in.size() && isNumberCharacter(m_in[i])) {
        number = i;
        i = readNumber(i, operand);
        if (i == NoPosition || (i < m_in.size() && vulgarFraction(m_in[i]).denominator != 0))
            return i;
        if (i < m_in.size() && isSuperscript(m_in[i]))
            number = NoPosition;
        i = bareSuperscripts(i, operand);
    }
    const std::u16string_view in(m_in);
    while (i != NoPosition && i < m_in.size()) {
        const char16_t c = m_in[i];
        std::u16string_view piece;
        std::size_t length = 1;
        if (c == Pi) {
            piece = PiText;
        } else if (!isAsciiLetter(c)
                   || !functionNamePrefix(in.substr(i, letterRunEnd(in, i) - i)).empty()) {
            break;
        } else if (c == u'x' || c == u'X') {
            piece = u"x";
        } else if (isParameter(c)) {
            piece = in.substr(i, 1);
        } else if (isPiAt(in, i)) {
            piece = PiText;
            length = 2;
        } else {
            break;
        }
        if (!operand.empty())
            operand += u'*';
        operand += piece;
        number = NoPosition;
        i = bareSuperscripts(i + length, operand);
    }
    return i;
}

std::size_t Speller::bareSuperscripts(std::size_t i, std::u16string &operand)
{
    if (i >= m_in.size() || !isSuperscript(m_in[i]))
        return i;
    std::u16string power;
    const std::size_t end = readSuperscript(i, power);
    if (end != NoPosition)
        operand += power;
    return end;
}

} // namespace lw::detail
