// SPDX-License-Identifier: GPL-3.0-or-later

#include "variables.h"

#include "charclasses.h"

namespace lw {

std::u16string UpdateVariables(std::u16string_view formula, const VariableValues &variables)
{
    std::u16string result;
    result.reserve(formula.size());
    for (char16_t c : formula) {
        if (!detail::isParameter(c)) {
            result.push_back(c);
            continue;
        }
        const auto row = static_cast<std::size_t>(c - u'a');
        if (!variables.editMode)
            result.push_back(u'0');
        else if (variables.checked[row] && variables.values[row].empty())
            result.push_back(u'0');
        else if (variables.checked[row])
            result.append(variables.values[row]);
        else
            result.push_back(c);
    }
    return result;
}

unsigned UnsuppliedParameters(std::u16string_view formula, const VariableValues &variables)
{
    unsigned letters = 0;
    for (char16_t c : formula) {
        const auto row = static_cast<std::size_t>(c - u'a');
        if (detail::isParameter(c) && !(variables.editMode && variables.checked[row]))
            letters |= 1u << row;
    }
    return letters;
}

} // namespace lw
