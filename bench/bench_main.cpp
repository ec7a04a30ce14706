// SPDX-License-Identifier: GPL-3.0-or-later

#include "benchinputs.h"
#include "machine.h"

#include "formula/formulaprogram.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <unistd.h>

namespace {

using lw::bench::Shape;

void printPreflight()
{
    const std::vector<float> &walk = lw::bench::SampleWalk();
    std::printf("CPU: %s\n", lw::bench::CpuModel().c_str());
    std::printf("x walk: %zu samples, %.7g .. %.7g\n", walk.size(), walk.front(), walk.back());
    for (Shape shape : {Shape::Short, Shape::Poly40}) {
        const char *name = shape == Shape::Short ? "short " : "poly40";
        const std::u16string &formula = lw::bench::KznFormula(shape);
        if (formula.empty()) {
            std::printf("%s: conversion FAILED\n", name);
            continue;
        }
        const auto mismatch = lw::bench::FastPathMismatch(shape);
        std::printf("%s: term %zu chars, formula %zu chars, fast path %s, bit-identical: %s\n",
                    name, lw::bench::MathTerm(shape).size(), formula.size(),
                    lw::FormulaProgram(formula).isCompiled() ? "compiled" : "text fallback",
                    mismatch ? ("NO, " + *mismatch).c_str() : "yes");
    }
    std::printf("\n");
}

// Echoes every run to the console and keeps it for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            record(run);
    }

    void printSummary() const;

private:
    struct Figure {
        double seconds = 0.0; // CPU time per iteration, averaged over repetitions
        int runs = 0;
        double length = 0.0;
        double formula = 0.0;
    };

    void record(const Run &run)
    {
        if (run.error_occurred)
            return;
        if (run.run_type == Run::RT_Aggregate) {
            if (run.aggregate_name == "BigO")
                bigO = run;
            else if (run.aggregate_name == "RMS")
                rms = run.GetAdjustedCPUTime();
            return;
        }
        Figure &figure = figures[run.benchmark_name()];
        figure.seconds = (figure.seconds * figure.runs + run.cpu_accumulated_time / run.iterations)
                         / (figure.runs + 1);
        ++figure.runs;
        if (const auto it = run.counters.find("length"); it != run.counters.end())
            figure.length = it->second;
        if (const auto it = run.counters.find("formula"); it != run.counters.end())
            figure.formula = it->second;
    }

    double seconds(const std::string &name) const
    {
        const auto it = figures.find(name);
        return it == figures.end() ? NAN : it->second.seconds;
    }

    double nsPerSample(const std::string &name) const
    {
        return seconds(name) * 1e9 / static_cast<double>(lw::bench::SampleWalk().size());
    }

    const Figure *conversion(const char *terms) const
    {
        const auto it = figures.find(std::string("ConvertTerm/") + terms);
        return it == figures.end() ? nullptr : &it->second;
    }

    void printSamples() const;
    double printLocalExponents() const;
    void printGrowth() const;
    void printTypedEquation() const;

    std::map<std::string, Figure> figures;
    std::optional<Run> bigO;
    double rms = NAN;
};

const char *bigOName(benchmark::BigO complexity)
{
    switch (complexity) {
    case benchmark::o1: return "O(1)";
    case benchmark::oN: return "O(N)";
    case benchmark::oNSquared: return "O(N^2)";
    case benchmark::oNCubed: return "O(N^3)";
    case benchmark::oLogN: return "O(lgN)";
    case benchmark::oNLogN: return "O(NlgN)";
    default: return "?";
    }
}

std::string number(double value, const char *format)
{
    if (std::isnan(value))
        return "-";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

const char *verdict(double ratio, double limit)
{
    return std::isnan(ratio) ? "not measured" : ratio <= limit ? "met" : "MISSED";
}

void SummaryReporter::printSamples() const
{
    static const char *const rows[][2] = {{"text pipeline", "TextPipeline"},
                                          {"fast path", "FastPath"},
                                          {"  of which value of x's text", "NumberTextValue"},
                                          {"number text of x with its value", "NumberText"},
                                          {"muparser bytecode", "MuParser"},
                                          {"compiled floor", "CompiledFloor"}};
    std::printf("%-34s %12s %12s\n", "ns per sample", "short", "poly40");
    for (const auto &row : rows) {
        const std::string name = row[1];
        const bool shared = figures.count(name) != 0;
        std::printf("  %-32s %12s %12s\n", row[0],
                    number(nsPerSample(shared ? name : name + "/short"), "%.2f").c_str(),
                    number(nsPerSample(shared ? name : name + "/poly40"), "%.2f").c_str());
    }
    static const char *const ratios[][3] = {
        {"text pipeline / muparser", "TextPipeline", "MuParser"},
        {"fast path / muparser", "FastPath", "MuParser"},
        {"text pipeline / compiled floor", "TextPipeline", "CompiledFloor"},
        {"fast path / compiled floor", "FastPath", "CompiledFloor"},
        {"text pipeline / fast path", "TextPipeline", "FastPath"}};
    std::printf("%-34s\n", "ratios");
    for (const auto &ratio : ratios) {
        const std::string a = ratio[1], b = ratio[2];
        std::printf("  %-32s %12s %12s\n", ratio[0],
                    number(seconds(a + "/short") / seconds(b + "/short"), "%.1fx").c_str(),
                    number(seconds(a + "/poly40") / seconds(b + "/poly40"), "%.1fx").c_str());
    }
    const double text = seconds("TextPipeline/short") / seconds("MuParser/short");
    const double fast = seconds("FastPath/short") / seconds("MuParser/short");
    const double fastPoly = seconds("FastPath/poly40") / seconds("MuParser/poly40");
    std::printf("goal, short formula within 10x of muparser: text pipeline %s %s\n",
                number(text, "%.1fx").c_str(), verdict(text, 10.0));
    std::printf("goal, fast path within 2x of muparser: short %s %s, poly40 %s %s\n\n",
                number(fast, "%.1fx").c_str(), verdict(fast, 2.0),
                number(fastPoly, "%.1fx").c_str(), verdict(fastPoly, 2.0));
}

// The steepest growth between consecutive sizes, as the exponent of the length ratio.
double SummaryReporter::printLocalExponents() const
{
    double worst = 0.0;
    for (const auto &[small, large] : {std::pair{"10", "100"}, std::pair{"100", "1000"}}) {
        const Figure *a = conversion(small);
        const Figure *b = conversion(large);
        if (!a || !b)
            continue;
        const double time = b->seconds / a->seconds;
        const double length = b->length / a->length;
        const double exponent = std::log(time) / std::log(length);
        worst = std::max(worst, exponent);
        std::printf("  time(%s)/time(%s) = %.1f, length ratio %.1f, local exponent %.2f\n", large,
                    small, time, length, exponent);
    }
    return worst;
}

void SummaryReporter::printGrowth() const
{
    if (!conversion("10") && !conversion("100") && !conversion("1000"))
        return;
    std::printf("%-14s %8s %9s %16s\n", "ConvertTerm", "length", "formula", "ms/conversion");
    for (const char *terms : {"10", "100", "1000"}) {
        if (const Figure *figure = conversion(terms))
            std::printf("  %5s terms %8.0f %9.0f %16.4f\n", terms, figure->length, figure->formula,
                        figure->seconds * 1e3);
    }
    const double worst = printLocalExponents();
    if (bigO)
        std::printf("  fitted complexity: %s, RMS %.0f%%\n", bigOName(bigO->complexity),
                    rms * 100.0);
    if (const Figure *largest = conversion("1000"))
        std::printf("  time/length^2 at 1000 terms: %.3g ns\n",
                    largest->seconds * 1e9 / (largest->length * largest->length));
    std::printf("  at most quadratic in the length: %s (largest local exponent %.2f)\n",
                worst <= 2.0 ? "yes" : "NO", worst);
    printTypedEquation();
}

// The whole step a press of Draw runs on a typed term, against the conversion alone.
void SummaryReporter::printTypedEquation() const
{
    double atLargest = NAN;
    for (const char *terms : {"10", "100", "1000"}) {
        const Figure *convert = conversion(terms);
        const double typed = seconds(std::string("TypedEquation/") + terms);
        if (!convert || std::isnan(typed))
            continue;
        const double ratio = typed / convert->seconds;
        if (std::string_view(terms) == "1000")
            atLargest = ratio;
        std::printf("  typed-equation step at %4s terms: %.4f ms, %.3fx ConvertTerm\n", terms,
                    typed * 1e3, ratio);
    }
    std::printf("goal, typed-equation step within 1.1x of ConvertTerm at 1000 terms: %s %s\n",
                number(atLargest, "%.3fx").c_str(), verdict(atLargest, 1.1));
}

void SummaryReporter::printSummary() const
{
    std::printf("\n=== Summary (CPU time, x walk of %zu samples) ===\n",
                lw::bench::SampleWalk().size());
    printSamples();
    printGrowth();
}

struct OutputChoice {
    bool console = true;
    bool color = isatty(STDOUT_FILENO) != 0;
};

// The library applies these flags only to its own reporter, so the summary reporter reads them.
OutputChoice outputChoice(int argc, char **argv)
{
    OutputChoice choice;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--benchmark_format="))
            choice.console = arg.substr(19) == "console";
        if (arg.starts_with("--benchmark_color=")) {
            const std::string_view value = arg.substr(18);
            if (value == "true" || value == "yes" || value == "1")
                choice.color = true;
            else if (value != "auto")
                choice.color = false;
        }
    }
    return choice;
}

} // namespace

int main(int argc, char **argv)
{
    const OutputChoice choice = outputChoice(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (!choice.console) {
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    }
    printPreflight();
    SummaryReporter reporter(choice.color ? benchmark::ConsoleReporter::OO_ColorTabular
                                          : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}
