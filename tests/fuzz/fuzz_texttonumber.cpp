// SPDX-License-Identifier: GPL-3.0-or-later
// TextToNumber on any code units, and the number text of what it reads (and of any float's bits).

#include "formula/numbertext.h"
#include "formula/texthelpers.h"
#include "fuzzing.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

using namespace lw;
using namespace lw::fuzz;

namespace {

uint32_t bits(float value)
{
    return std::bit_cast<uint32_t>(value);
}

std::string describe(float value)
{
    std::ostringstream out;
    out.precision(9);
    out << value << " (bits 0x" << std::hex << bits(value) << ")";
    return out.str();
}

// The text that stands for `value` in a formula reads back as seven digits of it.
void checkNumberText(float value, std::u16string_view input)
{
    const NumberTextResult number = NumberTextWithValue(value);
    const std::string text = NumberTextAscii(value);
    if (text != detail::numberTextExact(value))
        Fail("the fast number text differs from the exact one", input,
             describe(value) + ": " + text + " against " + detail::numberTextExact(value));
    if (bits(NumberTextValue(value)) != bits(number.readBack))
        Fail("the number text's value differs without the text", input,
             describe(value) + ": " + describe(NumberTextValue(value)) + " against "
                 + describe(number.readBack));
    if (bits(TextToNumber(number.text())) != bits(number.readBack))
        Fail("the number text does not read back as the value it promises", input,
             describe(value) + ": " + text + " promises " + describe(number.readBack));
    if (!std::isfinite(value))
        return;
    const double error = std::fabs(static_cast<double>(number.readBack) - value);
    // Half a unit in the seventh digit, then one float rounding of the decimal value.
    const double allowed =
        6e-7 * std::fabs(static_cast<double>(value)) + std::numeric_limits<float>::denorm_min();
    if (!(error <= allowed))
        Fail("the number text is not the value to seven digits", input,
             describe(value) + ": " + text + " reads " + describe(number.readBack));
}

std::u16string without(std::u16string_view text, std::u16string_view dropped)
{
    std::u16string kept;
    for (const char16_t c : text) {
        if (dropped.find(c) == std::u16string_view::npos)
            kept.push_back(c);
    }
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::u16string text = Utf16Units(data, size);
    const float value = TextToNumber(text);
    checkNumberText(value, text);

    // Blanks, tabs and line feeds are skipped wherever they stand, and "," is ".".
    if (bits(TextToNumber(without(text, u" \t\n"))) != bits(value))
        Fail("blanks change what a number text reads as", text, describe(value));
    std::u16string pointed = text;
    std::replace(pointed.begin(), pointed.end(), u',', u'.');
    if (bits(TextToNumber(pointed)) != bits(value))
        Fail("a decimal comma reads differently from a point", text, describe(value));

    if (size >= sizeof(float)) {
        float raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        checkNumberText(raw, text);
    }
    return 0;
}
