// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace benchmark {
class State;
}

namespace lw::bench {

struct PolyTerm {
    int coefficient; // signed; the first term is positive so the term needs no leading minus
    int exponent;
};

// Small coefficients and exponents 0..3 keep every value in float range for |x| <= 10.
constexpr PolyTerm MakeTerm(int index)
{
    const int magnitude = 1 + (5 * index + 3) % 9;
    return {index % 3 == 1 ? -magnitude : magnitude, index % 4};
}

template<std::size_t N>
constexpr std::array<PolyTerm, N> MakeTerms()
{
    std::array<PolyTerm, N> terms{};
    for (std::size_t i = 0; i < N; ++i)
        terms[i] = MakeTerm(static_cast<int>(i));
    return terms;
}

inline constexpr std::array<PolyTerm, 40> Poly40 = MakeTerms<40>();

enum class Shape { Short, Poly40 };

// "3*x^2-5*x^3+..." for the first `count` terms of the generator.
std::string MathPolynomial(int count);
std::u16string ToUtf16(const std::string &ascii);

std::string MathTerm(Shape shape);
// The KZN formula of the shape; empty when the conversion failed.
const std::u16string &KznFormula(Shape shape);

// The x values the plotter visits: -10 onwards in float steps of 0.1 up to 10.
const std::vector<float> &SampleWalk();

// The first sample at which FormulaProgram differs from the text pipeline, described.
std::optional<std::string> FastPathMismatch(Shape shape);
// The first sample at which a compiled function disagrees with the text pipeline beyond rounding.
std::optional<std::string> FloorMismatch(Shape shape, float (*floor)(float));

// Skips the benchmark with a reason when the formula of the shape is unusable.
bool SkipIfNoFormula(benchmark::State &state, Shape shape);
// Reports the walk's samples as the unit of work of a run over the whole walk.
void SetPerSample(benchmark::State &state);

} // namespace lw::bench
