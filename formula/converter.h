// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lw {

enum class ConvertStatus { Converted, Failed, Stopped };

struct ConvertResult {
    std::u16string formula; // empty unless Converted
    ConvertStatus status = ConvertStatus::Converted;
};

// Rewrites a term in mathematical notation into a KZN formula, one operator
// per round, yielding to the event loop after every round.
ConvertResult ConvertTerm(std::u16string_view term);

// One splitting step at the loosest, rightmost operator outside parentheses.
// nullopt when the chosen operator lacks an operand.
std::optional<std::u16string> SplitTerm(std::u16string_view text);

// Where the first piece of mathematical notation stands: the call level, the
// argument number and the slot of the argument it lies in ((0, 0, 0) outside
// every call).
struct NotationPlace {
    int16_t level = 0;
    int16_t argument = 0;
    int16_t slot = 0;
    friend bool operator==(const NotationPlace &, const NotationPlace &) = default;
};
std::optional<NotationPlace> FindMathNotation(std::u16string_view text);

// The text with the argument at `place` stripped of one pair of enclosing
// parentheses and split once; nullopt when no argument starts there.
std::optional<std::u16string> ConvertArgument(std::u16string_view text, NotationPlace place);

std::u16string StripOuterBrackets(std::u16string_view text);

} // namespace lw
