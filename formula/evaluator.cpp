// SPDX-License-Identifier: GPL-3.0-or-later

#include "evaluator.h"

#include "kznsteps.h"
#include "texthelpers.h"

#include <array>

namespace lw {

namespace detail {

Keyword keywordOf(std::u16string_view name)
{
    static constexpr std::array<std::pair<std::u16string_view, Keyword>, 18> names{{
        {u"SUM", Keyword::Sum},
        {u"DIF", Keyword::Dif},
        {u"PRO", Keyword::Pro},
        {u"DIV", Keyword::Div},
        {u"POT", Keyword::Pot},
        {u"AMI", Keyword::Ami},
        {u"SQR", Keyword::Sqr},
        {u"SIN", Keyword::Sin},
        {u"COS", Keyword::Cos},
        {u"TAN", Keyword::Tan},
        {u"ABS", Keyword::Abs},
        {u"EXP", Keyword::Exp},
        {u"LGN", Keyword::Lgn},
        {u"LGD", Keyword::Lgd},
        {u"ASN", Keyword::Asn},
        {u"ACS", Keyword::Acs},
        {u"ATN", Keyword::Atn},
        {u"SGN", Keyword::Sgn},
    }};
    for (const auto &[text, keyword] : names) {
        if (text == name)
            return keyword;
    }
    return Keyword::Unknown;
}

ArgumentWalk::ArgumentWalk(std::u16string_view list) : m_list(list)
{
    int level = 0;
    for (char16_t c : list) {
        if (c == u'(')
            ++level;
        else if (c == u')')
            --level;
        else if (c == u';' && level == 0)
            m_count += 1;
    }
    // The last argument ends only at the list's last character: an operand
    // character, or a ")" that closes the list's outermost level.
    if (!list.empty()) {
        const char16_t last = list.back();
        m_lastFound = last == u')' ? level == 0 : (last != u'(' && last != u';');
    }
}

bool ArgumentWalk::next(int k, std::u16string_view &argument)
{
    if (static_cast<float>(k) < m_count) {
        const std::size_t start = m_pos;
        for (; m_pos < m_list.size(); ++m_pos) {
            const char16_t c = m_list[m_pos];
            if (c == u'(') {
                ++m_level;
            } else if (c == u')') {
                --m_level;
            } else if (c == u';' && m_level == 0) {
                argument = m_list.substr(start, m_pos - start);
                ++m_pos;
                return true;
            }
        }
        return false;
    }
    if (!m_lastFound || m_pos >= m_list.size())
        return false;
    argument = m_list.substr(m_pos);
    return true;
}

float leafValue(std::u16string_view text)
{
    if (text.starts_with(u"--"))
        text.remove_prefix(2);
    return TextToNumber(text);
}

} // namespace detail

namespace {

using namespace detail;

struct Evaluation {
    FormulaError error = FormulaError::None;
    int depth = 0;
};

// call := keyword "(" argument { ";" argument } <any one character>
float evaluateCall(std::u16string_view formula, Evaluation &ev)
{
    if (formula.size() > MaxTextLength) {
        ev.error = FormulaError::Overflow;
        return 0;
    }
    const std::size_t open = formula.find(u'(');
    if (open == std::u16string_view::npos || formula.find(u')') == std::u16string_view::npos)
        return 0;
    if (open + 1 == formula.size()) {
        ev.error = FormulaError::InvalidArgument;
        return 0;
    }
    if (++ev.depth > MaxFormulaDepth) {
        ev.error = FormulaError::TooDeep;
        return 0;
    }
    const Keyword keyword = keywordOf(formula.substr(0, open));
    ArgumentWalk walk(formula.substr(open + 1, formula.size() - open - 2));
    const float count = walk.count();
    float acc = 0;
    for (int k = 1; static_cast<float>(k) <= count; ++k) {
        std::u16string_view argument;
        if (!walk.next(k, argument))
            continue;
        float value;
        if (IsFunctionTerm(argument)) {
            value = evaluateCall(argument, ev);
            if (ev.error != FormulaError::None)
                return 0;
        } else {
            value = leafValue(argument);
        }
        if (CalcError == -1)
            continue;
        acc = applyStep(keyword, acc, value, k, count);
    }
    --ev.depth;
    return acc;
}

} // namespace

std::u16string FormulaErrorDescription(FormulaError error)
{
    switch (error) {
    case FormulaError::None: return u"";
    case FormulaError::InvalidArgument:
        return u"Ungültiger Prozeduraufruf oder ungültiges Argument";
    case FormulaError::Overflow: return u"Überlauf";
    case FormulaError::TooDeep: return u"Nicht genügend Stapelspeicher";
    }
    return u"";
}

std::u16string FormulaErrorMessage(FormulaError error)
{
    return u"FEHLER: " + FormulaErrorDescription(error);
}

float CalcFormula(std::u16string_view formula, FormulaError *error)
{
    Evaluation ev;
    float result = evaluateCall(formula, ev);
    if (ev.error != FormulaError::None) {
        CalcError = -1;
        result = 0;
    }
    if (error)
        *error = ev.error;
    return result;
}

bool IsFunctionTerm(std::u16string_view text)
{
    return text.size() >= 4 && text[3] == u'(' && text.find(u')') != std::u16string_view::npos;
}

} // namespace lw
