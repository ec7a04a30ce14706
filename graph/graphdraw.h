// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graph/curveentry.h"
#include "graph/drawingsurface.h"
#include "settings/graphsettings.h"

#include <cstdint>
#include <vector>

namespace lw {

// Where a picture's units lie on its pixels: its size and what follows from
// it and the settings. The plotter reads it afresh for every point, so a
// picture redrawn at another size while a curve is drawn takes the rest of
// the curve along.
struct PlotGeometry {
    // Each in x and in y: the picture in pixels, a unit in pixels, the pixel of the whole
    // centre (ScreenCentralX/Y: the middle pixel, moved by the centre's fraction), the units
    // from the middle to the edge.
    int16_t GraphWidth = 0, GraphHeight = 0;
    int16_t PixelsPerUnitX = 0, PixelsPerUnitY = 0;
    int16_t CentralPixelX = 0, CentralPixelY = 0;
    float HalfRangeX = 0, HalfRangeY = 0;
    // The axes' crossing point; only where OriginPlaced says it has a place.
    int16_t OriginPixelX = 0, OriginPixelY = 0;
    // False when no unit is drawable, the crossing point lies right of or
    // above the picture, or its pixel is beyond 16 bits: no axes then.
    bool OriginPlaced = false;
};

// The geometry of a picture of width x height pixels with these settings. A
// display range of 0 or less leaves the units at 0 pixels.
PlotGeometry ComputeGeometry(const GraphSettingsRecord &settings, int16_t width, int16_t height);

// Clears the surface and draws the axes, marks and numbers of the geometry.
// A unit narrower than a pixel leaves the surface cleared; a position beyond
// 16 bits ends the drawing where it occurs.
void DrawCoordinateSystem(const PlotGeometry &geometry, const GraphSettingsRecord &settings,
                          DrawingSurface &surface);

// A picture the program draws on: its surface, the geometry of the axes drawn
// on it last, and the curves drawn since it was last erased, in the order
// drawn. Without a surface of its own it still keeps its geometry.
struct Picture {
    DrawingSurface *surface = &NoSurface();
    PlotGeometry geometry;
    // Nothing drawn on it yet: a first draw gives it its axes before the curve.
    bool blank = true;
    std::vector<CurveEntry> curves;
    std::vector<PointMark> marks;
};

// A blank picture of width x height pixels on the surface.
Picture BlankPicture(DrawingSurface &surface, int16_t width = 0, int16_t height = 0);
// Gives the picture a new size; what it shows is redrawn by the next RedrawAxes.
void ResizePicture(Picture &picture, int16_t width, int16_t height);
// Clears the picture and draws its axes for its size and the settings.
void RedrawAxes(Picture &picture, const GraphSettingsRecord &settings);

// The picture on the screen: the main window gives it its surface and size;
// the settings dialog and the pointer position use it too.
Picture &ScreenPicture();

} // namespace lw
