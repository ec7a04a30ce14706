// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "formula/equation.h"
#include "formula/variables.h"
#include "settings/graphsettings.h"

#include <cstdint>
#include <string>

namespace lw {

// One curve of a picture: the equation as the pupil typed it and what was
// drawn of it, with the options it was drawn with, so that the picture can be
// drawn again at any size and view.
struct CurveEntry {
    std::u16string typed{};
    Notation notation = Notation::Mathematical;
    VariableValues parameters{}; // as the panel held them
    std::u16string formula{};    // the KZN formula with the parameters put in: what was drawn
    // The KZN formula before the parameters were put in: a slider puts in new values.
    std::u16string kznFormula{};
    // The legend's text where it is not the equation: a family's "a = -2".
    std::u16string legend{};
    Colour colour = 0;
    float precision = 0.1f;
    bool linkPoints = true;
    bool stopped = false; // its first draw was stopped before the curve's end
    bool visible = true;
    bool failed = false; // it failed when drawn again (it drew before, so it should not)
    uint64_t id = 0;     // tells an entry apart from one that took its place during a yield
};

// A point of a curve marked on the picture from its analysis: a small circle with its label in
// the curve's colour. It shows while its curve does.
struct PointMark {
    uint64_t curve = 0; // the entry's id
    double x = 0;
    double y = 0;
    Colour colour = 0;
    std::u16string label;
    bool operator==(const PointMark &) const = default;
};

// The settings an entry is drawn with: the picture's, with the entry's colour,
// precision and joining.
GraphSettingsRecord SettingsForEntry(const CurveEntry &entry, const GraphSettingsRecord &settings);

} // namespace lw
