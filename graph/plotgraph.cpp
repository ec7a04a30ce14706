// SPDX-License-Identifier: GPL-3.0-or-later

#include "plotgraph.h"

#include "drawingsurface.h"
#include "formula/eventhook.h"
#include "formula/formulaprogram.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"
#include "graphdraw.h"
#include "settings/graphsettings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace lw {

namespace {

struct Pixel {
    int16_t column = 0;
    int16_t row = 0;
    // False when the column or row is beyond 16 bits: then there is no pixel to draw or join.
    bool fits = true;
};

bool insidePicture(Pixel pixel, const PlotGeometry &g)
{
    return pixel.column >= 0 && pixel.column < g.GraphWidth && pixel.row >= 0
           && pixel.row < g.GraphHeight;
}

// Whether the line between two pixels meets the picture's pixels. Lines that stay on one side of
// it are the common invisible case and are settled by their bounds; otherwise the line misses
// only if all four corner pixels lie strictly on one side of it.
bool lineMeetsPicture(Pixel a, Pixel b, const PlotGeometry &g)
{
    const int right = g.GraphWidth - 1;
    const int bottom = g.GraphHeight - 1;
    if (std::max(a.column, b.column) < 0 || std::min(a.column, b.column) > right
        || std::max(a.row, b.row) < 0 || std::min(a.row, b.row) > bottom)
        return false;
    const auto side = [&](int64_t column, int64_t row) {
        const int64_t cross = (int64_t(b.column) - a.column) * (row - a.row)
                              - (int64_t(b.row) - a.row) * (column - a.column);
        return (cross > 0) - (cross < 0);
    };
    const int corners = side(0, 0) + side(right, 0) + side(0, bottom) + side(right, bottom);
    return corners != 4 && corners != -4;
}

// A y whose number text has at least four characters before its point and
// fewer than four after it is dropped.
bool passesSizeFilter(float y)
{
    // Between -100 and 1000 the text has at most three characters before its
    // point ("-99.5", "999.5"), so it need not be formed for the common case.
    if (y > -100.0f && y < 1000.0f)
        return true;
    const NumberTextResult number = NumberTextWithValue(y);
    const std::u16string_view yText = number.text();
    const std::size_t point = yText.find(u'.');
    if (point == std::u16string_view::npos)
        return true;
    const std::size_t p = point + 1;
    return !(p > 4 && yText.size() - p < 4);
}

// Maps (x, y) to its pixel with the geometry as it stands now. The integer parts of the mapping
// depend on the geometry only, so they are formed again only when it has changed.
class PixelMapping {
public:
    // Nullopt when the integer parts of the mapping overflow 16 bits; a pixel that does not fit
    // when the point's own column or row does not.
    std::optional<Pixel> operator()(float x, float y, const PlotGeometry &g,
                                    const GraphSettingsRecord &s)
    {
        // The six numbers the integer parts depend on, packed: compared once for every sample.
        const uint64_t scale =
            uint64_t(uint16_t(g.PixelsPerUnitX)) | uint64_t(uint16_t(g.PixelsPerUnitY)) << 16
            | uint64_t(uint16_t(g.CentralPixelX)) << 32 | uint64_t(uint16_t(g.CentralPixelY)) << 48;
        const uint32_t centre =
            uint32_t(uint16_t(s.ScreenCentralX)) | uint32_t(uint16_t(s.ScreenCentralY)) << 16;
        if (!m_known || scale != m_scale || centre != m_centre) {
            m_known = true;
            m_scale = scale;
            m_centre = centre;
            m_offsets = offsetsOf(s.ScreenCentralX, s.ScreenCentralY, g);
        }
        if (!m_offsets)
            return std::nullopt;
        // Formed in double and rounded to float once: 1.5000057 for x = -9.9 at 15 pixels a unit.
        const auto column = static_cast<float>(double(x) * g.PixelsPerUnitX + m_offsets->x);
        const auto row = static_cast<float>(m_offsets->y - double(y) * g.PixelsPerUnitY);
        const auto roundedColumn = RoundToInt16(column);
        const auto roundedRow = RoundToInt16(row);
        if (!roundedColumn || !roundedRow)
            return Pixel{.fits = false};
        m_exact = QPointF(column, row);
        return Pixel{*roundedColumn, *roundedRow};
    }

    // Where the sample mapped last lies before rounding. Kept apart from the pixel, which the
    // walk passes around for every sample and which stays small that way.
    QPointF exact() const { return m_exact; }

private:
    struct Offsets {
        int16_t x;
        int16_t y;
    };

    static std::optional<Offsets> offsetsOf(int16_t centreX, int16_t centreY, const PlotGeometry &g)
    {
        const auto sx = FitInt16(long(centreX) * g.PixelsPerUnitX);
        const auto sy = FitInt16(long(centreY) * g.PixelsPerUnitY);
        if (!sx || !sy)
            return std::nullopt;
        const auto offsetX = FitInt16(long(g.CentralPixelX) - *sx);
        const auto offsetY = FitInt16(long(g.CentralPixelY) + *sy);
        if (!offsetX || !offsetY)
            return std::nullopt;
        return Offsets{*offsetX, *offsetY};
    }

    bool m_known = false;
    uint64_t m_scale = 0;
    uint32_t m_centre = 0;
    std::optional<Offsets> m_offsets;
    QPointF m_exact;
};

PlotResult fail(FormulaError error, bool anyVisible)
{
    return {PlotOutcome::Failed, QString::fromStdU16String(FormulaErrorMessage(error)), anyVisible};
}

} // namespace

SampleRange SampleRangeOf(int16_t centreX, int16_t scaleX)
{
    return {static_cast<float>(double(centreX) - double(scaleX) / 2),
            static_cast<float>(double(scaleX) / 2 + double(centreX))};
}

SampleRange SampleRangeOf(const GraphSettingsRecord &settings)
{
    if (settings.CentreFractionX == 0)
        return SampleRangeOf(settings.ScreenCentralX, settings.GraphScaleX);
    const double centre = settings.ScreenCentralX + settings.CentreFractionX;
    return {static_cast<float>(centre - double(settings.GraphScaleX) / 2),
            static_cast<float>(double(settings.GraphScaleX) / 2 + centre)};
}

float SampleStep(const GraphSettingsRecord &settings)
{
    if (settings.GraphScaleX <= 0 || settings.StepRangeX <= settings.GraphScaleX)
        return settings.Precision;
    const auto finer =
        static_cast<float>(double(settings.Precision) * settings.GraphScaleX / settings.StepRangeX);
    const SampleRange range = SampleRangeOf(settings);
    return WalkAdvances(range.lower, range.upper, finer) ? finer : settings.Precision;
}

bool WalkAdvances(float lower, float upper, float step)
{
    if (!(step > 0) || !std::isfinite(step))
        return false;
    const float widest = std::max(std::fabs(lower), std::fabs(upper));
    return widest + step > widest && -widest + step > -widest;
}

PrecisionFault CheckPrecision(float precision, SampleRange range)
{
    if (!(precision > 0))
        return PrecisionFault::NotPositive;
    if (!WalkAdvances(range.lower, range.upper, precision))
        return PrecisionFault::TooFine;
    return PrecisionFault::None;
}

namespace {
// Where a step of the curve lies: its pixel, and its exact position for a surface that takes one.
struct StepPlace {
    Pixel pixel;
    QPointF exact;
};

// A line from the step before, or a point where the curve begins (again); whether it shows.
inline bool drawStep(DrawingSurface &surface, bool exact, const StepPlace &from,
                     const StepPlace &to, bool line, Colour colour, const PlotGeometry &geometry)
{
    if (line) {
        if (exact)
            surface.exactLine(from.exact, to.exact, colour);
        else
            surface.line(from.pixel.column, from.pixel.row, to.pixel.column, to.pixel.row, colour);
        return lineMeetsPicture(from.pixel, to.pixel, geometry);
    }
    if (exact)
        surface.exactPoint(to.exact, colour);
    else
        surface.point(to.pixel.column, to.pixel.row, colour);
    return insidePicture(to.pixel, geometry);
}
} // namespace

PlotResult PlotGraph(std::u16string_view formula, const PlotGeometry &geometry,
                     const GraphSettingsRecord &settings, DrawingSurface &surface)
{
    const SampleRange range = SampleRangeOf(settings);
    const float step = SampleStep(settings);
    const FormulaProgram program(formula);
    float x = range.lower;
    bool joining = false;
    bool visible = false;
    Pixel previous;
    PixelMapping pixelOf;
    const bool exact = surface.takesExactPositions();
    QPointF previousExact;
    while ((step >= 0 && x <= range.upper) || (step < 0 && x >= range.upper)) {
        const FormulaSample sample = program.sample(x);
        const float y = sample.value;
        if (sample.error != FormulaError::None)
            return fail(sample.error, visible);
        if (!passesSizeFilter(y) || sample.arithmeticFault) {
            joining = false;
        } else {
            // The geometry and settings are read anew: a yield may have changed them.
            const auto pixel = pixelOf(x, y, geometry, settings);
            if (!pixel)
                return fail(FormulaError::Overflow, visible);
            if (!pixel->fits) {
                joining = false;
            } else {
                // A unit narrower than a pixel has no place for any point.
                const bool drawable = geometry.PixelsPerUnitX > 0 && geometry.PixelsPerUnitY > 0;
                // From above the picture to below it or back is a pole, as of tan x or 1/x: a
                // line there would cross the whole picture where the curve has no value.
                const int16_t height = geometry.GraphHeight;
                const bool pole = (previous.row < 0 && pixel->row >= height)
                                  || (previous.row >= height && pixel->row < 0);
                const QPointF here = exact ? pixelOf.exact() : QPointF();
                if (drawable)
                    visible = drawStep(surface, exact, {previous, previousExact}, {*pixel, here},
                                       joining && settings.LinkPoints && !pole, settings.LiveColor,
                                       geometry)
                              || visible;
                joining = true;
                previous = *pixel;
                previousExact = here;
            }
        }
        YieldToEvents();
        if (IsStopRequested())
            return {PlotOutcome::Stopped, {}, visible};
        x += step;
    }
    return {PlotOutcome::Completed, {}, visible};
}

} // namespace lw
