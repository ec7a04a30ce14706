// SPDX-License-Identifier: GPL-3.0-or-later
// What the search for the points of a curve shares between its steps: the counted calls to the
// curve, the samples of the scan, and the finder whose members the scan, the refinement, the
// judgement of rounding and the list of points split between them.

#pragma once

#include "curvepoints.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace lw::curvefinder {

inline constexpr double Eps = std::numeric_limits<double>::epsilon();
inline constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A formula rounds in its terms, which may be larger than its value; a difference of values
// smaller than this many ulps of them says nothing about the curve.
inline constexpr double NoiseUlps = 1000;

// Differences stand in for missing derivatives; their step balances rounding against the
// curvature the step spans (about the cube root of the double precision).
inline constexpr double DifferenceStep = 1.2e-4;

// Double precision rounds a formula's terms 2^29 times finer than the plotter's single precision;
// a value this many times its rounding is the curve's, not rounding.
inline constexpr double RoundingRatio = 0x1p-29;
inline constexpr double ClearOfRounding = 1000;

inline int Sign(double v)
{
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

inline bool Opposite(double a, double b)
{
    return Sign(a) * Sign(b) < 0;
}

inline double Noise(double a, double b, double c)
{
    return NoiseUlps * Eps * (std::abs(a) + std::abs(b) + std::abs(c));
}

inline double Scale(double x)
{
    return std::max(1.0, std::abs(x));
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
    double Border(double in, double out, bool (*keeps)(double));
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

} // namespace lw::curvefinder
