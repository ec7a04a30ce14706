// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lw::test {

// What the reference makes of a typed equation at one value of x.
struct PupilReading {
    bool refused = false;
    bool hasValue = true; // false: read, but a fault at this x leaves no value
    double value = 0;
    std::string why; // the reason for a refusal, or the first fault met
    // How close the argument of a step that can fault or jump came to where it does; a float
    // evaluation may land on the other side below that.
    double nearestSingular = INFINITY;
    double largest = 0; // the largest magnitude of any intermediate value, rounding's scale
};

// A slow, independent reading of the pupil's notation; the parameters a to h in order.
PupilReading ReadPupil(std::u16string_view typed, double x,
                       const std::array<double, 8> &parameters);

// A random typed equation; about one in five has been damaged by one random edit.
std::u16string GenerateTypedEquation(uint64_t seed);

} // namespace lw::test
