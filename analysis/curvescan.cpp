// SPDX-License-Identifier: GPL-3.0-or-later

#include "curvefinder.h"

#include <cstdint>

namespace lw::curvefinder {

// A step of a power of two puts every integer and every simple fraction on the grid. That is
// where pupils put their lifted points, such as (x²-1)/(x-1) at 1: a single point without
// value, which no search between samples would meet.
void Finder::Scan()
{
    h_ = ScanStep(from_, to_);
    if (!(h_ > 0) || !std::isfinite(h_))
        return;
    probe_.SetGridStep(h_);
    const double first = std::ceil(from_ / h_);
    const auto count = static_cast<int64_t>(std::floor(to_ / h_) - first);
    grid_.reserve(static_cast<size_t>(count + 3));
    Take(from_);
    for (int64_t j = 0; j <= count && !probe_.Halted(); ++j) {
        const double x = (first + static_cast<double>(j)) * h_;
        if (x > from_ && x < to_)
            Take(x);
    }
    Take(to_);
}

void Finder::Take(double x)
{
    Sample s{x, NaN, NaN, NaN};
    double exact = NaN;
    bool known = false;
    const std::optional<double> e = probe_.Engine(x);
    // The plotter's value says where the curve is. Where it has none or rounds to 0, the double
    // value decides: a value beyond single precision is still a value, and 0 must be exact.
    if (e && std::isfinite(*e) && *e != 0) {
        s.v = *e;
    } else {
        exact = F(x);
        known = true;
        s.v = std::isfinite(exact) ? exact : NaN;
    }
    if (!std::isnan(s.v)) {
        if (options_.bends)
            probe_.Derivatives(x, s.d1, s.d2);
        else
            s.d1 = probe_.D1(x);
    }
    grid_.push_back(s);
    exact_.push_back(exact);
    known_.push_back(known);
}

double Finder::Exact(size_t i)
{
    if (!known_[i]) {
        exact_[i] = F(grid_[i].x);
        known_[i] = true;
    }
    return exact_[i];
}

std::vector<CurvePoint> Finder::Run()
{
    Scan();
    if (probe_.Halted() || grid_.empty())
        return {};
    searched_.assign(grid_.size(), 0);
    if (options_.intercept && from_ <= 0 && 0 <= to_)
        Add(PointKind::YIntercept, 0);
    size_t start = 0;
    for (size_t i = 0; i < grid_.size() && !probe_.Halted(); ++i) {
        if (Has(i)) {
            Visit(i);
            continue;
        }
        if (i == 0 || Has(i - 1))
            start = i;
        if (i + 1 == grid_.size() || Has(i + 1))
            Stretch(start, i);
    }
    std::vector<double> zeros;
    for (const CurvePoint &p : points_) {
        if (p.kind == PointKind::Zero)
            zeros.push_back(p.x);
    }
    for (const double p : zeros)
        FlatRoot(p);
    return Tidy();
}

void Finder::Visit(size_t i)
{
    const size_t n = grid_.size();
    // A run of exact zeros is a stretch of the x-axis, not a row of zeros.
    // Double precision may hit a root exactly where single precision rounds beside it.
    const auto zero = [&](size_t j) {
        return grid_[j].v == 0 || Exact(j) == 0;
    };
    const bool first = i == 0 || !zero(i - 1), last = i + 1 == n || !zero(i + 1);
    if (zero(i) && first && last && StandsOut(grid_[i].x))
        Add(PointKind::Zero, grid_[i].x);
    if (zero(i) && first && !last) {
        size_t r = i + 1;
        while (r + 1 < n && zero(r + 1))
            ++r;
        ZeroRun(i, r);
    }
    // Single precision may lose a flat sign change in its rounding (an expanded (x-a)^5).
    if (i + 1 < n && Has(i + 1)
        && (Opposite(grid_[i].v, grid_[i + 1].v) || Opposite(Exact(i), Exact(i + 1))))
        ZerosNear(i);
    TurnAt(i);
    if (options_.bends)
        BendAt(i);
}

// The plotter's single precision may put a sign change one sample beside where double
// precision has it (or see one in rounding noise); the search goes where double precision says.
void Finder::ZerosNear(size_t i)
{
    const size_t last = std::min(i + 2, grid_.size() - 2);
    for (size_t j = i >= 2 ? i - 2 : 0; j <= last; ++j) {
        if (searched_[j] || !Has(j) || !Has(j + 1))
            continue;
        searched_[j] = true;
        if (Exact(j) == 0 && grid_[j].v != 0 && StandsOut(grid_[j].x))
            Add(PointKind::Zero, grid_[j].x);
        if (Opposite(Exact(j), Exact(j + 1)))
            ZeroIn(grid_[j].x, grid_[j + 1].x, Exact(j), Exact(j + 1));
    }
}

// Samples l..r have no value: the domain ends at each side that has values. For a single point
// without value, such as (x²-1)/(x-1) at 1, both ends come out as the one gap or pole.
void Finder::Stretch(size_t l, size_t r)
{
    if (l > 0)
        Edge(DomainEdge(grid_[l - 1].x, grid_[l].x), -1, grid_[l - 1].x);
    if (r + 1 < grid_.size())
        Edge(DomainEdge(grid_[r + 1].x, grid_[r].x), 1, grid_[r + 1].x);
}

// One point where the domain ends, `side` pointing towards the values: a pole when f grows
// without bound towards it (ln x at 0, whether or not the interval reaches beyond), else a gap;
// and a zero when the curve ends on the x-axis (sqrt(x+4) at -4).
void Finder::Edge(double b, int side, double inner)
{
    // On a wide range the values may end far closer to the last sample with one than a step.
    const double reach = std::min(h_, std::abs(b - inner));
    if (Grows(b, side, reach))
        return Add(PointKind::Pole, b);
    // Beyond the largest double the curve leaves the numbers, not its domain (e^(x²) at 26.6).
    if (std::abs(F(b)) > 1e300)
        return;
    Add(PointKind::Gap, b);
    const double s = Snap(b), fb = F(s), within = F(b + side * reach);
    if (std::isfinite(fb) && std::isfinite(within) && std::abs(fb) <= 1e-3 * std::abs(within))
        Add(PointKind::Zero, s);
}

} // namespace lw::curvefinder
