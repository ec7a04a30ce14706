#include "numbertext.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace lw {

std::string NumberTextAscii(float value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0.0f)
        return "0"; // -0 as well

    // d.dddddde±x: the exact value of the float rounded to 7 digits, ties to even.
    char buf[32];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::scientific, 6);
    const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t ePos = sci.find('e');
    const bool negative = sci.front() == '-';
    std::string digits;
    for (char c : sci.substr(0, ePos)) {
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int exponent = std::atoi(std::string(sci.substr(ePos + 1)).c_str());

    std::string out = negative ? "-" : "";
    if (exponent < -4 || exponent > 6) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10)
            out += '0';
        out += std::to_string(magnitude);
    } else if (exponent < 0) {
        out += '.';
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto intCount = static_cast<std::size_t>(exponent + 1);
        if (digits.size() <= intCount) {
            out += digits;
            out.append(intCount - digits.size(), '0');
        } else {
            out.append(digits, 0, intCount);
            out += '.';
            out.append(digits, intCount);
        }
    }
    return out;
}

std::u16string NumberText(float value)
{
    const std::string ascii = NumberTextAscii(value);
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace lw
