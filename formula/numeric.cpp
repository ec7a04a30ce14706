#include "numeric.h"

#include <cmath>

namespace lw {

int16_t CalcError = 0;

namespace {

StepResult checked(float result)
{
    if (!std::isfinite(result))
        return std::nullopt;
    return result;
}

} // namespace

StepResult CalcSum(float acc, float value, int index)
{
    return index == 1 ? value : checked(acc + value);
}

StepResult CalcDif(float acc, float value, int index)
{
    return index == 1 ? value : checked(acc - value);
}

StepResult CalcPro(float acc, float value, int index)
{
    return index == 1 ? value : checked(acc * value);
}

StepResult CalcDiv(float acc, float value, int index)
{
    if (index == 1)
        return value;
    // A zero divisor is a fault: 1/x sampled at 0 must be a gap, not a point at 0.
    if (value == 0.0f)
        return std::nullopt;
    return checked(acc / value);
}

StepResult CalcPot(float acc, float value, int index)
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
    const double result = std::pow(base, exponent);
    if (!std::isfinite(result))
        return std::nullopt;
    // A finite double beyond the float range becomes an infinite float here;
    // only the next checked step faults on it.
    return static_cast<float>(result);
}

StepResult CalcAmi(float acc, float value, int index, float count)
{
    if (index == 1)
        return value;
    const StepResult sum = checked(acc + value);
    if (!sum || static_cast<float>(index) != count)
        return sum;
    return checked(*sum / count);
}

float CalcSqr(float value)
{
    if (value < 0.0f) {
        CalcError = -1;
        return 0.0f;
    }
    return static_cast<float>(std::sqrt(static_cast<double>(value)));
}

float CalcSin(float value)
{
    return static_cast<float>(std::sin(static_cast<double>(value)));
}

float CalcCos(float value)
{
    return static_cast<float>(std::cos(static_cast<double>(value)));
}

float CalcTan(float value)
{
    return static_cast<float>(std::tan(static_cast<double>(value)));
}

StepResult CalcAbs(float value)
{
    return checked(std::fabs(value));
}

std::optional<int16_t> RoundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default mode rounds halves to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}

} // namespace lw
