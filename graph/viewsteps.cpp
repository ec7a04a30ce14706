// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewsteps.h"

#include "formula/numeric.h"
#include "graphdraw.h"
#include "pixelfont.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

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

// The finest spacing a zoom chooses: a thousandth, wide enough on a picture 32767 pixels wide.
constexpr int FinestDecimals = 3;

// The pixels the widest number between lower and upper takes when written with `decimals`.
int widestNumber(double lower, double upper, int decimals)
{
    const auto whole = static_cast<long>(std::max(std::fabs(lower), std::fabs(upper)));
    const auto digits = static_cast<int>(std::to_string(whole).size());
    return PixelFontAdvance * ((lower < 0 ? 1 : 0) + digits + (decimals > 0 ? decimals + 1 : 0));
}

// Units between two numbers: 0.001 ... 0.1, 0.2, 0.5, 1, 2, 5, 10 ..., the first at least 24
// pixels wide and, along the x axis, no narrower than the widest number between lower and upper.
double spacingFor(double pixelsPerUnit, bool xAxis, double lower, double upper)
{
    for (int exponent = -FinestDecimals;; ++exponent) {
        for (const int factor : {1, 2, 5}) {
            const double units = factor * std::pow(10.0, exponent);
            const double pixels = units * pixelsPerUnit;
            if (pixels >= 24
                && (!xAxis
                    || std::floor(pixels) >= widestNumber(lower, upper, std::max(0, -exponent))))
                return units;
            if (units * 10 > WidestRange)
                return units;
        }
    }
}

// The whole spacing the store and graph files keep for a spacing of `units`.
int16_t wholeSpacing(double units)
{
    return static_cast<int16_t>(std::clamp(std::round(units), 1.0, double(WidestRange)));
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
    if (settings.StepRangeX == 0)
        settings.StepRangeX = settings.GraphScaleX;
    settings.GraphScaleY = keptRatio(settings.GraphScaleY, settings.GraphScaleX, rangeX);
    settings.GraphScaleX = rangeX;
    SpaceZoomedView(settings, pixelsX, pixelsY);
    return true;
}

void SpaceZoomedView(GraphSettingsRecord &settings, int pixelsX, int pixelsY)
{
    if (settings.GraphScaleX <= 0 || settings.GraphScaleY <= 0)
        return;
    const auto side = [](int pixels) {
        return static_cast<int16_t>(std::clamp(pixels, 0, int(WidestRange)));
    };
    const PlotGeometry g = ComputeGeometry(settings, side(pixelsX), side(pixelsY));
    // The numbers stand at whole pixels a unit; below a pixel a unit nothing is drawn anyway.
    const auto perUnit = [](int16_t rounded, int pixels, int16_t range) {
        return rounded > 0 ? double(rounded) : double(pixels) / range;
    };
    // A range either side: a zoom about the pointer moves the centre after the spacing is chosen.
    const double centreX = CentreOf(settings).x;
    settings.ZoomSpacingX =
        spacingFor(perUnit(g.PixelsPerUnitX, pixelsX, settings.GraphScaleX), true,
                   centreX - settings.GraphScaleX, centreX + settings.GraphScaleX);
    settings.ZoomSpacingY =
        spacingFor(perUnit(g.PixelsPerUnitY, pixelsY, settings.GraphScaleY), false, 0, 0);
    settings.PutMarkEachX = settings.PutNumberEachX = wholeSpacing(settings.ZoomSpacingX);
    settings.PutMarkEachY = settings.PutNumberEachY = wholeSpacing(settings.ZoomSpacingY);
}

void FollowPictureSize(GraphSettingsRecord &settings, int pixelsX, int pixelsY)
{
    if (settings.ZoomSpacingX > 0 || settings.ZoomSpacingY > 0)
        SpaceZoomedView(settings, pixelsX, pixelsY);
}

bool PanView(GraphSettingsRecord &settings, int stepsX, int stepsY)
{
    const ViewCentre centre = CentreOf(settings);
    return PlaceCentre(settings, {centre.x + stepsX * settings.GraphScaleX / 10.0,
                                  centre.y + stepsY * settings.GraphScaleY / 10.0});
}

void TakeView(GraphSettingsRecord &settings, const GraphSettingsRecord &stored)
{
    const auto take = [&](auto... field) { ((settings.*field = stored.*field), ...); };
    take(&GraphSettingsRecord::ScreenCentralX, &GraphSettingsRecord::ScreenCentralY,
         &GraphSettingsRecord::CentreFractionX, &GraphSettingsRecord::CentreFractionY,
         &GraphSettingsRecord::GraphScaleX, &GraphSettingsRecord::GraphScaleY,
         &GraphSettingsRecord::PutMarkEachX, &GraphSettingsRecord::PutMarkEachY,
         &GraphSettingsRecord::PutNumberEachX, &GraphSettingsRecord::PutNumberEachY,
         &GraphSettingsRecord::ZoomSpacingX, &GraphSettingsRecord::ZoomSpacingY,
         &GraphSettingsRecord::StepRangeX);
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

int CentreDecimals(int16_t pixelsPerUnit)
{
    if (pixelsPerUnit <= 0)
        return 4; // no pixels to go by: the centre as placed
    int decimals = 0;
    for (long tenths = 1; decimals < 4 && tenths < pixelsPerUnit; tenths *= 10)
        ++decimals;
    return decimals;
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
