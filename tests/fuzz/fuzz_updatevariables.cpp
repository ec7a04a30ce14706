// SPDX-License-Identifier: GPL-3.0-or-later
// UpdateVariables on any formula and any variable values: byte 0 is the edit mode (bit 0),
// byte 1 the checked letters (bit 0 for a), the rest the formula and the values of a to h,
// one per line.

#include "formula/charclasses.h"
#include "formula/variables.h"
#include "fuzzing.h"

#include <algorithm>

using namespace lw;
using namespace lw::fuzz;
using lw::detail::isParameter;

namespace {

VariableValues variablesFrom(uint8_t mode, uint8_t checked, std::u16string_view lines,
                             std::u16string &formula)
{
    VariableValues variables;
    variables.editMode = (mode & 1) != 0;
    for (std::size_t row = 0; row < 8; ++row)
        variables.checked[row] = (checked >> row & 1) != 0;
    std::size_t start = 0;
    for (std::size_t part = 0; part <= 8 && start <= lines.size(); ++part) {
        std::size_t end = lines.find(u'\n', start);
        if (end == std::u16string_view::npos)
            end = lines.size();
        const std::u16string_view text = lines.substr(start, end - start);
        if (part == 0)
            formula = text;
        else
            variables.values[part - 1] = text;
        start = end + 1;
    }
    return variables;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::u16string lines = Utf8Text(data + 2, size - 2);
    std::u16string formula;
    const VariableValues variables = variablesFrom(data[0], data[1], lines, formula);
    const std::u16string result = UpdateVariables(formula, variables);

    if (!variables.editMode && std::any_of(result.begin(), result.end(), isParameter))
        Fail("a variable is left outside edit mode", lines, Printable(result));
    // Each letter put in is replaced by its whole value (an empty one by "0"), and nothing put
    // in is replaced again.
    std::size_t expected = formula.size();
    for (const char16_t c : formula) {
        const auto row = static_cast<std::size_t>(c - u'a');
        if (variables.editMode && isParameter(c) && variables.checked[row])
            expected = expected + std::max<std::size_t>(variables.values[row].size(), 1) - 1;
    }
    if (result.size() != expected)
        Fail("the result is not the formula with each variable replaced once", lines,
             Printable(result));
    return 0;
}
