// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "converter.h"

#include <string_view>

namespace lw {

// What the draw command does to an equation in mathematical notation whose
// blanks are already removed: a lone operand is multiplied by 1 (so "x", "X"
// and "5" draw as themselves), then the term is converted.
ConvertResult NormaliseMathTerm(std::u16string_view term);

// The message for a term that cannot be converted.
std::u16string ConversionFailedMessage();
// The message for an equation of nothing but blanks.
std::u16string EmptyEquationMessage();

} // namespace lw
