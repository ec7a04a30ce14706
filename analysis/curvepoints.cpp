// SPDX-License-Identifier: GPL-3.0-or-later

#include "curvepoints.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <utility>

namespace lw {

namespace {

constexpr double Eps = std::numeric_limits<double>::epsilon();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A formula costs about a microsecond to evaluate; this many calls keep a curve near 200 ms
// even then, and the scan alone takes at most half of them.
constexpr long AskStopEvery = 16;

// 2 000 samples, or 100 a unit on long intervals, but no more than 10 000 wanted; the step
// rounds down to a power of two, so the scan takes up to twice as many.
constexpr double FewestSamples = 2000;
constexpr double SamplesPerUnit = 100;
constexpr double MostSamples = 10000;

// A formula rounds in its terms, which may be larger than its value; a difference of values
// smaller than this many ulps of them says nothing about the curve.
constexpr double NoiseUlps = 1000;

// Differences stand in for missing derivatives; their step balances rounding against the
// curvature the step spans (about the cube root of the double precision).
constexpr double DifferenceStep = 1.2e-4;

// Double precision rounds a formula's terms 2^29 times finer than the plotter's single precision;
// a value this many times its rounding is the curve's, not rounding.
constexpr double RoundingRatio = 0x1p-29;
constexpr double ClearOfRounding = 1000;
// How far out a curve flattened by a root of high order is looked at for values clear of rounding.
constexpr int FlatSteps = 8;
// How far the rounding about such a root may blur it: a few steps of the scan, or further on a
// fine scan (an expanded (x-4)^6 is rounding within 0.02 of 4).
constexpr double BlurSteps = 8;
constexpr double WidestBlur = 1.0 / 16;
// Values this small fade into double's underflow (x^1000 about 0).
constexpr double Underflow = 1e-250;

// 2^42: doubles lie 2^-10 apart there.
constexpr int FinestPlace = 42;

// Halving from the widest double range down to neighbouring doubles.
constexpr int MostHalvings = 2100;

// A turn or bend is wanted to 1e-3; a search of derivatives to 1e-10 leaves room for rounding
// to simple values and costs half of one down to neighbouring doubles.
constexpr double TurnTolerance = 1e-10;

int Sign(double v)
{
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

bool Opposite(double a, double b)
{
    return Sign(a) * Sign(b) < 0;
}

double Noise(double a, double b, double c)
{
    return NoiseUlps * Eps * (std::abs(a) + std::abs(b) + std::abs(c));
}

double Scale(double x)
{
    return std::max(1.0, std::abs(x));
}

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

// The calls to the curve, counted: every one spends from the budget, and now and then `stop`
// is asked. Once either says enough, every call answers "no value", so that whatever search
// runs ends within its bound and adds nothing.
class Probe {
public:
    Probe(const CurveFunctions &curve, const std::function<bool()> &stop, long cost, bool bends)
        : curve_(curve), stop_(stop), cost_(cost), bends_(bends)
    {}

    bool Halted() const { return halted_; }
    bool Differences() const { return !curve_.d1 || (bends_ && !curve_.d2); }
    void SetGridStep(double step) { widestDifference_ = step / 4; }
    double DifferenceAt(double x) const
    {
        return std::min(DifferenceStep * Scale(x), widestDifference_);
    }

    std::optional<double> Engine(double x)
    {
        if (!curve_.engine || !Spend())
            return std::nullopt;
        return curve_.engine(x);
    }
    double F(double x) { return Spend() ? curve_.f(x) : NaN; }
    double D1(double x);
    double D2(double x);
    void Derivatives(double x, double &d1, double &d2);

private:
    bool Spend();
    std::pair<double, double> FromSamples(double x);

    const CurveFunctions &curve_;
    const std::function<bool()> &stop_;
    long cost_;
    bool bends_;
    long calls_ = 0;
    long nextAsk_ = 0;
    bool halted_ = false;
    double widestDifference_ = 1;
};

bool Probe::Spend()
{
    if (halted_)
        return false;
    calls_ += cost_;
    if (calls_ >= nextAsk_) {
        nextAsk_ = calls_ + AskStopEvery;
        halted_ = calls_ > EvaluationBudget || (stop_ && stop_());
    }
    return !halted_;
}

double Probe::D1(double x)
{
    if (curve_.d1)
        return Spend() ? curve_.d1(x) : NaN;
    const double step = DifferenceAt(x);
    const double xp = x + step, xm = x - step;
    return (F(xp) - F(xm)) / (xp - xm);
}

double Probe::D2(double x)
{
    if (curve_.d2)
        return Spend() ? curve_.d2(x) : NaN;
    if (!curve_.d1)
        return FromSamples(x).second;
    const double step = DifferenceAt(x);
    const double xp = x + step, xm = x - step;
    return (D1(xp) - D1(xm)) / (xp - xm);
}

// The scan wants both derivatives; from differences of f alone they share their samples.
void Probe::Derivatives(double x, double &d1, double &d2)
{
    if (curve_.d1 || curve_.d2) {
        d1 = D1(x);
        d2 = D2(x);
    } else {
        std::tie(d1, d2) = FromSamples(x);
    }
}

// x ± step rounds; the steps as they came out keep the quotients exact for a parabola.
std::pair<double, double> Probe::FromSamples(double x)
{
    const double step = DifferenceAt(x);
    const double xp = x + step, xm = x - step, hp = xp - x, hm = x - xm;
    const double fp = F(xp), f0 = F(x), fm = F(xm);
    return {(fp - fm) / (xp - xm),
            2 * (hm * fp - (hp + hm) * f0 + hp * fm) / (hp * hm * (hp + hm))};
}

struct Sample {
    double x;
    double v;  // the curve's value, NaN where it has none
    double d1; // NaN where unknown, as d2
    double d2;
};

// A search bracket [a; b] and the values of the searched function at its ends; `hole` says
// the search met a point without value and stopped there (a = b).
struct Bracket {
    double a;
    double b;
    double ga;
    double gb;
    bool hole = false;
    double Middle() const { return a + (b - a) / 2; }
    // The secant through the ends of a small bracket lands far closer than its middle on a
    // smooth sign change, and no worse at a jump.
    double Crossing() const
    {
        const double x = a - ga * (b - a) / (gb - ga);
        return x >= a && x <= b ? x : Middle();
    }
};

// Where a derivative changes sign near a sample: in [a; b] (a = b when the sample is the point
// itself), with `to` the sign after the change; samples `lo` and `hi` have the signs before and
// after it.
struct Change {
    double a;
    double b;
    double ga;
    double gb;
    int to;
    size_t lo;
    size_t hi;
};

// Intersections need only the zeros of a difference, each call of which calls two curves.
struct Options {
    bool bends = true;
    bool intercept = true;
    long cost = 1;
};

class Finder {
public:
    Finder(Probe &probe, double from, double to, Options options)
        : probe_(probe), from_(from), to_(to), options_(options)
    {}
    std::vector<CurvePoint> Run();

private:
    double F(double x) { return probe_.F(x); }
    bool Has(size_t i) const { return !std::isnan(grid_[i].v); }
    void Scan();
    void Take(double x);
    double Exact(size_t i);
    void Visit(size_t i);
    void ZerosNear(size_t i);
    void ZeroIn(double a, double b, double fa, double fb);
    std::optional<Change> ChangeAt(size_t i, double Sample::*g) const;
    void TurnAt(size_t i);
    void BendAt(size_t i);
    double Reach(const Change &c, double Sample::*g, double p) const;
    bool NearPole(double a, double b) const;
    bool StandsOut(double p);
    double Rounding(double x);
    double RoundingAbout(double p);
    double SnapWithinRounding(double p);
    void ZeroRun(size_t l, size_t r);
    void FlatRoot(double p);
    bool Listed(PointKind kind, double p, double within) const;
    // A search on differences places a turn or bend to about 1e-8 (the step squared), one on
    // derivatives to a few ulps; that close to a simple value, it is there.
    double Closeness() const { return probe_.Differences() ? 1e-7 : 1e-9; }
    double Snap(double x, double within = 1e-9) const;
    void Turn(double p, PointKind kind, double reach);
    void Bend(double p);
    void Singular(double p);
    void Stretch(size_t l, size_t r);
    void Edge(double b, int side, double inner);
    double DomainEdge(double in, double out)
    {
        return Border(in, out, [](double v) { return std::isfinite(v); });
    }
    template<typename Keeps>
    double Border(double in, double out, Keeps keeps);
    Bracket Bisect(double (Probe::*g)(double), Bracket br, double tolerance = 0);
    bool Grows(double p, int side, double reach);
    // A step of a wide range spans far more than a pole's neighbourhood, and overflows.
    bool IsPole(double p)
    {
        const double reach = std::min(h_, Scale(p));
        return Grows(p, -1, reach) || Grows(p, 1, reach);
    }
    bool IsKink(double p, double fp);
    bool Bends(double p, double reach);
    void Add(PointKind kind, double x, bool zeroY = false);
    double PoleRadius(double x) const;
    std::vector<CurvePoint> Tidy();

    Probe &probe_;
    double from_;
    double to_;
    Options options_;
    double h_ = 0;
    std::vector<Sample> grid_;
    std::vector<double> exact_;
    std::vector<char> known_;
    std::vector<char> searched_;
    std::vector<CurvePoint> points_;
    std::vector<double> poles_; // sorted
};

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

void Finder::ZeroIn(double a, double b, double fa, double fb)
{
    const Bracket br = Bisect(&Probe::F, {a, b, fa, fb});
    if (br.hole)
        return Singular(br.a);
    // Closing in on a zero pulls f towards 0; on a pole or a jump it does not.
    const double closed = std::max(std::abs(br.ga), std::abs(br.gb));
    if (closed <= 1e-3 * std::max(std::abs(fa), std::abs(fb))) {
        const double p = std::abs(br.ga) <= std::abs(br.gb) ? br.a : br.b;
        if (StandsOut(p))
            Add(PointKind::Zero, p);
        return;
    }
    if (IsPole(br.Middle()))
        Add(PointKind::Pole, br.Middle());
}

// A derivative that is 0 or unknown at a single sample between opposite signs changes sign at
// that sample (a kink on the grid has no derivative there); a longer run is a plateau.
std::optional<Change> Finder::ChangeAt(size_t i, double Sample::*g) const
{
    const size_t n = grid_.size();
    const int here = Sign(grid_[i].*g);
    if (here == 0) {
        if (i == 0 || i + 1 >= n || !Has(i - 1) || !Has(i + 1))
            return std::nullopt;
        const int before = Sign(grid_[i - 1].*g), after = Sign(grid_[i + 1].*g);
        if (before * after >= 0)
            return std::nullopt;
        return Change{grid_[i].x, grid_[i].x, 0, 0, after, i - 1, i + 1};
    }
    if (i + 1 >= n || !Has(i + 1) || here * Sign(grid_[i + 1].*g) >= 0)
        return std::nullopt;
    return Change{grid_[i].x, grid_[i + 1].x, grid_[i].*g, grid_[i + 1].*g, -here, i, i + 1};
}

// How far from p the derivative keeps the signs it has on either side of its change: out to
// there the curve rises or falls (or bends) all the way, and f may be compared that far out.
double Finder::Reach(const Change &c, double Sample::*g, double p) const
{
    const int before = Sign(grid_[c.lo].*g), after = Sign(grid_[c.hi].*g);
    size_t l = c.lo, r = c.hi;
    while (l > 0 && c.lo - l < 4096 && Has(l - 1) && Sign(grid_[l - 1].*g) == before)
        --l;
    while (r + 1 < grid_.size() && r - c.hi < 4096 && Has(r + 1) && Sign(grid_[r + 1].*g) == after)
        ++r;
    return std::min(p - grid_[l].x, grid_[r].x - p);
}

// Near a pole every derivative changes sign; the pole is known by then (the sign change of f,
// or the first search that met it), and a second search there would find it again.
bool Finder::NearPole(double a, double b) const
{
    const auto it = std::lower_bound(poles_.begin(), poles_.end(), a - PoleRadius(a));
    return it != poles_.end() && *it <= b + PoleRadius(b);
}

void Finder::TurnAt(size_t i)
{
    const std::optional<Change> c = ChangeAt(i, &Sample::d1);
    if (!c || NearPole(c->a, c->b))
        return;
    double p = c->a;
    if (c->a < c->b)
        p = Bisect(&Probe::D1, {c->a, c->b, c->ga, c->gb}, TurnTolerance * Scale(p)).Crossing();
    Turn(p, c->to > 0 ? PointKind::Minimum : PointKind::Maximum, Reach(*c, &Sample::d1, p));
}

void Finder::BendAt(size_t i)
{
    const std::optional<Change> c = ChangeAt(i, &Sample::d2);
    if (!c || NearPole(c->a, c->b))
        return;
    // Rounding makes d2 flicker about 0 wherever the curve is straight; only a bend that f
    // itself shows is worth a search.
    const double middle = c->a + (c->b - c->a) / 2;
    if (!Bends(middle, Reach(*c, &Sample::d2, middle)))
        return;
    double p = c->a;
    if (c->a < c->b)
        p = Bisect(&Probe::D2, {c->a, c->b, c->ga, c->gb}, TurnTolerance * Scale(p)).Crossing();
    Bend(p);
}

void Finder::Turn(double p, PointKind kind, double reach)
{
    const double fp = F(p);
    if (!std::isfinite(fp))
        return Singular(p);
    if (IsPole(p))
        return Add(PointKind::Pole, p);
    if (!StandsOut(p))
        return;
    // d1 may change sign in rounding noise (a constant's differences): the curve itself must
    // stand off the turn on both sides, looking further out on a very flat one such as x^10+1.
    const double want = kind == PointKind::Maximum ? 1 : -1;
    double d = 0, l = 0, r = 0, beside = 0;
    for (int k = 0; k < 16 && beside == 0 && h_ * (1 << k) <= std::max(h_, reach); ++k) {
        d = h_ * (1 << k);
        l = F(p - d);
        r = F(p + d);
        if (!std::isfinite(l) || !std::isfinite(r))
            return;
        const double noise = Noise(fp, l, r);
        const double dl = want * (fp - l), dr = want * (fp - r);
        if (dl < -noise || dr < -noise)
            return;
        if (dl > noise && dr > noise)
            beside = std::max(std::abs(l), std::abs(r));
    }
    if (beside == 0)
        return;
    // Two zeros closer together than the samples hide between two of one sign; the turn
    // between them crosses the x-axis.
    if (Opposite(fp, l) && Opposite(fp, r)) {
        ZeroIn(p - d, p, l, fp);
        ZeroIn(p, p + d, fp, r);
    }
    // A turn on the x-axis is a zero without a sign change (x² at 0): f there is no more than a
    // slight misplacement makes of it (differences place a kink's turn some 1e-9 off, where
    // |x²-3| is already 1e-8), or rounding. Not compared with f a scan step away, which on a
    // wide range dwarfs the -1 of x²-1.
    const double off = 1e-7 * Scale(p);
    const double slack =
        std::abs(F(p - off) - fp) + std::abs(F(p + off) - fp) + ClearOfRounding * RoundingAbout(p);
    const bool touches = std::abs(fp) <= slack && !Opposite(fp, l);
    p = Snap(p, Closeness());
    Add(kind, p, touches);
    if (touches)
        Add(PointKind::Zero, p);
}

void Finder::Bend(double p)
{
    const double fp = F(p);
    if (!std::isfinite(fp))
        return Singular(p);
    if (IsPole(p))
        return Add(PointKind::Pole, p);
    if (!IsKink(p, fp) && StandsOut(p))
        Add(PointKind::Inflection, Snap(p, Closeness()));
}

void Finder::Singular(double p)
{
    Add(IsPole(p) ? PointKind::Pole : PointKind::Gap, p);
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

// The last point whose value `keeps` says yes to between `in` (yes) and `out` (no).
template<typename Keeps>
double Finder::Border(double in, double out, Keeps keeps)
{
    for (int k = 0; k < 100; ++k) {
        const double m = in + (out - in) / 2;
        if (m == in || m == out)
            break;
        (keeps(F(m)) ? in : out) = m;
    }
    return in;
}

// Without a tolerance, halves down to neighbouring doubles, so that a single point without
// value inside the bracket is met rather than stepped over.
Bracket Finder::Bisect(double (Probe::*g)(double), Bracket br, double tolerance)
{
    const int signA = Sign(br.ga);
    for (int k = 0; k < MostHalvings && !probe_.Halted() && br.b - br.a > tolerance; ++k) {
        const double m = br.Middle();
        if (m <= br.a || m >= br.b)
            break;
        const double gm = (probe_.*g)(m);
        if (std::isnan(gm))
            return {m, m, gm, gm, true};
        if (gm == 0)
            return {m, m, 0, 0};
        if (Sign(gm) == signA) {
            br.a = m;
            br.ga = gm;
        } else {
            br.b = m;
            br.gb = gm;
        }
    }
    return br;
}

// Whether f grows without bound towards p from `side`. Looking ten times closer each step, f
// keeps moving the same way by at least half as much as the step before towards 1/x or ln|x|;
// towards a value or a finite limit it slows down at once.
bool Finder::Grows(double p, int side, double reach)
{
    const double nearest = std::max(NoiseUlps * Eps * std::abs(p), 1e-300);
    double last = NaN, step = NaN;
    int steps = 0;
    double d = reach;
    for (int k = 0; k < 8 && d >= nearest; ++k, d /= 10) {
        const double v = F(p + side * d);
        // Infinite only far out is overflow; closer in after a finite value, the pole itself.
        if (std::isinf(v) && k > 0)
            return true;
        if (std::isinf(v))
            continue;
        if (std::isnan(v))
            break;
        if (!std::isnan(last)) {
            const double s = v - last;
            if (s == 0 || (steps > 0 && (Opposite(s, step) || std::abs(s) < std::abs(step) / 2)))
                return false;
            step = s;
            ++steps;
        }
        last = v;
    }
    return steps >= 3;
}

// Across a kink the slopes on either side differ by the same jump however close one looks; on
// a smooth curve the difference shrinks with the distance (to an eighth at an eighth of it).
bool Finder::IsKink(double p, double fp)
{
    const double wide = (F(p + h_) - 2 * fp + F(p - h_)) / h_;
    const double d = h_ / 8;
    const double l = F(p - d), r = F(p + d);
    const double narrow = (r - 2 * fp + l) / d;
    if (!std::isfinite(wide) || !std::isfinite(narrow))
        return false;
    // An expanded polynomial rounds in its terms, far above its value near a flat bend.
    const double noise = std::max(Noise(l, 2 * fp, r), ClearOfRounding * RoundingAbout(p));
    return std::abs(narrow) > noise / d && std::abs(narrow) >= 0.4 * std::abs(wide);
}

// Whether f itself bends one way before p and the other way after it: second differences on
// either side, beyond rounding, of opposite signs; looking further out on a very flat bend.
bool Finder::Bends(double p, double reach)
{
    const double fp = F(p);
    for (int k = 0; k < 16 && 2 * h_ * (1 << k) <= std::max(2 * h_, reach); ++k) {
        const double d = h_ * (1 << k);
        const double l1 = F(p - d), l2 = F(p - 2 * d), r1 = F(p + d), r2 = F(p + 2 * d);
        const double left = l2 - 2 * l1 + fp, right = fp - 2 * r1 + r2;
        if (!std::isfinite(left) || !std::isfinite(right))
            return false;
        if (std::abs(left) > Noise(l2, 2 * l1, fp) && std::abs(right) > Noise(fp, 2 * r1, r2))
            return Opposite(left, right);
    }
    return false;
}

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
