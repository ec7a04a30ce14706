// SPDX-License-Identifier: GPL-3.0-or-later

#include "formulaprogram.h"

#include "kznsteps.h"
#include "numbertext.h"
#include "numeric.h"
#include "texthelpers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace lw {

using namespace detail;

namespace {

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

bool containsX(std::u16string_view text)
{
    return text.find(u'x') != std::u16string_view::npos;
}

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

constexpr uint32_t XRegister = 0;
constexpr uint32_t NegXRegister = 1;
constexpr uint32_t FirstConstant = 2;

bool isFolding(Keyword keyword)
{
    return keyword != Keyword::Unknown && !TakesOneArgument(keyword);
}

// The instruction for a step that needs no more than two registers, else Step.
Op opOf(Keyword keyword, const Arg &arg)
{
    if (arg.kind == ArgKind::Template)
        return Op::Step;
    switch (keyword) {
    case Keyword::Sum: return Op::Add;
    case Keyword::Dif: return Op::Sub;
    case Keyword::Pro: return Op::Mul;
    case Keyword::Div: return Op::Div;
    case Keyword::Pot:
        if (arg.kind != ArgKind::Constant)
            return Op::Pot;
        return arg.constant == 2.0f   ? Op::Square
               : arg.constant == 3.0f ? Op::Cube
               : arg.constant == 1.0f ? Op::Same
               : arg.constant == 0.0f ? Op::One
                                      : Op::Pot;
    default: return Op::Step;
    }
}

} // namespace

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

uint32_t FormulaProgram::Impl::compileCall(std::u16string_view call, int depth)
{
    const std::size_t open = call.find(u'(');
    if (open + 1 == call.size()) {
        staticError = FormulaError::InvalidArgument;
        return 0;
    }
    if (depth > MaxFormulaDepth) {
        staticError = FormulaError::TooDeep;
        return 0;
    }
    // The keyword and the dropped last character must not come from x's text.
    if (containsX(call.substr(0, open)) || call.back() == u'x') {
        compiled = false;
        return 0;
    }
    const auto index = static_cast<uint32_t>(nodes.size());
    nodes.push_back({keywordOf(call.substr(0, open)), 1, 0, 0});
    ArgumentWalk walk(call.substr(open + 1, call.size() - open - 2));
    std::vector<Arg> own;
    for (int k = 1; static_cast<float>(k) <= walk.count(); ++k) {
        std::u16string_view argument;
        own.push_back(walk.next(k, argument) ? compileArgument(argument, depth) : Arg{});
        if (!compiled || staticError != FormulaError::None)
            return 0;
    }
    Node &node = nodes[index];
    node.count = walk.count();
    node.firstArg = static_cast<uint32_t>(args.size());
    node.argCount = static_cast<uint32_t>(own.size());
    args.insert(args.end(), own.begin(), own.end());
    return index;
}

Arg FormulaProgram::Impl::compileArgument(std::u16string_view argument, int depth)
{
    const bool hasParens = argument.find(u'(') != std::u16string_view::npos
                           && argument.find(u')') != std::u16string_view::npos;
    // Whether an argument is a call depends on its fourth character, which
    // moves with the length of x's text when x stands before it.
    if (hasParens && containsX(argument.substr(0, 3))) {
        compiled = false;
        return {};
    }
    if (IsFunctionTerm(argument))
        return {ArgKind::Call, 0, compileCall(argument, depth + 1)};
    if (!containsX(argument))
        return {ArgKind::Constant, leafValue(argument), 0};
    if (argument == u"x") {
        usesX = true;
        return {ArgKind::X, 0, 0};
    }
    if (argument == u"-x") {
        usesNegX = true;
        return {ArgKind::NegX, 0, 0};
    }
    templates.emplace_back(argument);
    return {ArgKind::Template, 0, static_cast<uint32_t>(templates.size() - 1)};
}

void FormulaProgram::Impl::layOut()
{
    frame = {0, 0};
    for (Arg &arg : args) {
        if (arg.kind == ArgKind::Constant) {
            arg.index = static_cast<uint32_t>(frame.size());
            frame.push_back(arg.constant);
        }
    }
    rootRegister = static_cast<uint32_t>(frame.size());
    frame.push_back(0);
    frameSize = rootRegister + 1;
    if (frame.size() < SmallFrame)
        frame.resize(SmallFrame);
    emit(0, rootRegister, true);
}

uint32_t FormulaProgram::Impl::leafRegister(const Arg &arg) const
{
    return arg.kind == ArgKind::X      ? XRegister
           : arg.kind == ArgKind::NegX ? NegXRegister
                                       : arg.index;
}

void FormulaProgram::Impl::emit(uint32_t index, uint32_t reg, bool root)
{
    const Node node = nodes[index];
    frameSize = std::max(frameSize, reg + 2);
    const Arg *own = args.data() + node.firstArg;
    const bool firstOverwrites = isFolding(node.keyword) && node.argCount > 0
                                 && own[0].kind != ArgKind::Missing
                                 && own[0].kind != ArgKind::Template;
    // The outermost accumulator starts at 0 in the frame; the others are reused.
    if (!root && !firstOverwrites)
        program.push_back({Op::Zero, reg, 0, 0});
    // A leaf first argument is loaded together with the next step.
    bool pending = false;
    uint32_t pendingReg = 0;
    const auto loadPending = [&] {
        if (pending)
            program.push_back({Op::Load, reg, pendingReg, 0});
        pending = false;
    };
    for (uint32_t i = 0; i < node.argCount; ++i) {
        const Arg &arg = own[i];
        if (arg.kind == ArgKind::Missing)
            continue;
        if (i == 0 && firstOverwrites) {
            if (arg.kind == ArgKind::Call) {
                emit(arg.index, reg, false);
                if (root)
                    rootValidFrom = program.size();
            } else {
                pending = true;
                pendingReg = leafRegister(arg);
            }
            continue;
        }
        uint32_t operand = 0;
        if (arg.kind == ArgKind::Call) {
            // A fault inside the call must find the outermost accumulator loaded.
            if (root)
                loadPending();
            emit(arg.index, reg + 1, false);
            operand = reg + 1;
        } else if (arg.kind != ArgKind::Template) {
            operand = leafRegister(arg);
        }
        if (node.keyword == Keyword::Unknown)
            continue; // the accumulator stays as it is
        const Op op = opOf(node.keyword, arg);
        if (op == Op::Step) {
            loadPending();
            steps.push_back({node.keyword, static_cast<int>(i + 1), node.count,
                             arg.kind == ArgKind::Template ? static_cast<int>(arg.index) : -1});
            program.push_back({Op::Step, reg, static_cast<uint32_t>(steps.size() - 1), operand});
        } else {
            program.push_back({op, reg, pending ? pendingReg : reg, operand});
            pending = false;
        }
    }
    loadPending();
}

inline bool FormulaProgram::Impl::runStep(const Instruction &s, float *regs,
                                          std::u16string_view xText) const
{
    const StepInfo &info = steps[s.a];
    const float value =
        info.templateIndex < 0
            ? regs[s.b]
            : leafValue(
                *ReplaceText(u'x', xText, templates[static_cast<std::size_t>(info.templateIndex)]));
    regs[s.dst] = applyStep(info.keyword, regs[s.dst], value, info.index, info.count);
    return CalcError != -1;
}

inline float FormulaProgram::Impl::runInstructions(float *regs, std::u16string_view xText) const
{
    const Instruction *code = program.data();
    const std::size_t size = program.size();
    std::size_t pc = 0;
    for (; pc < size; ++pc) {
        const Instruction &s = code[pc];
        float r = 0;
        StepResult power;
        switch (s.op) {
        case Op::Zero: regs[s.dst] = 0; continue;
        case Op::Load: regs[s.dst] = regs[s.a]; continue;
        case Op::Add: r = regs[s.a] + regs[s.b]; break;
        case Op::Sub: r = regs[s.a] - regs[s.b]; break;
        case Op::Mul: r = regs[s.a] * regs[s.b]; break;
        case Op::Div:
            // A zero divisor is a fault, as in CalcDiv.
            if (regs[s.b] == 0.0f)
                goto keep;
            r = regs[s.a] / regs[s.b];
            break;
        case Op::Square: {
            const double square = static_cast<double>(regs[s.a]) * regs[s.a];
            if (!std::isfinite(square))
                goto keep;
            regs[s.dst] = static_cast<float>(square);
            continue;
        }
        case Op::Cube: power = CalcPotCube(regs[s.a]); goto powered;
        case Op::Same: power = CalcPotOne(regs[s.a]); goto powered;
        case Op::One: power = CalcPotZero(regs[s.a]); goto powered;
        case Op::Pot: power = CalcPot(regs[s.a], regs[s.b], 2); goto powered;
        case Op::Step:
            if (!runStep(s, regs, xText))
                goto stop;
            continue;
        }
        if (!std::isfinite(r))
            goto keep;
        regs[s.dst] = r;
        continue;
    powered:
        if (!power)
            goto keep;
        regs[s.dst] = *power;
    }
    return regs[rootRegister];
keep:
    // The faulting step leaves the accumulator as it was: a, where a first argument was
    // loaded with it.
    regs[code[pc].dst] = regs[code[pc].a];
    CalcError = -1;
stop:
    // The text evaluator skips every step after a fault: its outermost accumulator as it
    // stands then is the result.
    return pc >= rootValidFrom ? regs[rootRegister] : 0.0f;
}

float FormulaProgram::Impl::execute(float x, float negX, std::u16string_view xText) const
{
    // A fault before the evaluation began freezes every accumulator at 0.
    if (CalcError == -1)
        return 0;
    constexpr std::size_t OnStack = 256;
    float local[OnStack];
    std::unique_ptr<float[]> heap;
    float *regs = local;
    if (frameSize > OnStack) {
        heap = std::make_unique<float[]>(frameSize);
        regs = heap.get();
    }
    // A small frame copies in one fixed-size block, without a library call.
    if (frame.size() == SmallFrame)
        std::memcpy(regs, frame.data(), SmallFrame * sizeof(float));
    else
        std::copy(frame.begin(), frame.end(), regs);
    regs[XRegister] = x;
    regs[NegXRegister] = negX;
    return runInstructions(regs, xText);
}

FormulaProgram::FormulaProgram(std::u16string_view formula) : d(std::make_unique<Impl>())
{
    d->formula = formula;
    d->xCount = std::count(formula.begin(), formula.end(), u'x');
    if (formula.size() > MaxTextLength) {
        d->staticError = FormulaError::Overflow;
        return;
    }
    if (formula.find(u'(') == std::u16string_view::npos
        || formula.find(u')') == std::u16string_view::npos) {
        d->notACall = true;
        return;
    }
    d->compileCall(formula, 1);
    if (d->compiled && d->staticError == FormulaError::None)
        d->layOut();
    d->nodes = {};
    d->args = {};
    // The longest number text, "-1.234568E+07", has 13 characters.
    constexpr std::ptrdiff_t LongestNumberText = 13;
    const bool lengthSafe =
        static_cast<std::ptrdiff_t>(formula.size()) + d->xCount * (LongestNumberText - 1)
        <= static_cast<std::ptrdiff_t>(MaxTextLength);
    d->valueOnly =
        d->compiled && d->templates.empty() && d->staticError == FormulaError::None && lengthSafe;
}

FormulaProgram::~FormulaProgram() = default;
FormulaProgram::FormulaProgram(FormulaProgram &&) noexcept = default;
FormulaProgram &FormulaProgram::operator=(FormulaProgram &&) noexcept = default;

bool FormulaProgram::isCompiled() const
{
    return d->compiled;
}

float FormulaProgram::evaluate(std::u16string_view xText, FormulaError *error) const
{
    // An x text that is empty or holds structure characters could change
    // how the formula splits into arguments: only the text procedure knows.
    const bool plainX = !xText.empty() && xText.find_first_of(u"();") == std::u16string_view::npos;
    if (!plainX)
        return run(xText, 0, 0, error, true);
    // An argument that is x alone reads as a leaf, so a leading "--" of x's text is dropped too.
    const float x = d->usesX ? leafValue(xText) : 0.0f;
    const float negX = d->usesNegX ? leafValue(u"-" + std::u16string(xText)) : 0.0f;
    return run(xText, x, negX, error, false);
}

float FormulaProgram::evaluate(float x, FormulaError *error) const
{
    // No leaf needs the text of x and no text of x can make the formula too
    // long: the value it reads back as is all that matters.
    if (d->valueOnly) {
        if (error)
            *error = FormulaError::None;
        const float value = NumberTextValue(x);
        return d->execute(value, std::isfinite(x) ? -value : 0.0f, {});
    }
    const NumberTextResult number = NumberTextWithValue(x);
    // "-" before a number text reads as its negation, before INF or NAN as 0.
    const float negX = std::isfinite(x) ? -number.readBack : 0.0f;
    return run(number.text(), number.readBack, negX, error, false);
}

FormulaSample FormulaProgram::sample(float x) const
{
    CalcError = 0;
    FormulaSample result;
    // evaluate(x) without its calls: the plotter comes here once per sample.
    if (d->valueOnly) {
        const float value = NumberTextValue(x);
        result.value = d->execute(value, std::isfinite(x) ? -value : 0.0f, {});
    } else {
        result.value = evaluate(x, &result.error);
    }
    result.arithmeticFault = CalcError != 0;
    return result;
}

bool FormulaProgram::overflows(std::size_t xTextLength) const
{
    const auto grown = static_cast<std::ptrdiff_t>(d->formula.size())
                       + d->xCount * (static_cast<std::ptrdiff_t>(xTextLength) - 1);
    return grown > static_cast<std::ptrdiff_t>(MaxTextLength);
}

float FormulaProgram::run(std::u16string_view xText, float x, float negX, FormulaError *error,
                          bool viaText) const
{
    FormulaError failure = FormulaError::None;
    if (d->formula.size() > MaxTextLength || overflows(xText.size()))
        failure = FormulaError::Overflow; // where ReplaceText would fail
    else if (!viaText)
        failure = d->staticError;
    if (failure == FormulaError::None && (viaText || !d->compiled))
        return CalcFormula(*ReplaceText(u'x', xText, d->formula), error);
    if (error)
        *error = failure;
    if (failure != FormulaError::None) {
        CalcError = -1;
        return 0;
    }
    if (d->notACall)
        return 0;
    return d->execute(x, negX, xText);
}

} // namespace lw
