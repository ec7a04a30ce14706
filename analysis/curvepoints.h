// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <optional>
#include <vector>

namespace lw {

// What a point of a curve is to a pupil; the order is the order of points at one x.
enum class PointKind {
    YIntercept,   // y-Achsenabschnitt
    Zero,         // Nullstelle, with a sign change or touching the x-axis (x² at 0)
    Maximum,      // Hochpunkt, also at a kink (-|x| at 0)
    Minimum,      // Tiefpunkt
    Inflection,   // Wendepunkt, never at a kink or a pole
    Pole,         // Polstelle (y is NaN): |f| grows without bound towards x from one side at least
    Gap,          // Definitionslücke (y is NaN); see FindCurvePoints
    Intersection, // Schnittpunkt of two curves
};

struct CurvePoint {
    PointKind kind = PointKind::Zero;
    double x = 0;
    // f(x) in double precision; 0 for zeros, for turns on the x-axis and below 1e-12, which is
    // rounding; NaN for poles and gaps.
    double y = 0;
};

// One function as the analysis sees it. `engine` is the value the plotter draws at x (single
// precision at every step), nullopt where it draws no point; `f`, `d1`, `d2` are the function
// and its first and second derivative in double precision, NaN where they have no value. The
// derivatives may be empty: then they are formed from differences of f.
struct CurveFunctions {
    std::function<std::optional<double>(double)> engine;
    std::function<double(double)> f;
    std::function<double(double)> d1;
    std::function<double(double)> d2;
};

// The points of the curve on [from; to], sorted by x (and by kind at one x); none for bounds
// that are not finite or not from < to.
//
// Scans 2 000 to 20 000 samples (100 a unit on long intervals) a power of two apart, so that
// every integer and simple fraction is one, and searches sign changes of f, d1 and d2 in double.
// A sample has a value where the plotter has one or f is finite: beyond single precision is
// still a value. Turns at the ends of the interval are not points; a kink with a sign change of
// d1 is a turn (|x-2| at 2); plateaus and runs of exact zeros give no points, and neither does a
// curve that is 0 within rounding everywhere (sin²x+cos²x-1). Where the curve has no value:
// - a single point without value is a gap, or a pole when |f| grows without bound towards it;
// - a stretch without value gives a point at each end that borders values, at the last x with
//   a value: a pole when |f| grows without bound towards it (ln x at 0, on [-5; 5] as on
//   [0; 5]), else a gap, and also a zero when the curve ends on the x-axis (sqrt(x+4) at -4);
// - where double precision overflows (e^(x²) beyond 26.6) there is no point: the curve leaves
//   the numbers there, not its domain.
// An x within 1e-9 (1e-7 where the derivatives come from differences) of a fraction with a
// denominator up to 12 is that fraction.
//
// Never runs away: at most EvaluationBudget calls of the curve's functions, and `stop` (which may
// hold a deadline) is asked every 16 calls; once either says enough, what was found so far
// comes back. Each sample costs a single and a double evaluation: sin(x) on [-1000; 1000] needs
// more than 200 000 for all its 1 911 points.
inline constexpr long EvaluationBudget = 400000;
std::vector<CurvePoint> FindCurvePoints(const CurveFunctions &curve, double from, double to,
                                        const std::function<bool()> &stop = {});

// The step of the scan on [from; to].
double ScanStep(double from, double to);
// Coarser than this, a bend or a pair of zeros within a unit may lie between two samples.
inline constexpr double CoarsestScanStep = 1.0 / 8;

// Where two curves meet on [from; to] (kind Intersection, y the value of a), sorted by x: the
// zeros of a - b where both have values, touching ones too. A call of both counts two calls.
std::vector<CurvePoint> FindIntersections(const CurveFunctions &a, const CurveFunctions &b,
                                          double from, double to,
                                          const std::function<bool()> &stop = {});

} // namespace lw
