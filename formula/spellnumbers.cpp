// SPDX-License-Identifier: GPL-3.0-or-later

#include "speller.h"

#include "texthelpers.h"

namespace lw::detail {

namespace {

std::u16string digitsOf(int n)
{
    const std::string text = std::to_string(n);
    return {text.begin(), text.end()};
}

} // namespace

// digits with "." or "," and an exponent E or D with digits: 1E-3, 2.5E+4.
// Its end, or NoPosition after a fault; `written` as the converter reads it.
std::size_t Speller::readNumber(std::size_t start, std::u16string &written)
{
    std::size_t end = numberRunEnd(m_in, start);
    std::size_t exponent = NoPosition;
    if (end < m_in.size() && (m_in[end] == u'E' || m_in[end] == u'D')) {
        std::size_t k = end + 1;
        if (k < m_in.size() && (m_in[k] == u'+' || m_in[k] == u'-'))
            ++k;
        if (k < m_in.size() && isDigit(m_in[k])) {
            exponent = end;
            end = numberRunEnd(m_in, k);
        }
    }
    for (std::size_t k = start; k < end; ++k) {
        // x,5 is no decimal number, and no list either.
        if (m_in[k] == u',' && (k == 0 || !isDigit(m_in[k - 1]))) {
            fail(FormulaFaultKind::CommaWithoutDigit, k, k + 1);
            return NoPosition;
        }
    }
    const std::u16string_view token = std::u16string_view(m_in).substr(start, end - start);
    if (NumberTextLength(token) != token.size()) {
        fail(FormulaFaultKind::NotANumber, start, end);
        return NoPosition;
    }
    written = token;
    if (exponent != NoPosition)
        written[exponent - start] = u'E'; // the converter knows the exponent sign only after E
    return end;
}

void Speller::number()
{
    const std::size_t start = m_i;
    std::u16string written;
    const std::size_t end = readNumber(start, written);
    if (end == NoPosition)
        return;
    if (m_last == Last::Operand && m_lastWasNumber)
        return fail(FormulaFaultKind::TwoNumbers, m_numberStart, end);
    beforeOperand();
    m_primaryStart = m_out.size();
    m_out += written;
    operandDone(true);
    m_numberStart = start;
    m_i = end;
}

// ², ²³, ⁻¹ from `start` as "^2", "^23", "^-1"; its end, or NoPosition.
std::size_t Speller::readSuperscript(std::size_t start, std::u16string &written)
{
    std::size_t k = start;
    written = u"^";
    if (m_in[k] == SuperscriptMinus) {
        written += u'-';
        ++k;
    }
    const std::size_t digits = k;
    for (; k < m_in.size() && superscriptDigit(m_in[k]) >= 0; ++k)
        written += static_cast<char16_t>(u'0' + superscriptDigit(m_in[k]));
    if (k == digits) {
        fail(FormulaFaultKind::MissingOperand, start, start + 1);
        return NoPosition;
    }
    return k;
}

void Speller::superscript()
{
    const std::size_t start = m_i;
    if (m_last != Last::Operand)
        return fail(FormulaFaultKind::OperandBefore, start, start + 1);
    std::u16string power;
    const std::size_t end = readSuperscript(start, power);
    if (end == NoPosition)
        return;
    if (m_superscripted || (m_power == Power::AfterExponent && m_blank))
        return fail(FormulaFaultKind::ChainedPower, start, end);
    // √(x)²: the bracket ends the root's argument, so the power takes the root.
    if (m_bracketed && m_roots > 0) {
        closeRoots();
        m_primaryStart = m_rootStart;
    }
    if (m_power == Power::AfterExponent) {
        // 2^x² is 2^(x²): the superscript binds to the operand just before it.
        m_out.insert(m_primaryStart, 1, u'(');
        m_out.append(power).append(u")");
    } else {
        m_out += power;
    }
    m_superscripted = true;
    m_lastWasNumber = false;
    m_i = end;
}

// ½ is (1/2); 2½ a mixed number, (2+1/2).
void Speller::fraction(VulgarFraction f)
{
    const std::size_t at = m_i;
    ++m_i;
    const std::u16string quotient = digitsOf(f.numerator) + u"/" + digitsOf(f.denominator);
    if (m_last == Last::Operand && m_lastWasNumber) {
        if (m_blank)
            return fail(FormulaFaultKind::TwoNumbers, m_numberStart, at + 1);
        const std::u16string whole = m_out.substr(m_primaryStart);
        if (whole.find_first_not_of(u"0123456789") != std::u16string::npos)
            return fail(FormulaFaultKind::NotANumber, m_numberStart, at + 1);
        m_out.replace(m_primaryStart, std::u16string::npos, u"(" + whole + u"+" + quotient + u")");
        return; // still a number: 2½ 3 is no product either
    }
    beforeOperand();
    m_primaryStart = m_out.size();
    m_out.append(u"(").append(quotient).append(u")");
    operandDone(true);
    m_numberStart = at;
}

} // namespace lw::detail
