#pragma once

#include "settings/graphsettings.h"

#include <QString>

namespace lw {

// What the coordinate system and the plotter draw on: the picture area, the
// print-out, a recording for tests and traces, or an export file. Positions
// are pixels, (0, 0) top left, y downward.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    virtual void clear() = 0;
    virtual void line(int x1, int y1, int x2, int y2, Colour colour) = 0;
    virtual void point(int x, int y, Colour colour) = 0;
    virtual void setTextPosition(int x, int y) = 0;
    virtual void setTextColour(Colour colour) = 0;
    // Top-left corner of the text at the text position.
    virtual void text(const QString &text) = 0;
};

// True while printing: the print-out is the current surface instead of the
// picture. Set and cleared by the printing command only.
extern bool PrintMode;

// The program registers its two surfaces; either may be absent (nothing is drawn).
void SetPictureSurface(DrawingSurface *surface);
void SetPrintSurface(DrawingSurface *surface);
DrawingSurface *CurrentSurface();

} // namespace lw
