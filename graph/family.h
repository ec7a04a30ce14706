// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "formula/variables.h"
#include "graph/curveentry.h"
#include "settings/graphsettings.h"

#include <array>
#include <string>
#include <vector>

namespace lw {

// A family of curves (a Funktionenschar): one equation drawn once for each value of a parameter.
inline constexpr int MaxFamilyCurves = 50;

// Ten colours told apart at a glance on the grey picture and on white paper, in the order the
// family's curves take them.
extern const std::array<Colour, 10> FamilyPalette;

enum class FamilyFault {
    None,
    NoCurve, // a step of 0, or one that leads away from the end
    TooMany, // more than MaxFamilyCurves values
};

struct FamilyValues {
    std::vector<double> values{};
    std::vector<std::u16string> texts{}; // the values as the panel shows them
    FamilyFault fault = FamilyFault::None;
};

// from, from + step, ... up to `to` (an end the steps miss by a rounding is still reached);
// each value rounded to RangeDecimals, so 0.1 steps give 0.3, not 0.30000000000000004.
FamilyValues FamilyMembers(const ParameterRange &range);

// The base curve once for each value of the parameter in `row`: the value put in, its legend
// "a = 2", and the palette's colours in turn.
std::vector<CurveEntry> FamilyCurves(const CurveEntry &base, int row,
                                     const std::vector<std::u16string> &valueTexts);

// The decimals a value of a row with this step is written with: those of the step, at most 6.
int StepDecimals(double step);

// The decimals of a family's or a slider's values: those of the step or of the start, whichever
// has more.
int RangeDecimals(const ParameterRange &range);

// A slider of more positions than this no longer moves by a value a pupil can follow.
inline constexpr int MaximumSliderPositions = 100000;

enum class SliderRangeFault {
    None,
    EndNotAboveStart, // "to" is not greater than "from"
    StepNotPositive,
    TooManyPositions, // more than MaximumSliderPositions steps from "from" to "to"
};

// Whether a row's slider can walk this range, and which part is wrong when it cannot.
SliderRangeFault CheckSliderRange(const ParameterRange &range);

// A parameter's value as the panel shows it and a formula takes it: "-2", "0,5".
std::u16string ParameterValueText(double value, int decimals);

// The legend of one family member: "a = -2".
std::u16string FamilyLegend(int row, const std::u16string &valueText);

} // namespace lw
