#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lw {

// The text that stands for a value inside a formula: 7 significant digits,
// "." as decimal point, ".5", "-.125", "1E-05", "1.234568E+07", "INF", "NAN".
std::string NumberTextAscii(float value);
std::u16string NumberText(float value);

// The number text without a heap allocation, and the value that text reads
// back as through TextToNumber: what a formula sees in place of x.
struct NumberTextResult {
    char16_t chars[16];
    uint8_t length = 0;
    float readBack = 0;
    std::u16string_view text() const { return {chars, length}; }
};
NumberTextResult NumberTextWithValue(float value);
// Only the value the number text reads back as, without forming the text.
float NumberTextValue(float value);

namespace detail {
// The formatter by exact decimal expansion; the fast one must agree with it.
std::string numberTextExact(float value);
} // namespace detail

} // namespace lw
