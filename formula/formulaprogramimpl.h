// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled form of a formula program, shared by the compiler that lays it out and the
// program that runs it.

#pragma once

#include "formulaprogram.h"
#include "kznsteps.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

namespace formulacode {

using detail::Keyword;

enum class ArgKind : uint8_t { Missing, Call, Constant, X, NegX, Template };

struct Arg {
    ArgKind kind = ArgKind::Missing;
    float constant = 0;
    uint32_t index = 0; // node of a call, text of a template
};

struct Node {
    Keyword keyword = Keyword::Unknown;
    float count = 1;
    uint32_t firstArg = 0;
    uint32_t argCount = 0;
};

// One step of the flat program, dst = a op b over a frame of registers: x, -x, the formula's
// constants, then one accumulator for each level of nested calls being evaluated. A call that
// is its caller's first argument works in its caller's accumulator.
enum class Op : uint8_t {
    Zero,   // dst = 0
    Load,   // dst = a: a folding keyword's first argument
    Add,    // SUM
    Sub,    // DIF
    Mul,    // PRO
    Div,    // DIV
    Square, // POT with the constant exponent 2, b unused
    Cube,   // 3
    Same,   // 1
    One,    // 0
    Pot,    // POT with any other exponent
    Step,   // dst = applyStep(dst, b) with what steps[a] holds
};

struct Instruction {
    Op op = Op::Zero;
    uint32_t dst = 0;
    uint32_t a = 0;
    uint32_t b = 0;
};

struct StepInfo {
    Keyword keyword = Keyword::Unknown;
    int index = 1;
    float count = 1;
    int templateIndex = -1; // the operand's text with x in it, or -1 for register b
};

inline constexpr uint32_t XRegister = 0;
inline constexpr uint32_t NegXRegister = 1;
inline constexpr uint32_t FirstConstant = 2;

} // namespace formulacode

using namespace formulacode;

struct FormulaProgram::Impl {
    std::u16string formula;
    std::ptrdiff_t xCount = 0;
    bool compiled = true;
    bool notACall = false;
    bool usesX = false;
    bool usesNegX = false;
    bool valueOnly = false; // see evaluate(float)
    FormulaError staticError = FormulaError::None;
    std::vector<Node> nodes;
    std::vector<Arg> args;
    std::vector<std::u16string> templates;

    std::vector<Instruction> program;
    std::vector<StepInfo> steps;
    std::vector<float> frame; // x, -x, the constants and the outermost accumulator, 0
    // A frame up to this size is padded to it, so that it copies in one fixed-size block.
    static constexpr std::size_t SmallFrame = 16;
    uint32_t rootRegister = FirstConstant;
    uint32_t frameSize = FirstConstant + 1;
    // Before this instruction the outermost accumulator holds its first argument's call at
    // work, while the text evaluator's still holds 0.
    std::size_t rootValidFrom = 0;

    // Mirrors the text evaluator's walk, recording what it would find; gives
    // up (compiled = false) where the text of x could change the structure.
    uint32_t compileCall(std::u16string_view call, int depth);
    Arg compileArgument(std::u16string_view argument, int depth);
    // Lays the tree out as instructions in the order the text evaluator takes its steps.
    void layOut();
    void emit(uint32_t node, uint32_t reg, bool root);
    uint32_t leafRegister(const Arg &arg) const;
    float execute(float x, float negX, std::u16string_view xText) const;
    // The program over the registers execute filled; inline, as it runs for every sample.
    [[gnu::always_inline]] float runInstructions(float *regs, std::u16string_view xText) const;
    // A Step instruction, through applyStep; false after a fault.
    [[gnu::always_inline]] bool runStep(const Instruction &s, float *regs,
                                        std::u16string_view xText) const;
};

} // namespace lw
