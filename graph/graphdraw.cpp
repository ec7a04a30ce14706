#include "graphdraw.h"

#include "drawingsurface.h"
#include "formula/numeric.h"
#include "settings/graphsettings.h"

#include <QString>

namespace lw {

int16_t GraphWidth = 0;
int16_t GraphHeight = 0;
int16_t PixelsPerUnitX = 0;
int16_t PixelsPerUnitY = 0;
int16_t CentralPixelX = 0;
int16_t CentralPixelY = 0;
float HalfRangeX = 0;
float HalfRangeY = 0;
int16_t OriginPixelX = 0;
int16_t OriginPixelY = 0;

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

// Steps 2 to 4; false when no unit can be drawn.
bool deriveScale()
{
    const GraphSettingsRecord &s = GraphSettings;
    if (s.GraphScaleX <= 0 || s.GraphScaleY <= 0) {
        PixelsPerUnitX = PixelsPerUnitY = 0;
        return false;
    }
    PixelsPerUnitY = roundedQuotient(GraphHeight, s.GraphScaleY);
    PixelsPerUnitX = roundedQuotient(GraphWidth, s.GraphScaleX);
    CentralPixelY = roundedQuotient(GraphHeight, 2);
    CentralPixelX = roundedQuotient(GraphWidth, 2);
    if (PixelsPerUnitX <= 0 || PixelsPerUnitY <= 0)
        return false;
    HalfRangeX = static_cast<float>(CentralPixelX) / static_cast<float>(PixelsPerUnitX);
    HalfRangeY = static_cast<float>(CentralPixelY) / static_cast<float>(PixelsPerUnitY);
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

void drawWalk(DrawingSurface &surface, const Walk &walk)
{
    const GraphSettingsRecord &s = GraphSettings;
    int16_t markCount = 0;
    int16_t numberCount = 0;
    int16_t value = walk.origin;
    for (int16_t p = walk.start;;) {
        p = fit(long(p) + walk.step);
        if (walk.step > 0 ? p > walk.bound : p < walk.bound)
            return;
        value = fit(long(value) + walk.direction);
        ++markCount;
        ++numberCount;
        if (markCount == walk.markSpacing) {
            if (walk.xAxis)
                surface.line(p, OriginPixelY, p, fit(long(OriginPixelY) + 5), s.GraphColor);
            else
                surface.line(OriginPixelX, p, fit(long(OriginPixelX) - 5), p, s.GraphColor);
            markCount = 0;
        }
        if (numberCount == walk.numberSpacing) {
            const QString text = QString::number(value);
            const long length = text.size();
            if (walk.xAxis) {
                const long x = walk.step > 0 ? long(p) - 2 * length : long(p) - 2 - 2 * length;
                surface.setTextPosition(fit(x), fit(long(OriginPixelY) + 2));
            } else {
                surface.setTextPosition(fit(long(OriginPixelX) - 6 - 4 * length), fit(long(p) - 5));
            }
            if (!PrintMode)
                surface.setTextColour(s.GraphNumberColor);
            surface.text(text);
            numberCount = 0;
        }
    }
}

void drawAxes(DrawingSurface &surface)
{
    const GraphSettingsRecord &s = GraphSettings;
    if (!deriveScale())
        return;
    if (fit(long(s.OriginX) - s.ScreenCentralX) > HalfRangeX
        || fit(long(s.OriginY) - s.ScreenCentralY) > HalfRangeY)
        return; // the crossing point lies right of or above the picture
    OriginPixelX =
        fit(long(CentralPixelX) + long(fit(long(s.OriginX) - s.ScreenCentralX)) * PixelsPerUnitX);
    OriginPixelY =
        fit(long(CentralPixelY) - long(fit(long(s.OriginY) - s.ScreenCentralY)) * PixelsPerUnitY);
    surface.line(0, OriginPixelY, GraphWidth, OriginPixelY, s.GraphColor);
    surface.line(OriginPixelX, 0, OriginPixelX, GraphHeight, s.GraphColor);
    drawWalk(surface, {OriginPixelX, PixelsPerUnitX, GraphWidth, true, +1, s.PutMarkEachX,
                       s.PutNumberEachX, s.OriginX});
    drawWalk(surface, {OriginPixelX, -PixelsPerUnitX, 0, true, -1, s.PutMarkEachX, s.PutNumberEachX,
                       s.OriginX});
    drawWalk(surface, {OriginPixelY, -PixelsPerUnitY, 0, false, +1, s.PutMarkEachY,
                       s.PutNumberEachY, s.OriginY});
    drawWalk(surface, {OriginPixelY, PixelsPerUnitY, GraphHeight, false, -1, s.PutMarkEachY,
                       s.PutNumberEachY, s.OriginY});
}

} // namespace

void ComputeGeometry()
{
    try {
        deriveScale();
    } catch (const OutOfRange &) {}
}

void DrawCoordinateSystem()
{
    DrawingSurface *surface = CurrentSurface();
    if (surface)
        surface->clear();
    try {
        if (surface)
            drawAxes(*surface);
        else
            deriveScale();
    } catch (const OutOfRange &) {
        // What was drawn stays; the rest of the picture cannot be placed.
    }
}

} // namespace lw
