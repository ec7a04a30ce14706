// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graph/graphdraw.h"

#include <QString>
#include <cstdint>

#include <string_view>

namespace lw {

enum class PlotOutcome { Completed, Stopped, Failed };

// How a curve ended; a failed one brings the German message to show.
struct PlotResult {
    PlotOutcome outcome = PlotOutcome::Completed;
    QString message; // "FEHLER: ..." when Failed, else empty
    // Whether a point or line of the curve, up to where it ended, reaches a pixel of
    // [0, GraphWidth) x [0, GraphHeight): a curve that never does looks as if nothing was drawn.
    bool anyVisible = false;
};

// Draws one curve of a KZN formula in x on the surface, sampling x across the
// visible width in steps of SampleStep and yielding to the event loop after
// every sample. The geometry and the settings are read by reference for every
// point, so changes made during a yield take effect from the next one; the
// range and the step stay as they were at the start. A formula error or an
// arithmetic overflow of the plotter itself ends the curve (Failed) with its
// message for the caller to show once. A sample whose pixel lies beyond 16
// bits is a gap; one whose join would run from above the picture to below it
// or back (a pole) starts a new run, as after a gap.
PlotResult PlotGraph(std::u16string_view formula, const PlotGeometry &geometry,
                     const GraphSettingsRecord &settings, DrawingSurface &surface);

// The step the curve is sampled in: Precision, or at a view narrower than the range the step
// belongs to (StepRangeX) as many times finer, so that a curve looks alike at every zoom; never
// coarser, and Precision again where the finer walk would not advance.
float SampleStep(const GraphSettingsRecord &settings);

// Whether a walk from lower in steps of step moves on at every sample up to
// upper; a step of 0 or one lost in the rounding of x never would.
bool WalkAdvances(float lower, float upper, float step);

// The range of x a curve covers: the scale's width around the centre.
struct SampleRange {
    float lower;
    float upper;
};
SampleRange SampleRangeOf(int16_t centreX, int16_t scaleX);
// The range with these settings.
SampleRange SampleRangeOf(const GraphSettingsRecord &settings);

// Why x would never reach the end of `range` in steps of `precision`.
enum class PrecisionFault { None, NotPositive, TooFine };
PrecisionFault CheckPrecision(float precision, SampleRange range);

} // namespace lw
