// SPDX-License-Identifier: GPL-3.0-or-later

#include "benchinputs.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <utility>

namespace {

using lw::bench::Shape;

float shortCompiled(float x)
{
    return 2.0f * x * x + 3.0f * x - 4.0f;
}

// The fold unrolls the 40 terms with their constants, as if written out by hand.
template<std::size_t... I>
float poly40Terms(float x, std::index_sequence<I...>)
{
    const float powers[4] = {1.0f, x, x * x, x * x * x};
    float sum = 0.0f;
    ((sum +=
      static_cast<float>(lw::bench::Poly40[I].coefficient) * powers[lw::bench::Poly40[I].exponent]),
     ...);
    return sum;
}

float poly40Compiled(float x)
{
    return poly40Terms(x, std::make_index_sequence<lw::bench::Poly40.size()>());
}

// A template so the floor is called directly, not through a pointer.
template<float (*Floor)(float)>
void runCompiled(benchmark::State &state, Shape shape)
{
    if (lw::bench::SkipIfNoFormula(state, shape))
        return;
    if (const auto mismatch = lw::bench::FloorMismatch(shape, Floor)) {
        state.SkipWithError(("compiled function disagrees at " + *mismatch).c_str());
        return;
    }
    const std::vector<float> &walk = lw::bench::SampleWalk();
    for (auto _ : state) {
        for (float x : walk) {
            benchmark::DoNotOptimize(x);
            const float y = Floor(x);
            benchmark::DoNotOptimize(y);
        }
    }
    lw::bench::SetPerSample(state);
}

void CompiledFloor(benchmark::State &state, Shape shape)
{
    if (shape == Shape::Short)
        runCompiled<shortCompiled>(state, shape);
    else
        runCompiled<poly40Compiled>(state, shape);
}

void MuParser(benchmark::State &state, Shape shape)
{
    double x = 0.0;
    mu::Parser parser;
    try {
        parser.DefineVar("x", &x);
        parser.SetExpr(lw::bench::MathTerm(shape));
        // The first Eval compiles to bytecode; only the steady state is measured.
        parser.Eval();
    } catch (const mu::Parser::exception_type &e) {
        state.SkipWithError(("muparser: " + e.GetMsg()).c_str());
        return;
    }
    const std::vector<float> &walk = lw::bench::SampleWalk();
    for (auto _ : state) {
        for (float sample : walk) {
            x = sample;
            const double y = parser.Eval();
            benchmark::DoNotOptimize(y);
        }
    }
    lw::bench::SetPerSample(state);
}

} // namespace

BENCHMARK_CAPTURE(CompiledFloor, short, Shape::Short);
BENCHMARK_CAPTURE(CompiledFloor, poly40, Shape::Poly40);
BENCHMARK_CAPTURE(MuParser, short, Shape::Short);
BENCHMARK_CAPTURE(MuParser, poly40, Shape::Poly40);
