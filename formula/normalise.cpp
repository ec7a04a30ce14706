// SPDX-License-Identifier: GPL-3.0-or-later

#include "normalise.h"

#include "mathscan.h"

namespace lw {

ConvertResult NormaliseMathTerm(std::u16string_view term)
{
    std::u16string text(term);
    if (text == u"x" || text == u"X")
        text = u"x*1";
    else if (text.find(u'(') == std::u16string::npos
             && detail::findSplitPoint(text) == std::u16string_view::npos)
        text += u"*1"; // a lone operand draws as itself, not as y = 0
    ConvertResult result = ConvertTerm(text);
    // A lone operand in parentheses, such as (x) or ((5)), converts to a bare
    // operand, which is no call and would draw as y = 0.
    if (result.status == ConvertStatus::Converted
        && result.formula.find(u'(') == std::u16string::npos)
        result = ConvertTerm(result.formula + u"*1");
    return result;
}

std::u16string ConversionFailedMessage()
{
    return u"Die Funktionsgleichung kann nicht umgewandelt werden. Bitte prüfen Sie Klammern, "
           u"Operatoren und die Schreibweise der Funktionen (sin, cos, tan, wurzel, betrag ...).";
}

std::u16string EmptyEquationMessage()
{
    return u"Bitte geben Sie erst eine Funktionsgleichung ein.";
}

} // namespace lw
