// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

namespace lw {

// The engine's error flag: 0 or -1. Set by the steps (CalcSqr, CalcSgn, ...) and
// the evaluators (text and compiled), cleared only by whoever starts an
// evaluation (the plotter, the eval tool). One a thread: curves are plotted side by side.
extern thread_local int16_t CalcError;

// A folding step either yields the new accumulator or signals an arithmetic
// fault, which the evaluator turns into CalcError = -1.
using StepResult = std::optional<float>;

// The steps run once per argument of every sample, so they stay inline.
namespace detail {
inline StepResult checked(float result)
{
    if (!std::isfinite(result))
        return std::nullopt;
    return result;
}
} // namespace detail

inline StepResult CalcSum(float acc, float value, int index)
{
    return index == 1 ? value : detail::checked(acc + value);
}

inline StepResult CalcDif(float acc, float value, int index)
{
    return index == 1 ? value : detail::checked(acc - value);
}

inline StepResult CalcPro(float acc, float value, int index)
{
    return index == 1 ? value : detail::checked(acc * value);
}

inline StepResult CalcDiv(float acc, float value, int index)
{
    if (index == 1)
        return value;
    // A zero divisor is a fault: 1/x sampled at 0 must be a gap, not a point at 0.
    if (value == 0.0f)
        return std::nullopt;
    return detail::checked(acc / value);
}

inline StepResult CalcPot(float acc, float value, int index)
{
    if (index == 1)
        return value;
    const double base = acc;
    const double exponent = value;
    if (std::isnan(base) || std::isnan(exponent))
        return std::nullopt;
    if (base < 0 && std::isfinite(exponent) && exponent != std::trunc(exponent))
        return std::nullopt;
    if (base == 0 && exponent < 0)
        return std::nullopt;
    // A float squared is exact in double, so this is pow's own result.
    const double result = exponent == 2.0 ? base * base : std::pow(base, exponent);
    if (!std::isfinite(result))
        return std::nullopt;
    // A finite double beyond the float range becomes an infinite float here;
    // only the next checked step faults on it.
    return static_cast<float>(result);
}

// CalcPot(base, 3, 2) without pow where any faithfully rounded pow gives the same float: base
// squared is exact in double, so the product is base^3 correctly rounded, and pow returns it
// or a neighbour; when all three convert to one float, so does pow's result.
// bench/exhaustive_check compares the three below with CalcPot for every float.
inline StepResult CalcPotCube(float base)
{
    if (!std::isfinite(base))
        return std::nullopt;
    const double b = base;
    const double product = b * b * b;
    if (product == 0)
        return static_cast<float>(product);
    const auto bits = std::bit_cast<uint64_t>(product);
    const auto below = static_cast<float>(std::bit_cast<double>(bits - 1));
    const auto above = static_cast<float>(std::bit_cast<double>(bits + 1));
    if (std::bit_cast<uint32_t>(below) == std::bit_cast<uint32_t>(above))
        return below;
    return static_cast<float>(std::pow(b, 3.0));
}

// CalcPot(base, 1, 2): pow's result lies within an ulp of base, and converts back to it.
inline StepResult CalcPotOne(float base)
{
    if (!std::isfinite(base))
        return std::nullopt;
    return base;
}

// CalcPot(base, 0, 2): pow(b, 0) is 1 for every b, infinities included.
inline StepResult CalcPotZero(float base)
{
    if (std::isnan(base))
        return std::nullopt;
    return 1.0f;
}

inline StepResult CalcAmi(float acc, float value, int index, float count)
{
    if (index == 1)
        return value;
    const StepResult sum = detail::checked(acc + value);
    if (!sum || static_cast<float>(index) != count)
        return sum;
    return detail::checked(*sum / count);
}

inline float CalcSqr(float value)
{
    if (value < 0.0f) {
        CalcError = -1;
        return 0.0f;
    }
    return static_cast<float>(std::sqrt(static_cast<double>(value)));
}

inline StepResult CalcAbs(float value)
{
    return detail::checked(std::fabs(value));
}

namespace detail {
// A function value that is no finite float is a gap, as a negative square
// root is: the flag is set and the result is 0.
inline float checkedFunction(double result)
{
    const auto rounded = static_cast<float>(result);
    if (!std::isfinite(rounded)) {
        CalcError = -1;
        return 0.0f;
    }
    return rounded;
}
} // namespace detail

// -0 has no sign of its own here: it is 0, like +0.
inline float CalcSgn(float value)
{
    if (std::isnan(value))
        return detail::checkedFunction(value);
    return value > 0.0f ? 1.0f : value < 0.0f ? -1.0f : 0.0f;
}

// Rounds to the nearest 16-bit integer, halves to even; nullopt on overflow
// (or for a non-finite value). The plotter rounds every sample's pixel with it, so it takes no
// library call: adding and taking away 2^52 rounds a double below it to a whole number, halves
// to even as nearbyint does in the default rounding mode.
inline std::optional<int16_t> RoundToInt16(double value)
{
    constexpr double wholeFrom = 4503599627370496.0;
    if (!(std::fabs(value) <= 32768.5))
        return std::nullopt; // also NaN and the infinities
    const double rounded =
        value >= 0 ? (value + wholeFrom) - wholeFrom : (value - wholeFrom) + wholeFrom;
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}

// The 16-bit integer of a wider one; nullopt when it does not fit.
std::optional<int16_t> FitInt16(long value);

} // namespace lw
