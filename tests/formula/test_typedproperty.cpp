// SPDX-License-Identifier: GPL-3.0-or-later

#include "pupilreader.h"

#include "formula/equation.h"
#include "formula/formulaprogram.h"
#include "formula/numbertext.h"
#include "formula/variables.h"

#include <QString>
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace lw::test {
namespace {

constexpr uint64_t SeedCount = 5000;
constexpr std::array<float, 6> XValues = {-2.5f, -1.0f, -0.3f, 0.7f, 1.3f, 2.9f};
constexpr std::array<double, 8> Parameters = {1.5, -0.5, 2, 0.25, 2.718282, -1.25, 3, 0.75};
constexpr int MaxReported = 8;

VariableValues Panel()
{
    VariableValues panel;
    panel.editMode = true;
    panel.checked.fill(true);
    for (std::size_t i = 0; i < Parameters.size(); ++i)
        panel.values[i] = NumberText(float(Parameters[i]));
    return panel;
}

std::string Utf8(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text)).toStdString();
}

struct Comparison {
    bool read = false; // by the reference
    int compared = 0;
    int skipped = 0; // near a step that faults or jumps, or past what float holds
    std::string disagreement;
};

// The plotter's way: convert, put the parameters in, evaluate at the number text of x.
Comparison Compare(const std::u16string &typed)
{
    Comparison result;
    const EquationFormula program = FormulaOfEquation(typed, Notation::Mathematical);
    const PupilReading reading = ReadPupil(typed, 0, Parameters);
    result.read = !reading.refused;
    if (program.fault != EquationFault::None || reading.refused) {
        if (program.fault == EquationFault::None)
            result.disagreement =
                "program reads " + Utf8(program.formula) + ", reference refuses: " + reading.why;
        else if (!reading.refused)
            result.disagreement =
                "program refuses (" + Utf8(program.message) + "), reference reads";
        return result;
    }
    const std::u16string formula = UpdateVariables(program.formula, Panel());
    const FormulaProgram compiled(formula);
    for (float x : XValues) {
        const PupilReading reference = ReadPupil(typed, NumberTextValue(x), Parameters);
        if (reference.nearestSingular < 1e-3 || reference.largest > 1e30) {
            ++result.skipped;
            continue;
        }
        ++result.compared;
        const FormulaSample sample = compiled.sample(x);
        const float value = sample.value;
        const bool hasValue = !sample.arithmeticFault && sample.error == FormulaError::None;
        // Float rounding grows with the largest value met on the way.
        if (hasValue == reference.hasValue
            && (!hasValue || std::fabs(value - reference.value) <= 1e-3 * (1 + reference.largest)))
            continue;
        std::ostringstream report;
        report.precision(9);
        report << Utf8(formula) << " at x = " << NumberTextValue(x) << ": program "
               << (hasValue ? std::to_string(value) : "no value") << ", reference "
               << (reference.hasValue ? std::to_string(reference.value) : reference.why);
        result.disagreement = report.str();
        break;
    }
    return result;
}

TEST(TypedEquationProperty, ProgramReadsTypedEquationsLikeTheReference)
{
    int read = 0, compared = 0, skipped = 0, disagreements = 0;
    for (uint64_t seed = 1; seed <= SeedCount; ++seed) {
        const std::u16string typed = GenerateTypedEquation(seed);
        const Comparison comparison = Compare(typed);
        read += comparison.read;
        compared += comparison.compared;
        skipped += comparison.skipped;
        if (!comparison.disagreement.empty() && disagreements++ < MaxReported)
            ADD_FAILURE() << "seed " << seed << ": " << Utf8(typed) << "\n"
                          << comparison.disagreement;
    }
    // Guards against a generator or reader that stopped exercising anything.
    EXPECT_GE(read * 2, int(SeedCount));
    EXPECT_GE(compared, 2 * skipped);
}

} // namespace
} // namespace lw::test
