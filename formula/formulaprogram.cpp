#include "formulaprogram.h"

#include "kznsteps.h"
#include "numbertext.h"
#include "numeric.h"
#include "texthelpers.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

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

// One step of the flat program. Registers: 0 holds x, 1 holds -x, 2 the outermost call's
// accumulator, and each nested call the one after its caller's (or its caller's own, where
// it is the caller's first argument and the caller is not the outermost call).
enum class Op : uint8_t {
    Zero,   // acc = 0
    Load,   // acc = operand (a folding keyword's first argument)
    Add,    // SUM
    Sub,    // DIF
    Mul,    // PRO
    Div,    // DIV
    Square, // POT with the constant exponent 2
    Cube,   // POT with the constant exponent 3
    Same,   // POT with the constant exponent 1
    One,    // POT with the constant exponent 0
    Pot,    // POT with any other exponent
    Step,   // any other step, through applyStep
};

enum class Operand : uint8_t { Register, Constant, Template };

struct Instruction {
    Op op = Op::Zero;
    Operand operand = Operand::Constant;
    Keyword keyword = Keyword::Unknown; // Step only
    uint32_t dst = 0;
    uint32_t src = 0; // register, or template index
    float constant = 0;
    int index = 1;   // Step only
    float count = 1; // Step only
};

constexpr uint32_t XRegister = 0;
constexpr uint32_t NegXRegister = 1;
constexpr uint32_t RootRegister = 2;

bool isFolding(Keyword keyword)
{
    switch (keyword) {
    case Keyword::Sum:
    case Keyword::Dif:
    case Keyword::Pro:
    case Keyword::Div:
    case Keyword::Pot:
    case Keyword::Ami: return true;
    default: return false;
    }
}

// float(pow(b, 3)) without pow where any faithfully rounded pow gives the same float: b*b is
// exact in double, so the product is b^3 correctly rounded, and pow returns it or a
// neighbour; when all three convert to one float, so does pow's result.
float cube(double base)
{
    const double hi = base * base * base;
    if (hi == 0)
        return static_cast<float>(hi);
    const auto bits = std::bit_cast<uint64_t>(hi);
    const auto below = static_cast<float>(std::bit_cast<double>(bits - 1));
    const auto above = static_cast<float>(std::bit_cast<double>(bits + 1));
    if (std::bit_cast<uint32_t>(below) == std::bit_cast<uint32_t>(above))
        return below;
    return static_cast<float>(std::pow(base, 3.0));
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
    uint32_t registerCount = RootRegister + 1;

    // Mirrors the text evaluator's walk, recording what it would find; gives
    // up (compiled = false) where the text of x could change the structure.
    uint32_t compileCall(std::u16string_view call, int depth);
    Arg compileArgument(std::u16string_view argument, int depth);
    // Lays the tree out as steps in the order the text evaluator takes them.
    void emit(uint32_t node, uint32_t reg);
    void emitStep(const Node &node, const Arg &arg, uint32_t position, uint32_t reg,
                  uint32_t valueReg);
    float execute(float x, float negX, std::u16string_view xText) const;
    float execute(float *regs, std::u16string_view xText) const;
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

void FormulaProgram::Impl::emit(uint32_t index, uint32_t reg)
{
    const Node node = nodes[index];
    registerCount = std::max(registerCount, reg + 2);
    const Arg *own = args.data() + node.firstArg;
    const bool firstOverwrites = node.argCount > 0 && own[0].kind != ArgKind::Missing
                                 && own[0].kind != ArgKind::Template && isFolding(node.keyword);
    // After a fault the result is the outermost accumulator as it stood, so that one is
    // always cleared first and never lent to a nested call.
    if (reg == RootRegister || !firstOverwrites)
        program.push_back({Op::Zero, Operand::Constant, Keyword::Unknown, reg});
    for (uint32_t i = 0; i < node.argCount; ++i) {
        const Arg &arg = own[i];
        uint32_t valueReg = 0;
        if (arg.kind == ArgKind::Call) {
            // A first argument's call may work in its caller's accumulator: nothing reads
            // that before the call's value lands there.
            valueReg = i == 0 && firstOverwrites && reg != RootRegister ? reg : reg + 1;
            emit(arg.index, valueReg);
        }
        emitStep(node, arg, i, reg, valueReg);
    }
}

void FormulaProgram::Impl::emitStep(const Node &node, const Arg &arg, uint32_t position,
                                    uint32_t reg, uint32_t valueReg)
{
    Instruction step{Op::Step, Operand::Register, node.keyword, reg};
    step.index = static_cast<int>(position + 1);
    step.count = node.count;
    switch (arg.kind) {
    case ArgKind::Missing: return;
    case ArgKind::Call: step.src = valueReg; break;
    case ArgKind::X: step.src = XRegister; break;
    case ArgKind::NegX: step.src = NegXRegister; break;
    case ArgKind::Constant:
        step.operand = Operand::Constant;
        step.constant = arg.constant;
        break;
    case ArgKind::Template:
        step.operand = Operand::Template;
        step.src = arg.index;
        break;
    }
    if (node.keyword == Keyword::Unknown)
        return; // leaves the accumulator as it is
    if (step.operand != Operand::Template && isFolding(node.keyword)) {
        if (position == 0) {
            if (step.operand == Operand::Register && step.src == reg)
                return; // the call already left its value in the accumulator
            step.op = Op::Load;
        } else if (node.keyword == Keyword::Sum) {
            step.op = Op::Add;
        } else if (node.keyword == Keyword::Dif) {
            step.op = Op::Sub;
        } else if (node.keyword == Keyword::Pro) {
            step.op = Op::Mul;
        } else if (node.keyword == Keyword::Div) {
            step.op = Op::Div;
        } else if (node.keyword == Keyword::Pot) {
            step.op = Op::Pot;
            if (step.operand == Operand::Constant) {
                const float e = step.constant;
                step.op = e == 2.0f   ? Op::Square
                          : e == 3.0f ? Op::Cube
                          : e == 1.0f ? Op::Same
                          : e == 0.0f ? Op::One
                                      : Op::Pot;
            }
        }
    }
    program.push_back(step);
}

float FormulaProgram::Impl::execute(float x, float negX, std::u16string_view xText) const
{
    // A fault before the evaluation began freezes every accumulator at 0.
    if (CalcError == -1)
        return 0;
    constexpr uint32_t OnStack = 64;
    if (registerCount <= OnStack) {
        float regs[OnStack];
        regs[XRegister] = x;
        regs[NegXRegister] = negX;
        return execute(regs, xText);
    }
    std::vector<float> regs(registerCount);
    regs[XRegister] = x;
    regs[NegXRegister] = negX;
    return execute(regs.data(), xText);
}

float FormulaProgram::Impl::execute(float *regs, std::u16string_view xText) const
{
    // Once a step faults the text evaluator skips every later step, so the outermost
    // accumulator as it stands then is the result.
    for (const Instruction &step : program) {
        float &acc = regs[step.dst];
        const float value = step.operand == Operand::Register ? regs[step.src] : step.constant;
        switch (step.op) {
        case Op::Zero: acc = 0; break;
        case Op::Load: acc = value; break;
        case Op::Add: {
            const float r = acc + value;
            if (!std::isfinite(r))
                goto fault;
            acc = r;
            break;
        }
        case Op::Sub: {
            const float r = acc - value;
            if (!std::isfinite(r))
                goto fault;
            acc = r;
            break;
        }
        case Op::Mul: {
            const float r = acc * value;
            if (!std::isfinite(r))
                goto fault;
            acc = r;
            break;
        }
        case Op::Div: {
            if (value == 0.0f)
                goto fault;
            const float r = acc / value;
            if (!std::isfinite(r))
                goto fault;
            acc = r;
            break;
        }
        case Op::Square: {
            const double r = static_cast<double>(acc) * acc;
            if (!std::isfinite(r))
                goto fault;
            acc = static_cast<float>(r);
            break;
        }
        case Op::Cube:
            if (!std::isfinite(acc))
                goto fault;
            acc = cube(acc);
            break;
        case Op::Same:
            if (!std::isfinite(acc))
                goto fault;
            break;
        case Op::One:
            if (std::isnan(acc))
                goto fault;
            acc = 1;
            break;
        case Op::Pot: {
            const StepResult r = CalcPot(acc, value, 2);
            if (!r)
                goto fault;
            acc = *r;
            break;
        }
        case Op::Step: {
            const float v = step.operand == Operand::Template
                                ? leafValue(*ReplaceText(u'x', xText, templates[step.src]))
                                : value;
            acc = applyStep(step.keyword, acc, v, step.index, step.count);
            if (CalcError == -1)
                return regs[RootRegister];
            break;
        }
        }
    }
    return regs[RootRegister];
fault:
    CalcError = -1;
    return regs[RootRegister];
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
        d->emit(0, RootRegister);
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
        if (d->notACall)
            return 0;
        const float value = NumberTextValue(x);
        return d->execute(value, std::isfinite(x) ? -value : 0.0f, {});
    }
    const NumberTextResult number = NumberTextWithValue(x);
    // "-" before a number text reads as its negation, before INF or NAN as 0.
    const float negX = std::isfinite(x) ? -number.readBack : 0.0f;
    return run(number.text(), number.readBack, negX, error, false);
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
