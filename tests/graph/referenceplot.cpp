// SPDX-License-Identifier: GPL-3.0-or-later

#include "referenceplot.h"

#include "formula/evaluator.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"

#include <algorithm>
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
        // A view centre between whole units moves the picture by whole pixels.
        const int shiftX = *rounded16(s.CentreFractionX * g.ppuX);
        const int shiftY = *rounded16(s.CentreFractionY * g.ppuY);
        g.centralX -= shiftX;
        g.centralY += shiftY;
        if (s.OriginX - s.ScreenCentralX - float(shiftX) / float(g.ppuX) > halfX
            || s.OriginY - s.ScreenCentralY - float(shiftY) / float(g.ppuY) > halfY)
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
        const double centre = s.ScreenCentralX + s.CentreFractionX;
        const auto lower = float(centre - double(s.GraphScaleX) / 2);
        const auto upper = float(double(s.GraphScaleX) / 2 + centre);
        const float step = s.Precision;
        const int offsetX = g.centralX - s.ScreenCentralX * g.ppuX;
        const int offsetY = g.centralY + s.ScreenCentralY * g.ppuY;
        float x = lower;
        bool joining = false;
        int previousColumn = 0, previousRow = 0;
        bool previousAbove = false, previousBelow = false;
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
                const std::optional<int> c = rounded16(column);
                const std::optional<int> r = rounded16(row);
                if (!c || !r) {
                    joining = false; // no pixel to draw or join to
                } else {
                    const bool above = *r < 0;
                    const bool below = *r > h - 1;
                    const bool pole = (previousAbove && below) || (previousBelow && above);
                    if (joining && s.LinkPoints && !pole) {
                        line(previousColumn, previousRow, *c, *r, s.LiveColor);
                        curveVisible = curveVisible
                                       || segmentMeetsPicture(previousColumn, previousRow, *c, *r);
                    } else {
                        steps << QStringLiteral("point %1 %2 %3").arg(*c).arg(*r).arg(s.LiveColor);
                        curveVisible = curveVisible || segmentMeetsPicture(*c, *r, *c, *r);
                        joining = true;
                    }
                    previousColumn = *c;
                    previousRow = *r;
                    previousAbove = above;
                    previousBelow = below;
                }
            }
            x += step;
        }
    }

    QStringList steps;
    bool curveVisible = false;

private:
    // Whether the segment from (x1, y1) to (x2, y2) has a point in common with the rectangle of
    // the picture's pixel positions: an end inside it, or a crossing with one of its four sides.
    bool segmentMeetsPicture(int x1, int y1, int x2, int y2) const
    {
        const auto inside = [&](int x, int y) {
            return x >= 0 && x <= w - 1 && y >= 0 && y <= h - 1;
        };
        if (w <= 0 || h <= 0)
            return false;
        if (inside(x1, y1) || inside(x2, y2))
            return true;
        const int corners[4][2] = {{0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}};
        for (int i = 0; i < 4; ++i) {
            const auto *a = corners[i];
            const auto *b = corners[(i + 1) % 4];
            if (segmentsMeet(x1, y1, x2, y2, a[0], a[1], b[0], b[1]))
                return true;
        }
        return false;
    }

    static bool segmentsMeet(long ax, long ay, long bx, long by, long cx, long cy, long dx, long dy)
    {
        const auto turn = [](long px, long py, long qx, long qy, long rx, long ry) {
            const long cross = (qx - px) * (ry - py) - (qy - py) * (rx - px);
            return (cross > 0) - (cross < 0);
        };
        const auto onSegment = [](long px, long py, long qx, long qy, long rx, long ry) {
            return std::min(px, qx) <= rx && rx <= std::max(px, qx) && std::min(py, qy) <= ry
                   && ry <= std::max(py, qy);
        };
        const int d1 = turn(cx, cy, dx, dy, ax, ay), d2 = turn(cx, cy, dx, dy, bx, by);
        const int d3 = turn(ax, ay, bx, by, cx, cy), d4 = turn(ax, ay, bx, by, dx, dy);
        if (d1 * d2 < 0 && d3 * d4 < 0)
            return true;
        return (d1 == 0 && onSegment(cx, cy, dx, dy, ax, ay))
               || (d2 == 0 && onSegment(cx, cy, dx, dy, bx, by))
               || (d3 == 0 && onSegment(ax, ay, bx, by, cx, cy))
               || (d4 == 0 && onSegment(ax, ay, bx, by, dx, dy));
    }

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
                // Four pixels a character, eight high: drawn only if the whole box is inside.
                if (tx >= 0 && ty >= 0 && tx + 4 * length <= w && ty + 8 <= h)
                    steps
                        << QStringLiteral("text %1 %2 %3 ").arg(tx).arg(ty).arg(s.GraphNumberColor)
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

ReferenceDrawing ReferencePicture(const GraphSettingsRecord &settings, int width, int height,
                                  std::u16string_view formula)
{
    Reference reference(settings, width, height);
    reference.coordinateSystem();
    reference.curve(formula);
    return {reference.steps, reference.curveVisible};
}

} // namespace lw::test
