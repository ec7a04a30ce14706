#include "equation.h"

#include "evaluator.h"
#include "normalise.h"
#include "texthelpers.h"

#include <optional>

namespace lw {

namespace {
EquationFormula fault(EquationFault kind, std::u16string message)
{
    return {kind, {}, std::move(message)};
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
    if (notation == Notation::Kzn)
        return {EquationFault::None, *text, {}};
    ConvertResult converted = NormaliseMathTerm(*text);
    switch (converted.status) {
    case ConvertStatus::Converted: return {EquationFault::None, std::move(converted.formula), {}};
    case ConvertStatus::Stopped: return fault(EquationFault::Stopped, {});
    case ConvertStatus::Failed: break;
    }
    return fault(EquationFault::Unconvertible, ConversionFailedMessage());
}

bool IsEmptyEquation(std::u16string_view typed)
{
    const std::optional<std::u16string> text = RemoveSpaces(typed);
    return text && text->empty();
}

} // namespace lw
