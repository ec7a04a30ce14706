// SPDX-License-Identifier: GPL-3.0-or-later

#include "curvefinder.h"

#include <algorithm>
#include <tuple>

namespace lw::curvefinder {

// A formula costs about a microsecond to evaluate; this many calls keep a curve near 200 ms
// even then, and the scan alone takes at most half of them.
constexpr long AskStopEvery = 16;

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

} // namespace lw::curvefinder
