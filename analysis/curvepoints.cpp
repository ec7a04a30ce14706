// SPDX-License-Identifier: GPL-3.0-or-later

#include "curvepoints.h"

#include "curvefinder.h"

#include <algorithm>
#include <cmath>

namespace lw {

namespace {

using namespace curvefinder;

// 2 000 samples, or 100 a unit on long intervals, but no more than 10 000 wanted; the step
// rounds down to a power of two, so the scan takes up to twice as many.
constexpr double FewestSamples = 2000;
constexpr double SamplesPerUnit = 100;
constexpr double MostSamples = 10000;

// 2^42: doubles lie 2^-10 apart there.
constexpr int FinestPlace = 42;

// The fraction with a small denominator within `tolerance` of x, or x.
double Snap(double x, double tolerance)
{
    if (std::abs(x) < tolerance)
        return 0;
    for (int q = 1; q <= 12; ++q) {
        const double r = std::round(x * q) / q;
        if (std::abs(x - r) <= tolerance)
            return r;
    }
    return x;
}

} // namespace

namespace curvefinder {

// Pupils read 0.5 or -4 where a search ends a few ulps beside them; a point within 1e-9 (or
// `within`, relative beyond 1000) of a fraction with a small denominator moves there, unless
// that is a step of the scan away or outside the interval.
double Finder::Snap(double x, double within) const
{
    const double s = lw::Snap(x, std::min(within * std::max(1.0, std::abs(x) * 1e-3), h_ / 16));
    return s >= from_ && s <= to_ ? s : x;
}

void Finder::Add(PointKind kind, double x, bool zeroY)
{
    // A secant step may leave its bracket for a point of the curve beyond the interval. Where
    // doubles lie wider apart than a thousandth, as beyond 4e12, no search can place a point.
    if (!(x >= from_ && x <= to_) || std::ilogb(x) > FinestPlace)
        return;
    double s = Snap(x), y = NaN;
    if (s == x && kind >= PointKind::Zero && kind <= PointKind::Inflection)
        s = SnapWithinRounding(x);
    if (kind != PointKind::Pole && kind != PointKind::Gap) {
        y = F(s);
        if (!std::isfinite(y) && s != x) {
            s = x;
            y = F(x);
        }
        if (!std::isfinite(y))
            return;
        // A zero's value is 0; what f says there is rounding.
        if (zeroY || kind == PointKind::Zero || std::abs(y) < 1e-12)
            y = 0;
    }
    if (probe_.Halted())
        return;
    points_.push_back({kind, s, y});
    if (kind == PointKind::Pole)
        poles_.insert(std::upper_bound(poles_.begin(), poles_.end(), s), s);
}

// Differences straddle a pole within their step and turn over there; what they find that close
// to a pole is the pole.
double Finder::PoleRadius(double x) const
{
    return probe_.Differences() ? 4 * probe_.DifferenceAt(x) : 1e-7 * Scale(x);
}

std::vector<CurvePoint> Finder::Tidy()
{
    std::vector<CurvePoint> &all = points_;
    std::sort(all.begin(), all.end(), [](const CurvePoint &a, const CurvePoint &b) {
        return a.kind != b.kind ? a.kind < b.kind : a.x < b.x;
    });
    std::vector<CurvePoint> kept, poles;
    for (const CurvePoint &p : all) {
        const bool pole = p.kind == PointKind::Pole;
        const double close = pole ? PoleRadius(p.x) : 1e-7 * Scale(p.x);
        if (!kept.empty() && kept.back().kind == p.kind && p.x - kept.back().x <= close)
            continue;
        kept.push_back(p);
        if (pole)
            poles.push_back(p);
    }
    std::erase_if(kept, [&](const CurvePoint &p) {
        if (p.kind == PointKind::Pole || p.kind == PointKind::Gap)
            return false;
        const auto it =
            std::lower_bound(poles.begin(), poles.end(), p.x - PoleRadius(p.x),
                             [](const CurvePoint &pole, double x) { return pole.x < x; });
        return it != poles.end() && it->x <= p.x + PoleRadius(p.x);
    });
    std::sort(kept.begin(), kept.end(), [](const CurvePoint &a, const CurvePoint &b) {
        return a.x != b.x ? a.x < b.x : a.kind < b.kind;
    });
    return kept;
}

} // namespace curvefinder

namespace {

std::vector<CurvePoint> Find(const CurveFunctions &curve, double from, double to,
                             const std::function<bool()> &stop, Options options)
{
    if (!curve.f || !std::isfinite(from) || !std::isfinite(to) || !(from < to)
        || !std::isfinite(to - from) || (stop && stop()))
        return {};
    Probe probe(curve, stop, options.cost, options.bends);
    return Finder(probe, from, to, options).Run();
}

} // namespace

double ScanStep(double from, double to)
{
    const double span = to - from;
    const double wanted = std::clamp(span * SamplesPerUnit, FewestSamples, MostSamples);
    const double widest = std::max(std::abs(from), std::abs(to));
    // x / h must stay a whole number well within double precision.
    return std::max(std::exp2(std::floor(std::log2(span / wanted))),
                    std::exp2(std::ilogb(widest) - 40));
}

std::vector<CurvePoint> FindCurvePoints(const CurveFunctions &curve, double from, double to,
                                        const std::function<bool()> &stop)
{
    return Find(curve, from, to, stop, Options{});
}

std::vector<CurvePoint> FindIntersections(const CurveFunctions &a, const CurveFunctions &b,
                                          double from, double to, const std::function<bool()> &stop)
{
    if (!a.f || !b.f)
        return {};
    // The curves meet where their difference has a zero; each of its calls costs two.
    CurveFunctions apart;
    if (a.engine && b.engine) {
        apart.engine = [&](double x) -> std::optional<double> {
            const std::optional<double> u = a.engine(x), v = b.engine(x);
            if (!u || !v)
                return std::nullopt;
            return *u - *v;
        };
    }
    apart.f = [&](double x) {
        return a.f(x) - b.f(x);
    };
    if (a.d1 && b.d1)
        apart.d1 = [&](double x) {
            return a.d1(x) - b.d1(x);
        };
    const Options options{.bends = false, .intercept = false, .cost = 2};
    std::vector<CurvePoint> meets;
    for (const CurvePoint &p : Find(apart, from, to, stop, options)) {
        if (p.kind != PointKind::Zero)
            continue;
        const double y = a.f(p.x);
        meets.push_back({PointKind::Intersection, p.x, std::abs(y) < 1e-12 ? 0 : y});
    }
    return meets;
}

} // namespace lw
