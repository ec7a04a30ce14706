// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lw {

// Positions in formula texts are 16-bit counters: no text may be longer.
inline constexpr std::size_t MaxTextLength = 32767;

// nullopt when the text is longer than MaxTextLength (the counter overflows).
std::optional<std::u16string> RemoveSpaces(std::u16string_view text);

// Every occurrence of `find` in `text` replaced by `replacement`; nullopt when
// the text or the result is longer than MaxTextLength.
std::optional<std::u16string> ReplaceText(char16_t find, std::u16string_view replacement,
                                          std::u16string_view text);

// Locale-independent number reading: "," counts as ".", blanks, tabs and line
// feeds are skipped, reading stops at the first character that does not fit,
// anything unreadable is 0, values beyond the float range are infinite.
float TextToNumber(std::u16string_view text);

// How many characters of `text` TextToNumber reads as its number; 0 when the
// text does not begin with one.
std::size_t NumberTextLength(std::u16string_view text);

} // namespace lw
