#include "viewsteps.h"

#include "formula/numeric.h"

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
    const auto tenth = [](int16_t range) {
        return std::max(1L, std::lround(range / 10.0));
    };
    const auto x = FitInt16(long(settings.ScreenCentralX) + stepsX * tenth(settings.GraphScaleX));
    const auto y = FitInt16(long(settings.ScreenCentralY) + stepsY * tenth(settings.GraphScaleY));
    if (!x || !y)
        return false;
    settings.ScreenCentralX = *x;
    settings.ScreenCentralY = *y;
    return true;
}

void TakeView(GraphSettingsRecord &settings, const GraphSettingsRecord &stored)
{
    settings.ScreenCentralX = stored.ScreenCentralX;
    settings.ScreenCentralY = stored.ScreenCentralY;
    settings.GraphScaleX = stored.GraphScaleX;
    settings.GraphScaleY = stored.GraphScaleY;
    settings.PutMarkEachX = stored.PutMarkEachX;
    settings.PutMarkEachY = stored.PutMarkEachY;
    settings.PutNumberEachX = stored.PutNumberEachX;
    settings.PutNumberEachY = stored.PutNumberEachY;
}

} // namespace lw
