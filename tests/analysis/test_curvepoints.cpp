// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/curvepoints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

using namespace lw;

namespace {

using enum PointKind;
using std::abs, std::exp, std::log, std::pow, std::sqrt, std::tan;
using Fn = std::function<double(double)>;
using A = std::array<double, 3>; // f, d1, d2
constexpr double Pi = std::numbers::pi;
const double Root2 = sqrt(2.0), Root3 = sqrt(3.0);

// The plotter's value is the double value in single precision, none where it has none.
CurveFunctions Curve(const Fn &f)
{
    CurveFunctions c;
    c.engine = [f](double x) -> std::optional<double> {
        const float v = static_cast<float>(f(x));
        return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
    };
    c.f = f;
    return c;
}

// Where a point stands in the sorted answer.
std::pair<double, PointKind> Place(const CurvePoint &p)
{
    return {p.x, p.kind};
}

// Found points are sorted, have their y from f and match the expected ones one to one: `kinds`
// by their German initials (y-Achsenabschnitt, Nullstelle, Hochpunkt, Tiefpunkt, Wendepunkt,
// Polstelle, Lücke, Schnittpunkt) at `xs`.
void ExpectPoints(const std::string &name, const Fn &f, std::vector<CurvePoint> found,
                  const std::string &kinds, const std::vector<double> &xs)
{
    EXPECT_TRUE(std::ranges::is_sorted(found, {}, Place)) << name;
    for (const CurvePoint &p : found) {
        const bool none = p.kind == Pole || p.kind == Gap, zero = p.y == 0 && abs(f(p.x)) < 1e-6;
        EXPECT_TRUE(none ? std::isnan(p.y) : p.y == f(p.x) || zero) << name << " " << p.x;
    }
    for (size_t k = 0; k < kinds.size(); ++k) {
        const auto kind = PointKind(std::string("YNHTWPLS").find(kinds[k]));
        const double tolerance = kind < Maximum || kind > Inflection ? 1e-4 : 1e-3;
        const auto it = std::ranges::find_if(
            found, [&](auto &p) { return p.kind == kind && abs(p.x - xs[k]) <= tolerance; });
        EXPECT_NE(it, found.end()) << name << ": " << kinds[k] << " at " << xs[k];
        if (it != found.end())
            found.erase(it);
    }
    for (const CurvePoint &p : found)
        ADD_FAILURE() << name << ": more, kind " << int(p.kind) << " at " << p.x;
}

// The hard cases with their first and second derivatives; x/|x| has none at 0.
struct Hard {
    static constexpr double a = 1 + 1.0 / 512;
    static A Square(double x) { return {x * x, 2 * x, 2}; }
    static A Fourth(double x) { return {pow(x, 4), 4 * pow(x, 3), 12 * x * x}; }
    static A Touch(double x)
    {
        return {pow(x - .3, 2) * (x + 2), (x - .3) * (3 * x + 3.7), 6 * x + 2.8};
    }
    static A Pair(double x) { return {pow(x - .3, 2) - 1e-8, 2 * (x - .3), 2}; }
    static A Cube(double x) { return {pow(x - .3, 3), 3 * pow(x - .3, 2), 6 * (x - .3)}; }
    static A Kink(double x) { return {abs(x - 2), (x - 2) / abs(x - 2), 0}; }
    // The kink lies halfway between two samples, where the search for a bend starts.
    static A Hook(double x)
    {
        return {x * abs(x - a), abs(x - a) + x * (x - a) / abs(x - a), 2 * (x - a) / abs(x - a)};
    }
    static A Kinks(double x)
    {
        return {abs(x * x - 3), 2 * x * abs(x * x - 3) / (x * x - 3),
                2 * abs(x * x - 3) / (x * x - 3)};
    }
    static A Hyperbola(double x) { return {1 / x, -1 / (x * x), 2 / pow(x, 3)}; }
    static A Asymptote(double x)
    {
        return {(x * x - 1) / (x - 2), (x * x - 4 * x + 1) / pow(x - 2, 2), 6 / pow(x - 2, 3)};
    }
    static A EvenPole(double x)
    {
        return {pow(x - .3, -2), -2 * pow(x - .3, -3), 6 * pow(x - .3, -4)};
    }
    static A LogPole(double x) { return {log(abs(x - .3)), 1 / (x - .3), -pow(x - .3, -2)}; }
    // By the quotient rule as written, d2 is rounding about 0 near 1.
    static A Lifted(double x)
    {
        const double u = x * x - 1, v = x - 1, d1 = (2 * x * v - u) / (v * v);
        return {u / v, d1, ((2 * x - 2) * v * v - d1 * v * v * 2 * v) / pow(v, 4)};
    }
    static A Tan(double x)
    {
        return {tan(x), pow(std::cos(x), -2), 2 * tan(x) * pow(std::cos(x), -2)};
    }
    static A Circle(double x)
    {
        return {sqrt(2 - x * x), -x / sqrt(2 - x * x), -2 * pow(2 - x * x, -1.5)};
    }
    static A Root(double x) { return {sqrt(x + 4), 0.5 / sqrt(x + 4), -0.25 * pow(x + 4, -1.5)}; }
    static A LogOverX(double x)
    {
        return {log(x) / x, (1 - log(x)) / (x * x), (2 * log(x) - 3) / pow(x, 3)};
    }
    static A Decay(double x) { return {x * exp(-x), (1 - x) * exp(-x), (x - 2) * exp(-x)}; }
    static A Nothing(double) { return {NAN, NAN, NAN}; }
    static A Three(double) { return {3, 0, 0}; }
    // Straight, but differences flicker about 0 in the rounding of 0.1 and 0.3.
    static A Line(double x) { return {0.1 * x + 0.3, 0.1, 0}; }
    // No double beyond |x| = 26.6: the curve leaves the numbers there, not its domain.
    static A Steep(double x)
    {
        return {exp(x * x), 2 * x * exp(x * x), (2 + 4 * x * x) * exp(x * x)};
    }
};

// Each curve runs with its derivatives and again with differences of f in their place.
TEST(CurvePoints, HardCases)
{
    const double e = std::numbers::e, e15 = exp(1.5);
    const struct {
        const char *name;
        A (*fdd)(double);
        double from, to;
        std::string kinds;
        std::vector<double> xs;
    } cases[] = {
        {"x^2", Hard::Square, -5, 5, "YNT", {0, 0, 0}},
        {"x^4", Hard::Fourth, -3, 3, "YNT", {0, 0, 0}},
        {"(x-0.3)^2(x+2)", Hard::Touch, -5, 5, "NHWYNT", {-2, -3.7 / 3, -2.8 / 6, 0, .3, .3}},
        {"(x-0.3)^2-1e-8", Hard::Pair, -1, 1, "YNTN", {0, .3 - 1e-4, .3, .3 + 1e-4}},
        {"(x-0.3)^3", Hard::Cube, -5, 5, "YNW", {0, .3, .3}},
        {"|x-2|", Hard::Kink, -5, 5, "YNT", {0, 2, 2}},
        {"x|x-a|", Hard::Hook, -5, 5, "YNHNT", {0, 0, Hard::a / 2, Hard::a, Hard::a}},
        {"|x^2-3|", Hard::Kinks, -5, 5, "NTYHNT", {-Root3, -Root3, 0, 0, Root3, Root3}},
        {"1/x", Hard::Hyperbola, -5, 5, "P", {0}},
        {"(x^2-1)/(x-2)", Hard::Asymptote, -5, 5, "NYHNPT", {-1, 0, 2 - Root3, 1, 2, 2 + Root3}},
        {"1/(x-0.3)^2", Hard::EvenPole, -2, 2, "YP", {0, .3}},
        {"ln|x-0.3|", Hard::LogPole, -3, 3, "NYPN", {-.7, 0, .3, 1.3}},
        {"(x^2-1)/(x-1)", Hard::Lifted, -5, 5, "NYL", {-1, 0, 1}},
        {"tan x", Hard::Tan, -4, 4, "NWPYNWPNW", {-Pi, -Pi, -Pi / 2, 0, 0, 0, Pi / 2, Pi, Pi}},
        {"sqrt(2-x^2)", Hard::Circle, -2, 2, "NLYHNL", {-Root2, -Root2, 0, 0, Root2, Root2}},
        {"sqrt(x+4)", Hard::Root, -10, 10, "NLY", {-4, -4, 0}},
        {"ln(x)/x", Hard::LogOverX, -2, 10, "PNHW", {0, 1, e, e15}},
        {"x e^-x", Hard::Decay, -2, 10, "YNHW", {0, 0, 1, 2}},
        {"no value", Hard::Nothing, -5, 5, "", {}},
        {"3", Hard::Three, -5, 5, "Y", {0}},
        {"0.1x+0.3", Hard::Line, -5, 5, "NY", {-3, 0}},
        {"e^(x^2)", Hard::Steep, -30, 30, "YT", {0, 0}},
    };
    for (const auto &c : cases) {
        CurveFunctions curve = Curve([&](double x) { return c.fdd(x)[0]; });
        const std::vector<CurvePoint> guessed = FindCurvePoints(curve, c.from, c.to);
        ExpectPoints(std::string(c.name) + " by differences", curve.f, guessed, c.kinds, c.xs);
        curve.d1 = Fn([&](double x) { return c.fdd(x)[1]; });
        curve.d2 = Fn([&](double x) { return c.fdd(x)[2]; });
        ExpectPoints(c.name, curve.f, FindCurvePoints(curve, c.from, c.to), c.kinds, c.xs);
    }
}

TEST(CurvePoints, RejectsBadIntervals)
{
    const CurveFunctions c = Curve([](double x) { return x; });
    for (const auto &[from, to] :
         {std::pair(1.0, 1.0), {2, -2}, {NAN, 1}, {-INFINITY, 1}, {-1.7e308, 1.7e308}})
        EXPECT_TRUE(FindCurvePoints(c, from, to).empty()) << from << " " << to;
}

// Products of (x - r)^m with random roots: the zeros are the roots, and between two roots lies
// exactly one turn, besides one at each double root, maxima and minima taking turns.
TEST(CurvePoints, RandomProductsOfRoots)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> place(-4, 4);
    for (int round = 0; round < 60; ++round) {
        std::vector<double> roots;
        std::vector<int> order;
        while (roots.size() <= static_cast<size_t>(round % 4)) {
            const double r = place(random);
            if (std::ranges::none_of(roots, [&](double s) { return abs(r - s) < 0.1; })) {
                roots.push_back(r);
                order.push_back(1 + int(random() % 2));
            }
        }
        const Fn f = [&](double x) {
            double v = round % 2 ? -1 : 1;
            for (size_t i = 0; i < roots.size(); ++i)
                v *= pow(x - roots[i], order[i]);
            return v;
        };
        std::vector<CurvePoint> found = FindCurvePoints(Curve(f), -5, 5), turned;
        std::erase_if(found, [&](const CurvePoint &p) {
            if (p.kind == Maximum || p.kind == Minimum)
                turned.push_back(p);
            return p.kind != Zero;
        });
        ExpectPoints("product " + std::to_string(round), f, found, std::string(roots.size(), 'N'),
                     roots);
        ASSERT_EQ(turned.size(), roots.size() - 1 + std::ranges::count(order, 2)) << round;
        for (size_t i = 1; i < turned.size(); ++i)
            EXPECT_NE(turned[i].kind, turned[i - 1].kind) << round;
    }
}

// A stop asked now and then ends the search within a few hundred calls with a sorted part of
// the full answer; a curve too dense for the grid runs into the budget, not on and on.
TEST(CurvePoints, StopsWhenAskedAndStaysBounded)
{
    long calls = 0;
    const Fn f([&](double x) { return ++calls, tan(x); });
    const std::vector<CurvePoint> all = FindCurvePoints(Curve(f), -50, 50);
    const long needed = calls;
    bool someOfThem = false;
    for (long limit = 0; limit < needed; limit += needed / 16) {
        calls = 0;
        const std::vector<CurvePoint> part =
            FindCurvePoints(Curve(f), -50, 50, [&] { return calls >= limit; });
        EXPECT_LE(calls, limit + 300) << limit;
        EXPECT_TRUE(std::ranges::includes(all, part, {}, Place, Place)) << limit;
        someOfThem |= !part.empty() && part.size() < all.size();
    }
    EXPECT_TRUE(someOfThem);
    calls = 0;
    FindCurvePoints(Curve([&](double x) { return f(1000 * x); }), -1000, 1000);
    EXPECT_LE(calls, EvaluationBudget + 300);
}

// An identity is 0 within rounding everywhere: no zeros, turns or bends in its noise, which
// the single-precision plotter shows 2^29 times larger.
TEST(CurvePoints, RoundingNoiseHasNoPoints)
{
    CurveFunctions c;
    c.f = Fn([](double x) { return pow(std::sin(x), 2) + pow(std::cos(x), 2) - 1; });
    c.engine = [](double x) {
        const float s = std::sin(float(x)), k = std::cos(float(x));
        return std::optional<double>(s * s + k * k - 1.0f);
    };
    ExpectPoints("sin²+cos²-1", c.f, FindCurvePoints(c, -100, 100), "Y", {0});
}

TEST(CurvePoints, Intersections)
{
    const CurveFunctions square = Curve([](double x) { return x * x; });
    const auto meets = [&](const Fn &g) {
        return FindIntersections(square, Curve(g), -5, 5);
    };
    ExpectPoints("x+2", square.f, meets([](double x) { return x + 2; }), "SS", {-1, 2});
    ExpectPoints("2x-1", square.f, meets([](double x) { return 2 * x - 1; }), "S", {1});
    ExpectPoints("1/x", square.f, meets([](double x) { return 1 / x; }), "S", {1}); // not at 0
}

} // namespace
