#include "formulaprogram.h"

#include "kznsteps.h"
#include "numbertext.h"
#include "numeric.h"
#include "texthelpers.h"

#include <algorithm>
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

    // Mirrors the text evaluator's walk, recording what it would find; gives
    // up (compiled = false) where the text of x could change the structure.
    uint32_t compileCall(std::u16string_view call, int depth);
    Arg compileArgument(std::u16string_view argument, int depth);
    float evaluateNode(uint32_t node, float x, float negX, std::u16string_view xText) const;
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

float FormulaProgram::Impl::evaluateNode(uint32_t index, float x, float negX,
                                         std::u16string_view xText) const
{
    const Node &node = nodes[index];
    float acc = 0;
    for (uint32_t i = 0; i < node.argCount; ++i) {
        const Arg &arg = args[node.firstArg + i];
        float value = 0;
        switch (arg.kind) {
        case ArgKind::Missing: continue;
        case ArgKind::Call: value = evaluateNode(arg.index, x, negX, xText); break;
        case ArgKind::Constant: value = arg.constant; break;
        case ArgKind::X: value = x; break;
        case ArgKind::NegX: value = negX; break;
        case ArgKind::Template:
            value = leafValue(*ReplaceText(u'x', xText, templates[arg.index]));
            break;
        }
        if (CalcError == -1)
            continue;
        acc = applyStep(node.keyword, acc, value, static_cast<int>(i + 1), node.count);
    }
    return acc;
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
        return d->evaluateNode(0, value, std::isfinite(x) ? -value : 0.0f, {});
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
    return d->evaluateNode(0, x, negX, xText);
}

} // namespace lw
