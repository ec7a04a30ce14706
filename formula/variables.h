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

// Puts the parameters into a formula: outside edit mode every a to h becomes
// "0"; in edit mode a checked letter becomes its value text as typed and an
// unchecked one stays. What is put in is not scanned again.
std::u16string UpdateVariables(std::u16string_view formula, const VariableValues &variables);

} // namespace lw
