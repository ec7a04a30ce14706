// SPDX-License-Identifier: GPL-3.0-or-later

#include "speller.h"

#include "functionnames.h"
#include "texthelpers.h"

namespace lw::detail {

Speller::Speller(std::u16string_view typed) : m_typed(typed)
{
    m_in.reserve(typed.size());
    m_at.reserve(typed.size());
    for (std::size_t k = 0; k < typed.size(); ++k) {
        const char16_t c = typed[k];
        if (isIgnoredCharacter(c))
            continue;
        m_in.push_back(isTypedBlank(c) ? u' ' : operatorSignOf(c));
        m_at.push_back(k);
    }
    m_out.reserve(typed.size() + typed.size() / 4 + 8);
}

SpelledTerm Speller::run()
{
    skipPrefix();
    while (m_i < m_in.size() && !m_fault) {
        const char16_t c = m_in[m_i];
        if (c == u' ') {
            m_blank = true;
            ++m_i;
            continue;
        }
        if (isNumberCharacter(c))
            number();
        else if (isAsciiLetter(c))
            letters();
        else
            symbol(c);
        m_blank = false;
    }
    if (!m_fault)
        finish();
    if (m_fault)
        return {{}, std::move(m_fault)};
    return {std::move(m_out), std::nullopt};
}

// The typed text of [from, to) of m_in.
std::u16string_view Speller::typedPart(std::size_t from, std::size_t to) const
{
    return m_typed.substr(m_at[from], m_at[to - 1] + 1 - m_at[from]);
}

void Speller::fail(FormulaFaultKind kind, std::size_t from, std::size_t to)
{
    if (!m_fault)
        m_fault = FormulaFault{kind, std::u16string(typedPart(from, to)), m_at[from]};
}

// "y =" and "f(x) =" repeat what the field's caption says; "x = 2" is a
// vertical line, no function of x.
void Speller::skipPrefix()
{
    std::size_t k = skipBlanks(0);
    if (k >= m_in.size() || !isAsciiLetter(m_in[k]) || m_in[k] == u'x' || m_in[k] == u'X')
        return;
    k = skipBlanks(k + 1);
    if (k < m_in.size() && m_in[k] == u'(') {
        k = skipBlanks(k + 1);
        if (k >= m_in.size() || (m_in[k] != u'x' && m_in[k] != u'X'))
            return;
        k = skipBlanks(k + 1);
        if (k >= m_in.size() || m_in[k] != u')')
            return;
        k = skipBlanks(k + 1);
    }
    if (k < m_in.size() && m_in[k] == u'=')
        m_i = k + 1;
}

// Two operands side by side: the "*" left out.
void Speller::beforeOperand()
{
    if (m_last != Last::Operand)
        return;
    closeRoots();
    m_out += u'*';
    m_power = Power::None;
}

void Speller::operandDone(bool isNumber)
{
    m_last = Last::Operand;
    m_lastWasNumber = isNumber;
    m_superscripted = false;
    m_bracketed = false;
    if (m_power == Power::Exponent)
        m_power = Power::AfterExponent;
}

void Speller::simpleOperand(std::u16string_view text)
{
    beforeOperand();
    m_primaryStart = m_out.size();
    m_out += text;
    operandDone(false);
}

void Speller::symbol(char16_t c)
{
    switch (c) {
    case u'+':
    case u'-':
    case u'*':
    case u'/':
    case u'^': return operatorSign(c);
    case Pi: simpleOperand(PiText); break;
    case Root: return root();
    case u'(': open(); break;
    case u')': return close();
    case u'|': return bar();
    case u';': return separator();
    default:
        if (isSuperscript(c))
            return superscript();
        if (vulgarFraction(c).denominator != 0)
            return fraction(vulgarFraction(c));
        return unknownCharacter();
    }
    ++m_i;
}

void Speller::unknownCharacter()
{
    const std::size_t length = characterAt(m_in, m_i).size();
    fail(isNamedByCodePoint(characterAt(m_in, m_i)) ? FormulaFaultKind::InvisibleCharacter
                                                    : FormulaFaultKind::UnknownCharacter,
         m_i, m_i + length);
}

void Speller::operatorSign(char16_t c)
{
    const std::size_t at = m_i;
    ++m_i;
    if (m_last == Last::Operand) {
        if (c == u'^' && (m_superscripted || m_power == Power::AfterExponent))
            return fail(FormulaFaultKind::ChainedPower, at, at + 1);
        closeRoots();
        m_out += c;
        m_power = c == u'^' ? Power::Exponent : Power::None;
        m_last = Last::Operator;
        m_operators = m_operator = at;
        return;
    }
    // One sign may stand before an operand: -x, x*-1, x^-2.
    if ((c == u'+' || c == u'-') && m_last != Last::Sign) {
        if (m_last != Last::Operator)
            m_operators = at;
        m_out += c;
        m_last = Last::Sign;
        m_operator = at;
        return;
    }
    if (m_last == Last::Operator || m_last == Last::Sign)
        return fail(FormulaFaultKind::DoubleOperator, m_operators, at + 1);
    fail(FormulaFaultKind::OperandBefore, at, at + 1);
}

} // namespace lw::detail

namespace lw {

SpelledTerm SpellTerm(std::u16string_view typed)
{
    return detail::Speller(typed).run();
}

} // namespace lw
