#include "twips.h"

#include "layoutpass.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

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

int toPixels(int twips, double perPixel)
{
    return static_cast<int>(std::nearbyint(twips / perPixel));
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
