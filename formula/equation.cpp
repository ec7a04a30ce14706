#include "equation.h"

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

// The 1-based place, counted in characters with the blanks, of the character
// at `index` of the typed text without its blanks.
int typedPlace(std::u16string_view typed, std::size_t index)
{
    int place = 0;
    std::size_t seen = 0;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char16_t c = typed[i];
        if (c < 0xDC00 || c > 0xDFFF || i == 0 || typed[i - 1] < 0xD800 || typed[i - 1] > 0xDBFF)
            ++place;
        if (c != u' ' && seen++ == index)
            break;
    }
    return place;
}

// `located`: the fault's position indexes the typed text without its blanks.
EquationFormula refused(const FormulaFault &wrong, std::u16string_view typed, bool located)
{
    std::optional<int> place;
    if (located && wrong.position != std::u16string_view::npos)
        place = typedPlace(typed, wrong.position);
    return fault(EquationFault::Refused,
                 ConversionFailedMessage() + u"\n" + FormulaFaultText(wrong, place));
}
} // namespace

EquationFormula FormulaOfEquation(std::u16string_view typed, Notation notation)
{
    const std::optional<std::u16string> text = RemoveSpaces(typed);
    if (!text) {
        // As the evaluator or the converter would say of a text that long.
        if (notation == Notation::Kzn)
            return fault(EquationFault::TooLong, FormulaErrorMessage(FormulaError::Overflow));
        return fault(EquationFault::Unconvertible, ConversionFailedMessage());
    }
    if (text->empty())
        return fault(EquationFault::Empty, EmptyEquationMessage());
    if (notation == Notation::Kzn) {
        if (const auto wrong = CheckFormula(*text))
            return refused(*wrong, typed, true);
        return {EquationFault::None, *text, {}};
    }
    const SpelledTerm spelled = SpellTerm(*text);
    if (spelled.fault)
        return refused(*spelled.fault, typed, true);
    ConvertResult converted = NormaliseMathTerm(spelled.term);
    switch (converted.status) {
    case ConvertStatus::Converted:
        // Positions in the converted formula are none the user typed.
        if (const auto wrong = CheckFormula(converted.formula))
            return refused(*wrong, typed, false);
        return {EquationFault::None, std::move(converted.formula), {}};
    case ConvertStatus::Stopped: return fault(EquationFault::Stopped, {});
    case ConvertStatus::Failed: break;
    }
    return fault(EquationFault::Unconvertible, ConversionFailedMessage());
}

bool IsEmptyEquation(std::u16string_view typed)
{
    // Blanks alone, as RemoveSpaces would leave nothing of them, without the copy it makes.
    return typed.size() <= MaxTextLength && typed.find_first_not_of(u' ') == typed.npos;
}

} // namespace lw
