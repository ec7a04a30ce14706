// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "formula/variables.h"

#include <QString>

#include <string_view>

namespace lw {

// What a draw of the formula (before the parameters are put in) should tell the pupil about
// them: the letters that count as 0 because the panel does not supply them, e as Euler's number,
// values that are no numbers. Empty when there is nothing to say.
QString ParameterNote(std::u16string_view formula, const VariableValues &values);

// A value box's text is a number (the user's format, or "." or "," as the decimal point), or
// empty, which counts as 0.
bool IsParameterValue(const QString &text);

} // namespace lw
