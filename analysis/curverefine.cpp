// SPDX-License-Identifier: GPL-3.0-or-later

#include "curvefinder.h"

#include <algorithm>

namespace lw::curvefinder {

// Halving from the widest double range down to neighbouring doubles.
constexpr int MostHalvings = 2100;

// A turn or bend is wanted to 1e-3; a search of derivatives to 1e-10 leaves room for rounding
// to simple values and costs half of one down to neighbouring doubles.
constexpr double TurnTolerance = 1e-10;

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

// The last point whose value `keeps` says yes to between `in` (yes) and `out` (no).
double Finder::Border(double in, double out, bool (*keeps)(double))
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

} // namespace lw::curvefinder
