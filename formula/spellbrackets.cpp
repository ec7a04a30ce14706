// SPDX-License-Identifier: GPL-3.0-or-later

#include "speller.h"

namespace lw::detail {

// √x, √2x = √2·x, √x² = √(x²), √(x)² = (√x)²: the root takes the next
// primary and its superscripts unless brackets close it, and closes before
// whatever follows them.
void Speller::root()
{
    const std::size_t k = skipBlanks(m_i + 1);
    const char16_t next = k < m_in.size() ? m_in[k] : u'\0';
    if (!(next == u'(' || next == Root || next == Pi || next == u'|' || isNumberCharacter(next)
          || isAsciiLetter(next) || vulgarFraction(next).denominator != 0))
        return fail(FormulaFaultKind::MissingOpening, m_i, m_i + 1);
    beforeOperand();
    if (m_roots == 0)
        m_rootStart = m_out.size();
    m_out += u"SQR(";
    ++m_roots;
    m_last = Last::Opened;
    m_i = k;
}

void Speller::pushOpen(Open::Kind kind, std::size_t at)
{
    m_open.push_back({kind, at, at, m_roots, m_rootStart, m_power, m_out.size(), {}});
    m_roots = 0;
    m_power = Power::None;
    m_last = Last::Opened;
}

void Speller::open()
{
    beforeOperand();
    pushOpen(Open::Kind::Group, m_i);
    m_out += u'(';
}

void Speller::openBar(std::size_t at)
{
    pushOpen(Open::Kind::Bar, at);
    m_out += u"ABS(";
}

// Whether the innermost bracket may close here; the fault when not.
bool Speller::closable()
{
    const Open &top = m_open.back();
    switch (m_last) {
    case Last::Operator:
    case Last::Sign: fail(FormulaFaultKind::MissingOperand, m_operator, m_operator + 1); break;
    case Last::Opened: fail(FormulaFaultKind::MissingOperand, top.at, top.at + 1); break;
    case Last::CallOpened:
        // A call's last argument left empty would not be read: SIN() is 0.
        fail(FormulaFaultKind::MissingArgument, top.at, top.opening + 1);
        break;
    case Last::Separator:
        fail(FormulaFaultKind::MissingArgument, m_separator, m_separator + 1);
        break;
    default: return true;
    }
    return false;
}

void Speller::closeOpen()
{
    closeRoots();
    m_out += u')';
    const Open top = std::move(m_open.back());
    m_open.pop_back();
    m_roots = top.roots;
    m_rootStart = top.rootStart;
    m_power = top.power;
    m_primaryStart = top.primaryStart;
    m_out += top.powerText;
    if (top.wrapped)
        m_out += u')';
    operandDone(false);
    m_superscripted = !top.powerText.empty();
    m_bracketed = top.kind != Open::Kind::Call;
}

void Speller::close()
{
    if (m_open.empty())
        return fail(FormulaFaultKind::Surplus, m_i, m_i + 1);
    if (m_open.back().kind == Open::Kind::Bar)
        return missingClosing(m_open.back());
    if (!closable())
        return;
    closeOpen();
    ++m_i;
}

// A bar opens where an operand may stand and closes the innermost open
// bar after an operand: ||x|-1|, 2|x+1|, |x||x|.
void Speller::bar()
{
    const std::size_t at = m_i;
    ++m_i;
    if (m_last == Last::Operand && barOpen()) {
        // |x+(1| would close across the bracket.
        if (m_open.back().kind != Open::Kind::Bar)
            return missingClosing(m_open.back());
        closeOpen();
        if (!m_open.empty() && m_open.back().barCall)
            closeOpen();
        return;
    }
    beforeOperand();
    openBar(at);
}

bool Speller::barOpen() const
{
    for (const Open &open : m_open) {
        if (open.kind == Open::Kind::Bar)
            return true;
    }
    return false;
}

void Speller::separator()
{
    if (m_open.empty() || m_open.back().kind != Open::Kind::Call || m_open.back().barCall)
        return fail(FormulaFaultKind::Surplus, m_i, m_i + 1);
    const Open &call = m_open.back();
    if (call.oneArgument) {
        std::size_t nameEnd = call.at;
        while (nameEnd < m_in.size() && isAsciiLetter(m_in[nameEnd]))
            ++nameEnd;
        return fail(FormulaFaultKind::OneArgument, call.at, nameEnd);
    }
    if (m_last == Last::Operator || m_last == Last::Sign)
        return fail(FormulaFaultKind::MissingOperand, m_operator, m_operator + 1);
    closeRoots();
    m_out += u';';
    m_last = Last::Separator;
    m_power = Power::None;
    m_separator = m_i;
    ++m_i;
}

void Speller::missingClosing(const Open &open)
{
    const std::size_t end = open.kind == Open::Kind::Call ? open.opening + 1 : open.at + 1;
    fail(FormulaFaultKind::MissingClosing, open.at, end);
}

void Speller::finish()
{
    if (m_last == Last::Operator || m_last == Last::Sign)
        return fail(FormulaFaultKind::MissingOperand, m_operator, m_operator + 1);
    if (!m_open.empty())
        return missingClosing(m_open.back());
    closeRoots();
}

} // namespace lw::detail
