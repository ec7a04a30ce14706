// SPDX-License-Identifier: GPL-3.0-or-later

#include "family.h"

#include "formula/numbertext.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace lw {

// Colours are 0x00BBGGRR.
const std::array<Colour, 10> FamilyPalette = {
    0xB4771F, // blue
    0x0E7FFF, // orange
    0x2CA02C, // green
    0x2827D6, // red
    0xBD6794, // violet
    0x4B568C, // brown
    0xC277E3, // pink
    0xCFBE17, // cyan
    0x22BDBC, // olive
    0x000000, // black
};

int StepDecimals(double step)
{
    step = std::fabs(step);
    int decimals = 0;
    while (
        decimals < 6
        && std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals)))
               > 1e-9 * std::pow(10.0, decimals))
        ++decimals;
    return decimals;
}

int RangeDecimals(const ParameterRange &range)
{
    return std::max(StepDecimals(range.step), StepDecimals(range.from));
}

SliderRangeFault CheckSliderRange(const ParameterRange &range)
{
    if (!(range.from < range.to))
        return SliderRangeFault::EndNotAboveStart;
    if (!(range.step > 0))
        return SliderRangeFault::StepNotPositive;
    if (!((range.to - range.from) / range.step <= MaximumSliderPositions))
        return SliderRangeFault::TooManyPositions;
    return SliderRangeFault::None;
}

FamilyValues FamilyMembers(const ParameterRange &range)
{
    const auto [from, to, step] = range;
    if (!std::isfinite(from) || !std::isfinite(to) || !std::isfinite(step) || step == 0)
        return {.fault = FamilyFault::NoCurve};
    const double steps = (to - from) / step;
    // The end counts when the steps miss it by a rounding, which grows with the ends' size.
    const double slack =
        1e-9 + 4 * DBL_EPSILON * (std::fabs(from) + std::fabs(to)) / std::fabs(step);
    if (steps < -slack)
        return {.fault = FamilyFault::NoCurve};
    if (steps + slack >= MaxFamilyCurves)
        return {.fault = FamilyFault::TooMany};
    const int count = static_cast<int>(std::floor(steps + slack)) + 1;
    const int decimals = RangeDecimals(range);
    const double scale = std::pow(10.0, decimals);
    FamilyValues family;
    for (int i = 0; i < count; ++i) {
        family.values.push_back(std::round((from + i * step) * scale) / scale + 0.0);
        family.texts.push_back(ParameterValueText(family.values.back(), decimals));
    }
    return family;
}

std::vector<CurveEntry> FamilyCurves(const CurveEntry &base, int row,
                                     const std::vector<std::u16string> &valueTexts)
{
    const auto index = static_cast<std::size_t>(row);
    CurveEntry curve = base;
    curve.parameters.editMode = true;
    curve.parameters.checked[index] = true;
    std::vector<CurveEntry> members;
    for (std::size_t i = 0; i < valueTexts.size(); ++i) {
        curve.parameters.values[index] = valueTexts[i];
        curve.formula = UpdateVariables(curve.kznFormula, curve.parameters);
        curve.legend = FamilyLegend(row, valueTexts[i]);
        curve.colour = FamilyPalette[i % FamilyPalette.size()];
        members.push_back(curve);
    }
    return members;
}

std::u16string ParameterValueText(double value, int decimals)
{
    return FixedDecimalText(value, decimals, u',');
}

std::u16string FamilyLegend(int row, const std::u16string &valueText)
{
    std::u16string legend(1, static_cast<char16_t>(u'a' + row));
    legend += u" = ";
    legend += valueText;
    return legend;
}

} // namespace lw
