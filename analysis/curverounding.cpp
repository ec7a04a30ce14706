// SPDX-License-Identifier: GPL-3.0-or-later

#include "curvefinder.h"

#include <algorithm>

namespace lw::curvefinder {

// How far out a curve flattened by a root of high order is looked at for values clear of rounding.
constexpr int FlatSteps = 8;
// How far the rounding about such a root may blur it: a few steps of the scan, or further on a
// fine scan (an expanded (x-4)^6 is rounding within 0.02 of 4).
constexpr double BlurSteps = 8;
constexpr double WidestBlur = 1.0 / 16;
// Values this small fade into double's underflow (x^1000 about 0).
constexpr double Underflow = 1e-250;

// Where f is no more than the rounding of its terms, as all along sin²x+cos²x-1, its signs and
// bends mean nothing. The plotter's single precision shows that rounding 2^29 times larger than
// double precision has it: next to a real point the two agree on the value's size, or the value
// stands far above double's rounding that the difference shows. Beside a root of order three or
// more an expanded polynomial is rounding alone, so its values are looked for further out.
bool Finder::StandsOut(double p)
{
    bool judged = false;
    for (int k = 0; k < FlatSteps; ++k) {
        for (const double x : {p - h_ * (1 << k), p + h_ * (1 << k)}) {
            const double fx = F(x);
            const std::optional<double> e = probe_.Engine(x);
            if (!std::isfinite(fx) || !e || !std::isfinite(*e))
                continue;
            const bool underflow = *e == 0 && std::abs(fx) < std::numeric_limits<float>::min();
            const double apart = std::abs(*e - fx);
            if (fx != 0
                && (underflow || apart <= std::abs(fx) / 2
                    || (*e != 0 && std::abs(fx) > ClearOfRounding * RoundingRatio * apart)))
                return true;
            judged = true;
        }
        if (!judged)
            return true;
    }
    return false;
}

// Double precision's rounding of f at x, estimated from how far single precision strays from it;
// 0 where that says nothing (no value, or single precision rounds to 0).
double Finder::Rounding(double x)
{
    const double fx = F(x);
    const std::optional<double> e = probe_.Engine(x);
    if (!std::isfinite(fx) || !e || !std::isfinite(*e) || *e == 0)
        return 0;
    return std::abs(*e - fx) * RoundingRatio;
}

// The rounding about p: single precision may hit the value, or 0, at a few places.
double Finder::RoundingAbout(double p)
{
    double most = 0;
    const double step = std::min(h_, WidestBlur) / 2;
    for (int k = -4; k <= 4; ++k)
        most = std::max(most, Rounding(p + k * step));
    return most;
}

// Where rounding blurs a root of high order, the search ends anywhere in the blur; a simple
// fraction within it, the nearest of the smallest denominator, is the point. Off the x-axis a
// bend is nearly straight, so f within rounding would say nothing of its place.
double Finder::SnapWithinRounding(double p)
{
    const double rounding = ClearOfRounding * RoundingAbout(p);
    if (!(rounding > 0) || !(std::abs(F(p)) <= rounding))
        return p;
    for (int q = 1; q <= 12; ++q) {
        const double r = std::round(p * q) / q;
        if (std::abs(r - p) <= std::max(BlurSteps * h_, WidestBlur) && r >= from_ && r <= to_
            && std::abs(F(r)) <= rounding)
            return r;
    }
    return p;
}

// Samples l..r are exactly 0. Where double precision rounds or underflows about a root of high
// order, the values beside them are rounding or underflow too, and the run is one root; a
// stretch of the x-axis ends with values of the curve's own size.
void Finder::ZeroRun(size_t l, size_t r)
{
    if (l == 0 || r + 1 >= grid_.size())
        return;
    const double before = std::abs(Exact(l - 1)), after = std::abs(Exact(r + 1));
    if (before == 0 || after == 0)
        return;
    const double middle = grid_[l].x + (grid_[r].x - grid_[l].x) / 2;
    const bool underflow = before < Underflow && after < Underflow;
    const double rounding = ClearOfRounding * RoundingAbout(middle);
    if (!underflow && !(before <= rounding && after <= rounding && StandsOut(middle)))
        return;
    const auto nonzero = [](double v) {
        return v != 0;
    };
    const double a = Border(grid_[l - 1].x, grid_[l].x, nonzero);
    const double b = Border(grid_[r + 1].x, grid_[r].x, nonzero);
    Add(PointKind::Zero, Snap(a + (b - a) / 2, (b - a) / 256));
}

// Rounding or underflow flattens f to 0 about a root of high order, where d1 and d2 vanish or
// flicker; the signs of f beyond tell a turn (the same on both sides) from a saddle.
void Finder::FlatRoot(double p)
{
    const double rounding = ClearOfRounding * RoundingAbout(p);
    const auto blurred = [&](double x) {
        return std::abs(F(x)) <= rounding;
    };
    if (!blurred(p - h_ / 2) || !blurred(p + h_ / 2))
        return;
    for (int k = 0; k < 16; ++k) {
        const double d = h_ * (1 << k);
        // Turns at the ends of the interval are no points.
        if (p - d < from_ || p + d > to_)
            return;
        const double l = F(p - d), r = F(p + d);
        if (!std::isfinite(l) || !std::isfinite(r))
            return;
        if (std::abs(l) <= rounding || std::abs(r) <= rounding)
            continue;
        const PointKind kind = Opposite(l, r) ? PointKind::Inflection
                               : l > 0        ? PointKind::Minimum
                                              : PointKind::Maximum;
        if (!Listed(kind, p, d))
            Add(kind, p, true);
        return;
    }
}

bool Finder::Listed(PointKind kind, double p, double within) const
{
    return std::any_of(points_.begin(), points_.end(), [&](const CurvePoint &c) {
        return c.kind == kind && std::abs(c.x - p) <= within;
    });
}

} // namespace lw::curvefinder
