#include "referenceplot.h"

#include "formula/evaluator.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"

#include <cmath>
#include <optional>

namespace lw::test {

namespace {

// Nearest whole number with halves to the even neighbour (the default rounding mode); nullopt
// beyond 16 bits.
std::optional<int> rounded16(double value)
{
    const double whole = std::nearbyint(value);
    if (!(whole >= -32768 && whole <= 32767))
        return std::nullopt;
    return int(whole);
}

QString numberText(float value)
{
    return QString::fromStdU16String(NumberText(value)).trimmed();
}

class Reference {
public:
    Reference(const GraphSettingsRecord &s, int width, int height) : s(s), w(width), h(height) {}

    void coordinateSystem()
    {
        steps << "clear";
        g.ppuY = *rounded16(double(h) / s.GraphScaleY);
        g.ppuX = *rounded16(double(w) / s.GraphScaleX);
        g.centralY = *rounded16(h / 2.0);
        g.centralX = *rounded16(w / 2.0);
        const auto halfX = float(double(g.centralX) / g.ppuX);
        const auto halfY = float(double(g.centralY) / g.ppuY);
        if (s.OriginX - s.ScreenCentralX > halfX || s.OriginY - s.ScreenCentralY > halfY)
            return;
        ox = g.centralX + (s.OriginX - s.ScreenCentralX) * g.ppuX;
        oy = g.centralY - (s.OriginY - s.ScreenCentralY) * g.ppuY;
        line(0, oy, w, oy, s.GraphColor);
        line(ox, 0, ox, h, s.GraphColor);
        walk(ox, g.ppuX, w, true, +1);
        walk(ox, -g.ppuX, 0, true, -1);
        walk(oy, -g.ppuY, 0, false, +1);
        walk(oy, g.ppuY, h, false, -1);
    }

    void curve(std::u16string_view formula)
    {
        const auto lower = float(double(s.ScreenCentralX) - double(s.GraphScaleX) / 2);
        const auto upper = float(double(s.GraphScaleX) / 2 + double(s.ScreenCentralX));
        const float step = s.Precision;
        const int offsetX = g.centralX - s.ScreenCentralX * g.ppuX;
        const int offsetY = g.centralY + s.ScreenCentralY * g.ppuY;
        float x = lower;
        bool joining = false;
        int previousColumn = 0, previousRow = 0;
        while ((step >= 0 && x <= upper) || (step < 0 && x >= upper)) {
            QString text = QString::fromStdU16String(std::u16string(formula));
            text.replace(u'x', numberText(x));
            CalcError = 0;
            const float y = CalcFormula(text.toStdU16String());
            QString yText = numberText(y);
            const qsizetype point = yText.indexOf(u'.') + 1;
            if (point > 4 && yText.size() - point < 4)
                yText.clear();
            if (yText.isEmpty() || CalcError != 0) {
                joining = false;
            } else {
                // Summed wider than single before it is stored as single: that is what gives
                // 1.5000057, not 1.5, at x = -9.9 with 15 pixels a unit.
                const auto column = float(double(x) * g.ppuX + offsetX);
                const auto row = float(offsetY - double(y) * g.ppuY);
                const int c = rounded16(column).value_or(0);
                const int r = rounded16(row).value_or(0);
                const bool drawable = c != 0 && r != 0;
                if (joining && s.LinkPoints) {
                    if (drawable)
                        line(previousColumn, previousRow, c, r, s.LiveColor);
                } else {
                    if (drawable)
                        steps << QStringLiteral("point %1 %2 %3").arg(c).arg(r).arg(s.LiveColor);
                    joining = true;
                }
                previousColumn = c;
                previousRow = r;
            }
            x += step;
        }
    }

    QStringList steps;

private:
    void line(int x1, int y1, int x2, int y2, Colour colour)
    {
        steps << QStringLiteral("line %1 %2 %3 %4 %5").arg(x1).arg(y1).arg(x2).arg(y2).arg(colour);
    }

    void walk(int start, int step, int bound, bool xAxis, int direction)
    {
        const int markSpacing = xAxis ? s.PutMarkEachX : s.PutMarkEachY;
        const int numberSpacing = xAxis ? s.PutNumberEachX : s.PutNumberEachY;
        const int origin = xAxis ? s.OriginX : s.OriginY;
        int k = 0, marks = 0, numbers = 0;
        for (int p = start + step; step > 0 ? p <= bound : p >= bound; p += step) {
            ++k;
            ++marks;
            ++numbers;
            if (marks == markSpacing) {
                if (xAxis)
                    line(p, oy, p, oy + 5, s.GraphColor);
                else
                    line(ox, p, ox - 5, p, s.GraphColor);
                marks = 0;
            }
            if (numbers == numberSpacing) {
                const QString text = QString::number(origin + direction * k);
                const int length = int(text.size());
                const int tx = !xAxis ? ox - 6 - 4 * length : p - 2 * length - (step < 0 ? 2 : 0);
                const int ty = xAxis ? oy + 2 : p - 5;
                steps << QStringLiteral("text %1 %2 %3 ").arg(tx).arg(ty).arg(s.GraphNumberColor)
                             + text;
                numbers = 0;
            }
        }
    }

    const GraphSettingsRecord &s;
    int w, h;
    struct {
        int ppuX = 0, ppuY = 0, centralX = 0, centralY = 0;
    } g;
    int ox = 0, oy = 0;
};

} // namespace

QStringList ReferencePicture(const GraphSettingsRecord &settings, int width, int height,
                             std::u16string_view formula)
{
    Reference reference(settings, width, height);
    reference.coordinateSystem();
    reference.curve(formula);
    return reference.steps;
}

} // namespace lw::test
