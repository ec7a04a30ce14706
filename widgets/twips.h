// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QSize>

#include <cstdint>

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

// Qt hands the program only the client area, so the frame and title bar that
// the outer size includes are fixed here (twips).
constexpr int NonClientWidth = 120;
constexpr int NonClientHeight = 445;

QSize OuterToClient(QSize outer);
QSize ClientToOuter(QSize client);

// Pixels are rounded up so that the size read back from the window is never
// below the minimum the pass asked for, which would start another widening.
QSize ClientPixelsForOuter(QSize outer, double twipsPerPixelX, double twipsPerPixelY);
QSize OuterForClientPixels(QSize clientPixels, double twipsPerPixelX, double twipsPerPixelY);

// Edge by edge, so that controls that touch in twips touch in pixels.
QRect PixelRect(const QRect &twips, double twipsPerPixelX, double twipsPerPixelY);

// A picture's side in pixels: rounded half to even, held to 16 bits.
int16_t GraphPixels(int twips, double twipsPerPixel);

} // namespace lw
