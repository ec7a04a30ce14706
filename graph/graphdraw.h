#pragma once

#include <cstdint>

namespace lw {

// The plot geometry: pixel size of the current surface (set by the window's
// layout, by printing and by linienwerk-cli) and what DrawCoordinateSystem
// derives from it and the settings; the plotter reads it for every point.
extern int16_t GraphWidth;
extern int16_t GraphHeight;
extern int16_t PixelsPerUnitX;
extern int16_t PixelsPerUnitY;
extern int16_t CentralPixelX;
extern int16_t CentralPixelY;
extern float HalfRangeX;
extern float HalfRangeY;
extern int16_t OriginPixelX;
extern int16_t OriginPixelY;

// Clears the current surface and draws the axes, marks and numbers. A display
// range of 0 or less, or a unit narrower than a pixel, leaves the surface
// cleared; a position beyond 16 bits ends the drawing where it occurs.
void DrawCoordinateSystem();

// Derives the geometry without drawing, as DrawCoordinateSystem does.
void ComputeGeometry();

} // namespace lw
