// SPDX-License-Identifier: GPL-3.0-or-later

#include "formulaprogramimpl.h"

#include "numeric.h"
#include "texthelpers.h"

#include <algorithm>

namespace lw {

using namespace detail;

namespace {

bool containsX(std::u16string_view text)
{
    return text.find(u'x') != std::u16string_view::npos;
}

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

} // namespace lw
