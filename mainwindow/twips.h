#pragma once

#include <QRect>

namespace lw {

// Positions in the windows are designed in twips (1440 to the inch); the
// screen says how many make a pixel (15 at 96 dots per inch).
double TwipsPerPixelX();
double TwipsPerPixelY();

int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);

// A rectangle given in twips, converted edge by edge so that controls that
// touch in twips touch in pixels and never overlap.
QRect TwipsRect(int left, int top, int width, int height);

} // namespace lw
