// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The names of the functions a pupil may type, and the keywords they stand for.

#include <string_view>

namespace lw::detail {

bool equalsIgnoringCase(std::u16string_view text, std::u16string_view lower);

// The keyword a function name stands for: a KZN keyword as written, or an
// alias in any case; empty when the name is none of them.
std::u16string_view functionKeyword(std::u16string_view name);

// The longest function name `text` begins with; empty when there is none.
std::u16string_view functionNamePrefix(std::u16string_view text);

} // namespace lw::detail
