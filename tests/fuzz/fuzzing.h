// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace lw::fuzz {

// What a user can type: the bytes as UTF-8, malformed sequences replaced.
inline std::u16string Utf8Text(const uint8_t *data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size))
        .toStdU16String();
}

// Any code units at all, lone surrogates included: little-endian pairs, an odd last byte dropped.
inline std::u16string Utf16Units(const uint8_t *data, std::size_t size)
{
    std::u16string text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

inline std::string Printable(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()))
        .toUtf8()
        .toStdString();
}

// A broken property: libFuzzer saves the input that caused the abort.
[[noreturn]] inline void Fail(const char *property, std::u16string_view input,
                              const std::string &details = {})
{
    std::fprintf(stderr, "\n*** %s\n*** input: \"%s\"\n", property, Printable(input).c_str());
    if (!details.empty())
        std::fprintf(stderr, "*** %s\n", details.c_str());
    std::abort();
}

} // namespace lw::fuzz
