#include "plotgraph.h"

#include "drawingsurface.h"
#include "formula/eventhook.h"
#include "formula/formulaprogram.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"
#include "graphdraw.h"
#include "settings/graphsettings.h"

#include <cmath>
#include <optional>

namespace lw {

namespace {

struct Pixel {
    int16_t column = 0;
    int16_t row = 0;
};

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
    // Nullopt when the integer parts of the mapping overflow 16 bits.
    std::optional<Pixel> operator()(float x, float y, const PlotGeometry &g,
                                    const GraphSettingsRecord &s)
    {
        const Geometry now{s.ScreenCentralX,  s.ScreenCentralY, g.PixelsPerUnitX,
                           g.PixelsPerUnitY, g.CentralPixelX,  g.CentralPixelY};
        if (!m_geometry || *m_geometry != now) {
            m_geometry = now;
            m_offsets = offsetsOf(now);
        }
        if (!m_offsets)
            return std::nullopt;
        // Formed in double and rounded to float once: 1.5000057 for x = -9.9 at 15 pixels a unit.
        const auto column = static_cast<float>(double(x) * now.pixelsPerUnitX + m_offsets->x);
        const auto row = static_cast<float>(m_offsets->y - double(y) * now.pixelsPerUnitY);
        return Pixel{RoundToInt16(column).value_or(0), RoundToInt16(row).value_or(0)};
    }

private:
    struct Geometry {
        int16_t screenCentralX;
        int16_t screenCentralY;
        int16_t pixelsPerUnitX;
        int16_t pixelsPerUnitY;
        int16_t centralPixelX;
        int16_t centralPixelY;
        bool operator==(const Geometry &) const = default;
    };
    struct Offsets {
        int16_t x;
        int16_t y;
    };

    static std::optional<Offsets> offsetsOf(const Geometry &g)
    {
        const auto sx = FitInt16(long(g.screenCentralX) * g.pixelsPerUnitX);
        const auto sy = FitInt16(long(g.screenCentralY) * g.pixelsPerUnitY);
        if (!sx || !sy)
            return std::nullopt;
        const auto offsetX = FitInt16(long(g.centralPixelX) - *sx);
        const auto offsetY = FitInt16(long(g.centralPixelY) + *sy);
        if (!offsetX || !offsetY)
            return std::nullopt;
        return Offsets{*offsetX, *offsetY};
    }

    std::optional<Geometry> m_geometry;
    std::optional<Offsets> m_offsets;
};

PlotResult fail(FormulaError error)
{
    return {PlotOutcome::Failed, QString::fromStdU16String(FormulaErrorMessage(error))};
}

} // namespace

SampleRange SampleRangeOf(int16_t centreX, int16_t scaleX)
{
    return {static_cast<float>(double(centreX) - double(scaleX) / 2),
            static_cast<float>(double(scaleX) / 2 + double(centreX))};
}

SampleRange SampleRangeOf(const GraphSettingsRecord &settings)
{
    return SampleRangeOf(settings.ScreenCentralX, settings.GraphScaleX);
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

PlotResult PlotGraph(std::u16string_view formula, const PlotGeometry &geometry,
                     const GraphSettingsRecord &settings, DrawingSurface &surface)
{
    const SampleRange range = SampleRangeOf(settings);
    const float step = settings.Precision;
    const FormulaProgram program(formula);
    float x = range.lower;
    bool joining = false;
    Pixel previous;
    PixelMapping pixelOf;
    while ((step >= 0 && x <= range.upper) || (step < 0 && x >= range.upper)) {
        const FormulaSample sample = program.sample(x);
        const float y = sample.value;
        if (sample.error != FormulaError::None)
            return fail(sample.error);
        if (!passesSizeFilter(y) || sample.arithmeticFault) {
            joining = false;
        } else {
            // The geometry and settings are read anew: a yield may have changed them.
            const auto pixel = pixelOf(x, y, geometry, settings);
            if (!pixel)
                return fail(FormulaError::Overflow);
            // A unit narrower than a pixel has no place for any point.
            const bool drawable = pixel->column != 0 && pixel->row != 0
                                  && geometry.PixelsPerUnitX > 0 && geometry.PixelsPerUnitY > 0;
            const Colour colour = settings.LiveColor;
            if (joining && settings.LinkPoints) {
                if (drawable)
                    surface.line(previous.column, previous.row, pixel->column, pixel->row, colour);
            } else {
                if (drawable)
                    surface.point(pixel->column, pixel->row, colour);
                joining = true;
            }
            previous = *pixel;
        }
        YieldToEvents();
        if (IsStopRequested())
            return {PlotOutcome::Stopped, {}};
        x += step;
    }
    return {PlotOutcome::Completed, {}};
}

} // namespace lw
