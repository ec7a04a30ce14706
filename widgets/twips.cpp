// SPDX-License-Identifier: GPL-3.0-or-later

#include "twips.h"

#include "formula/numeric.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <limits>

namespace lw {

namespace {
double logicalDpi(bool horizontal)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96.0;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}

int twipsOf(int pixels, double twipsPerPixel)
{
    return static_cast<int>(std::nearbyint(pixels * twipsPerPixel));
}

// The fewest pixels that read back as at least the twips, so that a size read
// back and converted again stays the same pixels at any scale.
int pixelsUp(int twips, double twipsPerPixel)
{
    int pixels = static_cast<int>(std::floor(twips / twipsPerPixel));
    while (twipsOf(pixels, twipsPerPixel) < twips)
        ++pixels;
    return pixels;
}

int toPixels(int twips, double twipsPerPixel)
{
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
}
} // namespace

double TwipsPerPixelX()
{
    return 1440.0 / logicalDpi(true);
}

double TwipsPerPixelY()
{
    return 1440.0 / logicalDpi(false);
}

QSize OuterToClient(QSize outer)
{
    return outer - QSize(NonClientWidth, NonClientHeight);
}

QSize ClientToOuter(QSize client)
{
    return client + QSize(NonClientWidth, NonClientHeight);
}

QSize ClientPixelsForOuter(QSize outer, double twipsPerPixelX, double twipsPerPixelY)
{
    const QSize client = OuterToClient(outer);
    return QSize(pixelsUp(client.width(), twipsPerPixelX),
                 pixelsUp(client.height(), twipsPerPixelY));
}

QSize OuterForClientPixels(QSize clientPixels, double twipsPerPixelX, double twipsPerPixelY)
{
    return ClientToOuter(QSize(twipsOf(clientPixels.width(), twipsPerPixelX),
                               twipsOf(clientPixels.height(), twipsPerPixelY)));
}

QRect PixelRect(const QRect &twips, double twipsPerPixelX, double twipsPerPixelY)
{
    const int x1 = toPixels(twips.x(), twipsPerPixelX);
    const int y1 = toPixels(twips.y(), twipsPerPixelY);
    const int x2 = toPixels(twips.x() + twips.width(), twipsPerPixelX);
    const int y2 = toPixels(twips.y() + twips.height(), twipsPerPixelY);
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

int16_t GraphPixels(int twips, double twipsPerPixel)
{
    const double pixels = twips / twipsPerPixel;
    if (const auto rounded = RoundToInt16(pixels))
        return *rounded;
    return pixels < 0 ? std::numeric_limits<int16_t>::min() : std::numeric_limits<int16_t>::max();
}

int TwipsToPixelsX(int twips)
{
    return toPixels(twips, TwipsPerPixelX());
}

int TwipsToPixelsY(int twips)
{
    return toPixels(twips, TwipsPerPixelY());
}

QRect TwipsRect(int left, int top, int width, int height)
{
    return PixelRect(QRect(left, top, width, height), TwipsPerPixelX(), TwipsPerPixelY());
}

} // namespace lw
