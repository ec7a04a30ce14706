// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>
#include <string_view>

namespace lw {

// The parameters a to h as the variables panel holds them.
struct VariableValues {
    bool editMode = false; // the panel is enabled
    std::array<bool, 8> checked{};
    std::array<std::u16string, 8> values{u"0", u"0", u"0", u"0", u"0", u"0", u"0", u"0"};
};

// What a row's slider walks through, and where a family drawn from it starts.
struct ParameterRange {
    double from = -5;
    double to = 5;
    double step = 0.1;
    friend bool operator==(const ParameterRange &, const ParameterRange &) = default;
};

inline constexpr int ParameterCount = 8;

// Puts the parameters into a formula: outside edit mode every a to h becomes
// "0"; in edit mode a checked letter becomes its value text as typed (an empty
// one "0", as an empty argument would be skipped rather than read as 0) and an
// unchecked one stays. What is put in is not scanned again.
std::u16string UpdateVariables(std::u16string_view formula, const VariableValues &variables);

// The parameters a formula uses that the panel does not supply, and so count as 0: bit i for
// the letter a + i.
unsigned UnsuppliedParameters(std::u16string_view formula, const VariableValues &variables);

} // namespace lw
