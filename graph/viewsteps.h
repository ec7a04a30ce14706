// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/graphsettings.h"

#include <optional>
#include <utility>

#include <cstdint>

namespace lw {

// The display ranges a zoom walks through: 1, 2, 3, 4, 5, 6, 8, then 10, 12, 15, 20, 25, 30, 40,
// 50, 60, 80 times the powers of ten, and 32767 last. From a range between two of them the next
// step is the nearer one in its direction; 0 when there is no step further.
int16_t ZoomedRange(int16_t range, bool wider);

// The view after a step of zoom: both display ranges keep their ratio, marks and numbers are
// spaced as SpaceZoomedView says, and the step of Precision stays with the range the zooming
// began at. False when the view is at its end.
bool ZoomView(GraphSettingsRecord &settings, bool wider, int pixelsX, int pixelsY);
// Spaces marks and numbers 0.001 ... 0.1, 0.2, 0.5, 1, 2, 5, 10 ... units apart, the closest
// that keeps the numbers at least 24 pixels apart on a picture `pixels` wide and high and the
// numbers along the x axis clear of each other; the whole spacings get the nearest whole
// number, at least 1.
void SpaceZoomedView(GraphSettingsRecord &settings, int pixelsX, int pixelsY);
// A view reached by zooming takes the spacing a zoom gives it on a picture of this size; a view
// set otherwise keeps the spacing it was given.
void FollowPictureSize(GraphSettingsRecord &settings, int pixelsX, int pixelsY);

// Moves the centre by a tenth of the display range in x and y steps of -1, 0 or 1; false, and
// nothing moved, when the centre would leave 16 bits.
bool PanView(GraphSettingsRecord &settings, int stepsX, int stepsY);

// Takes the view (centre, display ranges, marks and numbers) from `stored`, the rest stays.
void TakeView(GraphSettingsRecord &settings, const GraphSettingsRecord &stored);

// The view's centre in units: the whole centre and its fraction.
struct ViewCentre {
    double x = 0;
    double y = 0;
};
ViewCentre CentreOf(const GraphSettingsRecord &settings);
// Puts the centre at (x, y), rounded to 4 decimals (what the centre fields show), as the nearest
// whole centre and its fraction; false, and nothing changed, beyond 16 bits.
bool PlaceCentre(GraphSettingsRecord &settings, ViewCentre centre);

// The decimals that tell apart centres a pixel apart at this many pixels a unit: 0 to 4.
int CentreDecimals(int16_t pixelsPerUnit);

struct PlotGeometry;
// How many pixels across and down picture `to` shows what picture `from` shows, when it shows
// the same at another centre (the same size, scale and everything else); nullopt otherwise.
std::optional<std::pair<int, int>> ViewShift(const GraphSettingsRecord &fromSettings,
                                             const PlotGeometry &from,
                                             const GraphSettingsRecord &toSettings,
                                             const PlotGeometry &to);

// A step of zoom (as ZoomView) that keeps the point under the pointer at (column, row) of a
// picture `pixelsX` x `pixelsY` where it is, to the pixel.
bool ZoomViewAbout(GraphSettingsRecord &settings, bool wider, int pixelsX, int pixelsY,
                   double column, double row);
// The view of a drag: the centre `start` moved so that the picture follows the pointer's
// movement of (dx, dy) pixels, with the units of `start`'s picture.
bool DragView(GraphSettingsRecord &settings, ViewCentre start, double dx, double dy, int pixelsX,
              int pixelsY);

} // namespace lw
