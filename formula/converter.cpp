// SPDX-License-Identifier: GPL-3.0-or-later

#include "converter.h"

#include "eventhook.h"
#include "mathscan.h"
#include "texthelpers.h"

#include <vector>

namespace lw {

using namespace detail;

namespace {

// The counters both scans keep: a letter counter that makes three upper-case
// letters before "(" a call, the call level, and one entry per open
// parenthesis so that the place after a closed call is that of the argument
// it stands in.
class PlaceScanner {
public:
    enum class Event { None, CallOpened, GroupOpened, Closed, NextArgument, Operator };

    Event step(std::u16string_view text, std::size_t i)
    {
        const char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') {
            if (++m_letters > 3)
                m_letters = 0;
            if (m_letters == 3)
                m_nameSeen = true;
            return Event::None;
        }
        switch (c) {
        case u'(':
            if (!m_nameSeen) {
                m_open.push_back({.call = false, .argument = 0, .slot = 0});
                return Event::GroupOpened;
            }
            m_nameSeen = false;
            m_letters = 0;
            ++m_level;
            m_open.push_back({.call = true, .argument = 1, .slot = ++m_slot});
            return Event::CallOpened;
        case u')':
            m_nameSeen = false;
            if (!m_open.empty()) {
                if (m_open.back().call)
                    --m_level;
                m_open.pop_back();
            }
            return Event::Closed;
        case u';':
            ++m_slot;
            if (!m_open.empty()) {
                ++m_open.back().argument;
                m_open.back().slot = m_slot;
            }
            return Event::NextArgument;
        default:
            if (isOperator(c) && !isExponentSign(text, i))
                return Event::Operator;
            m_letters = 0;
            m_nameSeen = false;
            return Event::None;
        }
    }

    NotationPlace place() const
    {
        for (auto it = m_open.rbegin(); it != m_open.rend(); ++it) {
            if (it->call)
                return {m_level, it->argument, it->slot};
        }
        return {};
    }

    // Only ";" inside a call separates arguments.
    bool insideCall() const { return !m_open.empty() && m_open.back().call; }
    bool balanced() const { return m_open.empty(); }

private:
    struct Open {
        bool call;
        int16_t argument;
        int16_t slot;
    };
    int m_letters = 0;
    bool m_nameSeen = false;
    int16_t m_level = 0;
    int16_t m_slot = 0;
    std::vector<Open> m_open;
};

// Unbalanced parentheses, an empty group and a ";" outside a call can never
// convert; finding them first keeps the rewriting loop from chasing them.
bool isConvertible(std::u16string_view term)
{
    PlaceScanner scanner;
    int depth = 0;
    for (std::size_t i = 0; i < term.size(); ++i) {
        const bool wasInsideCall = scanner.insideCall();
        switch (scanner.step(term, i)) {
        case PlaceScanner::Event::GroupOpened:
            if (i + 1 < term.size() && term[i + 1] == u')')
                return false;
            [[fallthrough]];
        case PlaceScanner::Event::CallOpened: ++depth; break;
        case PlaceScanner::Event::Closed:
            if (--depth < 0)
                return false;
            break;
        case PlaceScanner::Event::NextArgument:
            if (!wasInsideCall)
                return false;
            break;
        default: break;
        }
    }
    return depth == 0;
}

} // namespace

std::optional<std::u16string> SplitTerm(std::u16string_view text)
{
    const std::size_t p = findSplitPoint(text);
    if (p == std::u16string_view::npos)
        return std::u16string(text);
    const char16_t op = text[p];
    const std::u16string_view left = text.substr(0, p);
    const std::u16string_view right = text.substr(p + 1);
    if (right.empty() || (left.empty() && op != u'+' && op != u'-'))
        return std::nullopt;
    std::u16string result;
    result.reserve(text.size() + 5);
    result.append(operatorName(op))
        .append(u"(")
        .append(left)
        .append(u";")
        .append(right)
        .append(u")");
    return result;
}

std::optional<NotationPlace> FindMathNotation(std::u16string_view text)
{
    PlaceScanner scanner;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto event = scanner.step(text, i);
        if (event == PlaceScanner::Event::GroupOpened || event == PlaceScanner::Event::Operator)
            return scanner.place();
    }
    return std::nullopt;
}

std::optional<std::u16string> ConvertArgument(std::u16string_view text, NotationPlace place)
{
    std::size_t start = 0;
    std::size_t end = std::u16string_view::npos;
    if (place == NotationPlace{}) {
        end = text.size(); // outside every call the argument is the whole text
    } else {
        PlaceScanner scanner;
        std::size_t i = 0;
        for (; i < text.size() && start == 0; ++i) {
            const auto event = scanner.step(text, i);
            if ((event == PlaceScanner::Event::CallOpened
                 || event == PlaceScanner::Event::NextArgument)
                && scanner.place() == place)
                start = i + 1;
        }
        if (start == 0)
            return std::nullopt;
        // The argument ends at the first ";" or ")" not inside a parenthesis
        // opened within it.
        for (int depth = 0; i < text.size() && end == std::u16string_view::npos; ++i) {
            const char16_t c = text[i];
            if (c == u'(')
                ++depth;
            else if ((c == u')' || c == u';') && depth == 0)
                end = i;
            else if (c == u')')
                --depth;
        }
        if (end == std::u16string_view::npos)
            return std::nullopt;
    }
    const auto piece = SplitTerm(StripOuterBrackets(text.substr(start, end - start)));
    if (!piece)
        return std::nullopt;
    std::u16string result(text.substr(0, start));
    result.append(*piece).append(text.substr(end));
    return result;
}

std::u16string StripOuterBrackets(std::u16string_view text)
{
    int depth = 0;
    for (std::size_t i = 0; i < text.size() && depth != -100; ++i) {
        if (text[i] == u'(') {
            ++depth;
        } else if (text[i] == u')') {
            --depth;
            if (depth == 0 && i + 1 < text.size())
                depth = -100; // the first pair closes early: (a)+(b)
        }
    }
    if (depth == 0 && text.size() >= 2 && text.front() == u'(' && text.back() == u')')
        return std::u16string(text.substr(1, text.size() - 2));
    return std::u16string(text);
}

ConvertResult ConvertTerm(std::u16string_view term)
{
    const ConvertResult failed{{}, ConvertStatus::Failed};
    if (term.size() > MaxTextLength || !isConvertible(term))
        return failed;
    auto split = SplitTerm(term);
    if (!split)
        return failed;
    std::u16string text = std::move(*split);
    for (;;) {
        const auto place = FindMathNotation(text);
        if (place) {
            auto next = ConvertArgument(text, *place);
            // A round that cannot change the text would repeat forever.
            if (!next || *next == text || next->size() > MaxTextLength)
                return failed;
            text = std::move(*next);
        }
        YieldToEvents();
        if (IsStopRequested())
            return {{}, ConvertStatus::Stopped};
        if (!place)
            return {std::move(text), ConvertStatus::Converted};
    }
}

} // namespace lw
