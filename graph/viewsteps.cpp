// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewsteps.h"

#include "formula/numeric.h"
#include "graphdraw.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace lw {

namespace {

constexpr int16_t WidestRange = 32767;

// Every range a zoom can show, narrowest first.
constexpr auto Ranges = [] {
    std::array<int, 44> ranges{1, 2, 3, 4, 5, 6, 8};
    constexpr int decade[] = {10, 12, 15, 20, 25, 30, 40, 50, 60, 80};
    std::size_t n = 7;
    for (int power = 1; power <= 1000; power *= 10) {
        for (const int step : decade)
            if (step * power < WidestRange)
                ranges[n++] = step * power;
    }
    ranges[n++] = WidestRange;
    return n == ranges.size() ? ranges : throw "every place of the table is filled";
}();

// Units between two numbers: 1, 2, 5, 10, 20, 50 ..., the first at least 24 pixels wide.
int16_t spacingFor(double pixelsPerUnit)
{
    for (long spacing = 1;; spacing *= 10) {
        for (const long factor : {1L, 2L, 5L}) {
            const long units = spacing * factor;
            if (units * pixelsPerUnit >= 24 || units * 10 > WidestRange)
                return static_cast<int16_t>(units);
        }
    }
}

int16_t keptRatio(int16_t range, int16_t before, int16_t after)
{
    const double scaled = std::round(double(range) * after / before);
    return static_cast<int16_t>(std::clamp(scaled, 1.0, double(WidestRange)));
}

} // namespace

int16_t ZoomedRange(int16_t range, bool wider)
{
    if (wider) {
        for (const int r : Ranges)
            if (r > range)
                return static_cast<int16_t>(r);
        return 0;
    }
    for (auto r = Ranges.rbegin(); r != Ranges.rend(); ++r)
        if (*r < range)
            return static_cast<int16_t>(*r);
    return 0;
}

bool ZoomView(GraphSettingsRecord &settings, bool wider, int pixelsX, int pixelsY)
{
    const int16_t rangeX = ZoomedRange(std::max<int16_t>(settings.GraphScaleX, 1), wider);
    if (rangeX == 0 || settings.GraphScaleX <= 0 || settings.GraphScaleY <= 0)
        return false;
    settings.GraphScaleY = keptRatio(settings.GraphScaleY, settings.GraphScaleX, rangeX);
    settings.GraphScaleX = rangeX;
    settings.PutMarkEachX = settings.PutNumberEachX = spacingFor(double(pixelsX) / rangeX);
    settings.PutMarkEachY = settings.PutNumberEachY =
        spacingFor(double(pixelsY) / settings.GraphScaleY);
    return true;
}

bool PanView(GraphSettingsRecord &settings, int stepsX, int stepsY)
{
    const ViewCentre centre = CentreOf(settings);
    return PlaceCentre(settings, {centre.x + stepsX * settings.GraphScaleX / 10.0,
                                  centre.y + stepsY * settings.GraphScaleY / 10.0});
}

void TakeView(GraphSettingsRecord &settings, const GraphSettingsRecord &stored)
{
    settings.ScreenCentralX = stored.ScreenCentralX;
    settings.ScreenCentralY = stored.ScreenCentralY;
    settings.CentreFractionX = stored.CentreFractionX;
    settings.CentreFractionY = stored.CentreFractionY;
    settings.GraphScaleX = stored.GraphScaleX;
    settings.GraphScaleY = stored.GraphScaleY;
    settings.PutMarkEachX = stored.PutMarkEachX;
    settings.PutMarkEachY = stored.PutMarkEachY;
    settings.PutNumberEachX = stored.PutNumberEachX;
    settings.PutNumberEachY = stored.PutNumberEachY;
}

ViewCentre CentreOf(const GraphSettingsRecord &settings)
{
    return {settings.ScreenCentralX + settings.CentreFractionX,
            settings.ScreenCentralY + settings.CentreFractionY};
}

bool PlaceCentre(GraphSettingsRecord &settings, ViewCentre centre)
{
    const double x = std::round(centre.x * 1e4) / 1e4;
    const double y = std::round(centre.y * 1e4) / 1e4;
    const auto wholeX = RoundToInt16(x);
    const auto wholeY = RoundToInt16(y);
    if (!wholeX || !wholeY)
        return false;
    settings.ScreenCentralX = *wholeX;
    settings.ScreenCentralY = *wholeY;
    // Exact (the two lie within a factor of two, or the whole part is 0), so that the centre
    // read back from the fields compares equal.
    settings.CentreFractionX = x - *wholeX;
    settings.CentreFractionY = y - *wholeY;
    return true;
}

bool ZoomViewAbout(GraphSettingsRecord &settings, bool wider, int pixelsX, int pixelsY,
                   double column, double row)
{
    const auto width = static_cast<int16_t>(pixelsX);
    const auto height = static_cast<int16_t>(pixelsY);
    const PlotGeometry before = ComputeGeometry(settings, width, height);
    if (before.PixelsPerUnitX <= 0 || before.PixelsPerUnitY <= 0)
        return false;
    // The point under the pointer, as the pointer field reads it.
    const double pointX =
        settings.ScreenCentralX + (column - before.CentralPixelX) / before.PixelsPerUnitX;
    const double pointY =
        settings.ScreenCentralY + (before.CentralPixelY - row) / before.PixelsPerUnitY;
    GraphSettingsRecord zoomed = settings;
    zoomed.CentreFractionX = zoomed.CentreFractionY = 0;
    if (!ZoomView(zoomed, wider, pixelsX, pixelsY))
        return false;
    const PlotGeometry after = ComputeGeometry(zoomed, width, height);
    if (after.PixelsPerUnitX <= 0 || after.PixelsPerUnitY <= 0)
        return false;
    // Without a fraction the whole centre lies on the middle pixel.
    if (!PlaceCentre(zoomed, {pointX - (column - after.CentralPixelX) / after.PixelsPerUnitX,
                              pointY + (row - after.CentralPixelY) / after.PixelsPerUnitY}))
        return false;
    settings = zoomed;
    return true;
}

bool DragView(GraphSettingsRecord &settings, ViewCentre start, double dx, double dy, int pixelsX,
              int pixelsY)
{
    const PlotGeometry g =
        ComputeGeometry(settings, static_cast<int16_t>(pixelsX), static_cast<int16_t>(pixelsY));
    if (g.PixelsPerUnitX <= 0 || g.PixelsPerUnitY <= 0)
        return false;
    // From the pixel the start's fraction puts the picture on, so that the picture moves by
    // exactly the pointer's pixels.
    GraphSettingsRecord from = settings;
    if (!PlaceCentre(from, start))
        return false;
    const auto shiftX = RoundToInt16(from.CentreFractionX * g.PixelsPerUnitX).value_or(0);
    const auto shiftY = RoundToInt16(from.CentreFractionY * g.PixelsPerUnitY).value_or(0);
    return PlaceCentre(settings, {from.ScreenCentralX + (shiftX - dx) / g.PixelsPerUnitX,
                                  from.ScreenCentralY + (shiftY + dy) / g.PixelsPerUnitY});
}

std::optional<std::pair<int, int>> ViewShift(const GraphSettingsRecord &fromSettings,
                                             const PlotGeometry &from,
                                             const GraphSettingsRecord &toSettings,
                                             const PlotGeometry &to)
{
    const auto apartFromCentre = [](GraphSettingsRecord s) {
        s.ScreenCentralX = s.ScreenCentralY = 0;
        s.CentreFractionX = s.CentreFractionY = 0;
        // The quick options reach only curves yet to be drawn.
        s.Precision = 0;
        s.LiveColor = 0;
        s.LinkPoints = s.AlwaysDeleteGraph = false;
        return s;
    };
    if (apartFromCentre(fromSettings) != apartFromCentre(toSettings)
        || from.GraphWidth != to.GraphWidth || from.GraphHeight != to.GraphHeight
        || from.PixelsPerUnitX != to.PixelsPerUnitX || from.PixelsPerUnitY != to.PixelsPerUnitY
        || from.PixelsPerUnitX <= 0 || from.PixelsPerUnitY <= 0)
        return std::nullopt;
    // Where unit 0 lies on each.
    const auto zeroX = [](const GraphSettingsRecord &s, const PlotGeometry &g) {
        return long(g.CentralPixelX) - long(s.ScreenCentralX) * g.PixelsPerUnitX;
    };
    const auto zeroY = [](const GraphSettingsRecord &s, const PlotGeometry &g) {
        return long(g.CentralPixelY) + long(s.ScreenCentralY) * g.PixelsPerUnitY;
    };
    return std::pair(int(zeroX(toSettings, to) - zeroX(fromSettings, from)),
                     int(zeroY(toSettings, to) - zeroY(fromSettings, from)));
}

} // namespace lw
