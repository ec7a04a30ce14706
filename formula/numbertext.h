#pragma once

#include <string>

namespace lw {

// The text that stands for a value inside a formula: 7 significant digits,
// "." as decimal point, ".5", "-.125", "1E-05", "1.234568E+07", "INF", "NAN".
std::string NumberTextAscii(float value);
std::u16string NumberText(float value);

} // namespace lw
