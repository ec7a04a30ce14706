// SPDX-License-Identifier: GPL-3.0-or-later

#include "equation.h"

#include "charclasses.h"
#include "evaluator.h"
#include "formulacheck.h"
#include "normalise.h"
#include "spelling.h"
#include "texthelpers.h"

#include <optional>

namespace lw {

namespace {
EquationFormula fault(EquationFault kind, std::u16string message)
{
    return {kind, {}, std::move(message)};
}

bool isSecondHalf(std::u16string_view text, std::size_t i)
{
    return text[i] >= 0xDC00 && text[i] <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800
           && text[i - 1] <= 0xDBFF;
}

// The 1-based place of the typed character at `index`, a surrogate pair
// counted as the one character the user sees.
int typedPlace(std::u16string_view typed, std::size_t index)
{
    int place = 0;
    for (std::size_t i = 0; i <= index && i < typed.size(); ++i)
        place += isSecondHalf(typed, i) ? 0 : 1;
    return place;
}

// The index in the typed text of the character at `index` of it without its blanks.
std::size_t indexWithBlanks(std::u16string_view typed, std::size_t index)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] != u' ' && seen++ == index)
            return i;
    }
    return typed.size();
}

EquationFormula refused(const FormulaFault &wrong, std::u16string_view typed,
                        std::optional<std::size_t> index)
{
    std::optional<int> place;
    if (index)
        place = typedPlace(typed, *index);
    return fault(EquationFault::Refused,
                 ConversionFailedMessage() + u"\n" + FormulaFaultText(wrong, place));
}

std::optional<std::size_t> placed(const FormulaFault &wrong)
{
    if (wrong.position == std::u16string_view::npos)
        return std::nullopt;
    return wrong.position;
}
} // namespace

EquationFormula FormulaOfEquation(std::u16string_view typed, Notation notation)
{
    if (typed.size() > MaxTextLength) {
        // As the evaluator or the converter would say of a text that long.
        if (notation == Notation::Kzn)
            return fault(EquationFault::TooLong, FormulaErrorMessage(FormulaError::Overflow));
        return fault(EquationFault::Unconvertible, ConversionFailedMessage());
    }
    if (IsEmptyEquation(typed))
        return fault(EquationFault::Empty, EmptyEquationMessage());
    if (notation == Notation::Kzn) {
        const std::u16string text = RemoveSpaces(typed).value_or(std::u16string());
        if (const auto wrong = CheckFormula(text)) {
            const auto index = placed(*wrong);
            return refused(*wrong, typed,
                           index ? std::optional(indexWithBlanks(typed, *index)) : std::nullopt);
        }
        return {EquationFault::None, text, {}};
    }
    const SpelledTerm spelled = SpellTerm(typed);
    if (spelled.fault)
        return refused(*spelled.fault, typed, placed(*spelled.fault));
    if (spelled.term.empty()) // "y =" and nothing after it
        return fault(EquationFault::Empty, EmptyEquationMessage());
    ConvertResult converted = NormaliseMathTerm(spelled.term);
    switch (converted.status) {
    case ConvertStatus::Converted:
        // Positions in the converted formula are none the user typed.
        if (const auto wrong = CheckFormula(converted.formula))
            return refused(*wrong, typed, std::nullopt);
        return {EquationFault::None, std::move(converted.formula), {}};
    case ConvertStatus::Stopped: return fault(EquationFault::Stopped, {});
    case ConvertStatus::Failed: break;
    }
    return fault(EquationFault::Unconvertible, ConversionFailedMessage());
}

bool IsEmptyEquation(std::u16string_view typed)
{
    if (typed.size() > MaxTextLength)
        return false;
    for (char16_t c : typed) {
        if (!detail::isTypedBlank(c) && !detail::isIgnoredCharacter(c))
            return false;
    }
    return true;
}

} // namespace lw
