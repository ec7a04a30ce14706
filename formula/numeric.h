#pragma once

#include <cstdint>
#include <optional>

namespace lw {

// The engine's error flag: 0 or -1. Set by CalcSqr and the evaluator,
// cleared only by whoever starts an evaluation (the plotter, the eval tool).
extern int16_t CalcError;

// A folding step either yields the new accumulator or signals an arithmetic
// fault, which the evaluator turns into CalcError = -1.
using StepResult = std::optional<float>;

StepResult CalcSum(float acc, float value, int index);
StepResult CalcDif(float acc, float value, int index);
StepResult CalcPro(float acc, float value, int index);
StepResult CalcDiv(float acc, float value, int index);
StepResult CalcPot(float acc, float value, int index);
StepResult CalcAmi(float acc, float value, int index, float count);
float CalcSqr(float value);
float CalcSin(float value);
float CalcCos(float value);
float CalcTan(float value);
StepResult CalcAbs(float value);

// Rounds to the nearest 16-bit integer, halves to even; nullopt on overflow
// (or for a non-finite value).
std::optional<int16_t> RoundToInt16(double value);

} // namespace lw
