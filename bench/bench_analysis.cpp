// SPDX-License-Identifier: GPL-3.0-or-later
// The curve analysis of two school functions over [-20; 20] against finding the same points by
// sampling the formula at 2 000 000 points, as a program without the analysis would.

#include "analysis/analysis.h"
#include "formula/equation.h"
#include "formula/formulaprogram.h"
#include "machine.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double From = -20;
constexpr double To = 20;
constexpr int SampledPoints = 2'000'000;
constexpr double GoalMs = 20;

const char16_t *const Equations[] = {u"x^5-5x^3+4x", u"2*sin(3x)+cos(x)"};

std::map<std::string, std::vector<double>> millis;

std::u16string formulaOf(int index)
{
    return lw::FormulaOfEquation(Equations[index], lw::Notation::Mathematical).formula;
}

// Sign changes of the value and of its steps: zeros and turning points to within a sample.
std::size_t sampledPoints(const std::u16string &formula)
{
    const lw::FormulaProgram program(formula);
    std::size_t found = 0;
    float before = 0;
    float slopeBefore = 0;
    for (int i = 0; i < SampledPoints; ++i) {
        const float x = static_cast<float>(From + (To - From) * i / (SampledPoints - 1));
        const float y = program.sample(x).value;
        const float slope = y - before;
        if (i > 0 && ((y < 0) != (before < 0)))
            ++found;
        if (i > 1 && ((slope < 0) != (slopeBefore < 0)))
            ++found;
        before = y;
        slopeBefore = slope;
    }
    return found;
}

void Analysis(benchmark::State &state)
{
    const std::u16string formula = formulaOf(static_cast<int>(state.range(0)));
    const std::string name = "analysis " + std::to_string(state.range(0));
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        benchmark::DoNotOptimize(lw::AnalyseFormula(formula, From, To));
        const double ms = clock.nsecsElapsed() * 1e-6;
        millis[name].push_back(ms);
        state.SetIterationTime(ms * 1e-3);
    }
}

void Sampling(benchmark::State &state)
{
    const std::u16string formula = formulaOf(static_cast<int>(state.range(0)));
    const std::string name = "sampling " + std::to_string(state.range(0));
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        benchmark::DoNotOptimize(sampledPoints(formula));
        const double ms = clock.nsecsElapsed() * 1e-6;
        millis[name].push_back(ms);
        state.SetIterationTime(ms * 1e-3);
    }
}

BENCHMARK(Analysis)->Arg(0)->Arg(1)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(Sampling)->Arg(0)->Arg(1)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values.empty() ? NAN : values[values.size() / 2];
}

void printSummary()
{
    std::printf("\n=== Summary (wall time, median; analysis over [-20; 20] against sampling at "
                "2 000 000 points)\n");
    for (int i = 0; i < 2; ++i) {
        const std::u16string typed = Equations[i];
        const double analysis = median(millis["analysis " + std::to_string(i)]);
        const double sampling = median(millis["sampling " + std::to_string(i)]);
        std::printf("  %-18s analysis %8.3f ms   sampling %8.3f ms   sampling / analysis %6.1f\n",
                    std::string(typed.begin(), typed.end()).c_str(), analysis, sampling,
                    sampling / analysis);
        std::printf("goal, the analysis of %s within %.0f ms: %s (%.2f of it)\n",
                    std::string(typed.begin(), typed.end()).c_str(), GoalMs,
                    analysis <= GoalMs ? "met" : "MISSED", analysis / GoalMs);
    }
    std::printf("CPU: %s\n", lw::bench::CpuModel().c_str());
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    printSummary();
    benchmark::Shutdown();
    return 0;
}
