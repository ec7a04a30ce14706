// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphdraw.h"

#include "drawingsurface.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"
#include "pixelfont.h"
#include "settings/graphsettings.h"

#include <QRect>
#include <QString>

#include <algorithm>
#include <cmath>

namespace lw {

namespace {

// 16-bit arithmetic that ends the drawing where it would overflow.
struct OutOfRange {};

int16_t required(std::optional<int16_t> value)
{
    if (!value)
        throw OutOfRange{};
    return *value;
}

int16_t fit(long value)
{
    return required(FitInt16(value));
}

int16_t roundedQuotient(double numerator, double denominator)
{
    return required(RoundToInt16(numerator / denominator));
}

// The units in pixels and the centre; false when no unit can be drawn.
bool deriveScale(const GraphSettingsRecord &s, PlotGeometry &g)
{
    if (s.GraphScaleX <= 0 || s.GraphScaleY <= 0)
        return false;
    g.PixelsPerUnitY = roundedQuotient(g.GraphHeight, s.GraphScaleY);
    g.PixelsPerUnitX = roundedQuotient(g.GraphWidth, s.GraphScaleX);
    g.CentralPixelY = roundedQuotient(g.GraphHeight, 2);
    g.CentralPixelX = roundedQuotient(g.GraphWidth, 2);
    if (g.PixelsPerUnitX <= 0 || g.PixelsPerUnitY <= 0)
        return false;
    g.HalfRangeX = static_cast<float>(g.CentralPixelX) / static_cast<float>(g.PixelsPerUnitX);
    g.HalfRangeY = static_cast<float>(g.CentralPixelY) / static_cast<float>(g.PixelsPerUnitY);
    // Whole pixels, so that the picture keeps the design's integer arithmetic.
    g.CentralPixelX = fit(long(g.CentralPixelX)
                          - long(required(RoundToInt16(s.CentreFractionX * g.PixelsPerUnitX))));
    g.CentralPixelY = fit(long(g.CentralPixelY)
                          + long(required(RoundToInt16(s.CentreFractionY * g.PixelsPerUnitY))));
    return true;
}

// The units from the whole centre to the middle of the picture: the centre's fraction, to the
// pixel.
float shiftUnits(int16_t shiftedPixel, int16_t middle, int16_t pixelsPerUnit)
{
    return static_cast<float>(middle - shiftedPixel) / static_cast<float>(pixelsPerUnit);
}

// Where the axes cross; false when that lies right of or above the picture.
bool placeOrigin(const GraphSettingsRecord &s, PlotGeometry &g)
{
    const int16_t middleX = roundedQuotient(g.GraphWidth, 2);
    const int16_t middleY = roundedQuotient(g.GraphHeight, 2);
    if (fit(long(s.OriginX) - s.ScreenCentralX)
                - shiftUnits(g.CentralPixelX, middleX, g.PixelsPerUnitX)
            > g.HalfRangeX
        || fit(long(s.OriginY) - s.ScreenCentralY)
                   + shiftUnits(g.CentralPixelY, middleY, g.PixelsPerUnitY)
               > g.HalfRangeY)
        return false;
    g.OriginPixelX = fit(long(g.CentralPixelX)
                         + long(fit(long(s.OriginX) - s.ScreenCentralX)) * g.PixelsPerUnitX);
    g.OriginPixelY = fit(long(g.CentralPixelY)
                         - long(fit(long(s.OriginY) - s.ScreenCentralY)) * g.PixelsPerUnitY);
    return true;
}

struct Walk {
    int16_t start;
    int step; // signed pixels per unit
    int16_t bound;
    bool xAxis;
    int direction; // value change per unit
    int16_t markSpacing;
    int16_t numberSpacing;
    int16_t origin;
};

bool beyond(const Walk &walk, int16_t p)
{
    return walk.step > 0 ? p > walk.bound : p < walk.bound;
}

void drawMark(const PlotGeometry &g, const GraphSettingsRecord &s, DrawingSurface &surface,
              const Walk &walk, int16_t p)
{
    if (walk.xAxis)
        surface.line(p, g.OriginPixelY, p, fit(long(g.OriginPixelY) + 5), s.GraphColor);
    else
        surface.line(g.OriginPixelX, p, fit(long(g.OriginPixelX) - 5), p, s.GraphColor);
}

// Where the number at p goes; empty when the edge would cut it, as a number cut by the edge reads
// as another one ("0" for "-10"), so only whole ones are drawn.
QRect numberBox(const PlotGeometry &g, const Walk &walk, int16_t p, const QString &text)
{
    const long length = text.size();
    int16_t x = 0;
    int16_t y = 0;
    if (walk.xAxis) {
        x = fit(walk.step > 0 ? long(p) - 2 * length : long(p) - 2 - 2 * length);
        y = fit(long(g.OriginPixelY) + 2);
    } else {
        x = fit(long(g.OriginPixelX) - 6 - 4 * length);
        y = fit(long(p) - 5);
    }
    const long width = PixelFontAdvance * length;
    if (x >= 0 && y >= 0 && x + width <= g.GraphWidth && y + PixelFontHeight <= g.GraphHeight)
        return {x, y, int(width), PixelFontHeight};
    return {};
}

void drawNumber(const GraphSettingsRecord &s, DrawingSurface &surface, QRect box,
                const QString &text)
{
    surface.setTextPosition(box.x(), box.y());
    surface.setTextColour(s.GraphNumberColor);
    surface.text(text);
}

void drawWalk(const PlotGeometry &g, const GraphSettingsRecord &s, DrawingSurface &surface,
              const Walk &walk)
{
    int16_t markCount = 0;
    int16_t numberCount = 0;
    int16_t value = walk.origin;
    for (int16_t p = walk.start;;) {
        p = fit(long(p) + walk.step);
        if (beyond(walk, p))
            return;
        value = fit(long(value) + walk.direction);
        ++markCount;
        ++numberCount;
        if (markCount == walk.markSpacing) {
            drawMark(g, s, surface, walk, p);
            markCount = 0;
        }
        if (numberCount == walk.numberSpacing) {
            const QString text = QString::number(value);
            if (const QRect box = numberBox(g, walk, p, text); !box.isNull())
                drawNumber(s, surface, box, text);
            numberCount = 0;
        }
    }
}

// A spacing below a unit as a whole count of its last decimal place: 0.25 is 25 of 2 decimals.
struct FineSpacing {
    long count = 1;
    int decimals = 0;
    long scale = 1; // 10 to the decimals
};

FineSpacing fineSpacingOf(double spacing)
{
    FineSpacing fine;
    while (fine.decimals < 6
           && std::fabs(spacing * fine.scale - std::round(spacing * fine.scale))
                  > 1e-6 * spacing * fine.scale) {
        ++fine.decimals;
        fine.scale *= 10;
    }
    fine.count = std::max(1L, std::lround(spacing * fine.scale));
    return fine;
}

// A mark and a number at every multiple of a spacing below a unit, each at the pixel nearest its
// place; a number that would touch the one before it on its walk is left out.
void drawFineWalk(const PlotGeometry &g, const GraphSettingsRecord &s, DrawingSurface &surface,
                  const Walk &walk, double spacing)
{
    const FineSpacing fine = fineSpacingOf(spacing);
    const double pixelsPerStep = double(walk.step) * double(fine.count) / double(fine.scale);
    QRect previous;
    for (long k = 1;; ++k) {
        const int16_t p = fit(long(walk.start) + std::lround(double(k) * pixelsPerStep));
        if (beyond(walk, p))
            return;
        drawMark(g, s, surface, walk, p);
        const long scaled = long(walk.origin) * fine.scale + walk.direction * k * fine.count;
        const QString text = QString::fromStdU16String(
            FixedDecimalText(double(scaled) / double(fine.scale), fine.decimals, u','));
        const QRect box = numberBox(g, walk, p, text);
        if (box.isNull() || box.intersects(previous))
            continue;
        drawNumber(s, surface, box, text);
        previous = box;
    }
}

void drawAxisWalk(const PlotGeometry &g, const GraphSettingsRecord &s, DrawingSurface &surface,
                  const Walk &walk, double zoomSpacing)
{
    if (zoomSpacing > 0 && zoomSpacing < 1)
        drawFineWalk(g, s, surface, walk, zoomSpacing);
    else
        drawWalk(g, s, surface, walk);
}

void drawAxes(const PlotGeometry &g, const GraphSettingsRecord &s, DrawingSurface &surface)
{
    surface.line(0, g.OriginPixelY, g.GraphWidth, g.OriginPixelY, s.GraphColor);
    surface.line(g.OriginPixelX, 0, g.OriginPixelX, g.GraphHeight, s.GraphColor);
    // Right and left along the x axis, up and down along the y axis, each from the crossing point.
    for (const bool xAxis : {true, false}) {
        for (const int direction : {+1, -1}) {
            const int16_t far = xAxis ? g.GraphWidth : g.GraphHeight;
            drawAxisWalk(
                g, s, surface,
                {.start = xAxis ? g.OriginPixelX : g.OriginPixelY,
                 .step = xAxis ? direction * g.PixelsPerUnitX : -direction * g.PixelsPerUnitY,
                 .bound = (direction > 0) == xAxis ? far : int16_t(0),
                 .xAxis = xAxis,
                 .direction = direction,
                 .markSpacing = xAxis ? s.PutMarkEachX : s.PutMarkEachY,
                 .numberSpacing = xAxis ? s.PutNumberEachX : s.PutNumberEachY,
                 .origin = xAxis ? s.OriginX : s.OriginY},
                xAxis ? s.ZoomSpacingX : s.ZoomSpacingY);
        }
    }
}

} // namespace

PlotGeometry ComputeGeometry(const GraphSettingsRecord &settings, int16_t width, int16_t height)
{
    PlotGeometry g;
    g.GraphWidth = width;
    g.GraphHeight = height;
    try {
        g.OriginPlaced = deriveScale(settings, g) && placeOrigin(settings, g);
    } catch (const OutOfRange &) {
        g.OriginPlaced = false; // no axes can be placed
    }
    return g;
}

void DrawCoordinateSystem(const PlotGeometry &geometry, const GraphSettingsRecord &settings,
                          DrawingSurface &surface)
{
    surface.clear();
    if (!geometry.OriginPlaced)
        return;
    try {
        drawAxes(geometry, settings, surface);
    } catch (const OutOfRange &) {
        // What was drawn stays; the rest of the picture cannot be placed.
    }
}

Picture BlankPicture(DrawingSurface &surface, int16_t width, int16_t height)
{
    Picture picture;
    picture.surface = &surface;
    ResizePicture(picture, width, height);
    return picture;
}

void ResizePicture(Picture &picture, int16_t width, int16_t height)
{
    picture.geometry.GraphWidth = width;
    picture.geometry.GraphHeight = height;
}

void RedrawAxes(Picture &picture, const GraphSettingsRecord &settings)
{
    picture.geometry =
        ComputeGeometry(settings, picture.geometry.GraphWidth, picture.geometry.GraphHeight);
    picture.blank = false;
    DrawCoordinateSystem(picture.geometry, settings, *picture.surface);
}

DrawingSurface &NoSurface()
{
    class Nothing : public DrawingSurface {
    public:
        void clear() override {}
        void line(int, int, int, int, Colour) override {}
        void point(int, int, Colour) override {}
        void text(const QString &) override {}
    };
    static Nothing nothing;
    return nothing;
}

Picture &ScreenPicture()
{
    static Picture screen;
    return screen;
}

} // namespace lw
