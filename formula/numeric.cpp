// SPDX-License-Identifier: GPL-3.0-or-later

#include "numeric.h"

namespace lw {

thread_local int16_t CalcError = 0;

std::optional<int16_t> FitInt16(long value)
{
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<int16_t>(value);
}

} // namespace lw
