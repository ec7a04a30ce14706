#pragma once

// Character classes of an equation as a pupil types it: the blanks, the
// characters that stand for nothing, the typographic signs and what they mean.

#include <string>
#include <string_view>

namespace lw::detail {

// Separates what stands on either side and means nothing else.
bool isTypedBlank(char16_t c);
// Invisible marks a text may carry from a word processor; read as if not typed.
bool isIgnoredCharacter(char16_t c);
// The ASCII sign a typographic one stands for (− -> '-', · -> '*', ÷ -> '/'); the
// character itself when it stands for no other.
char16_t operatorSignOf(char16_t c);

// ⁰ to ⁹ as 0 to 9; -1 for any other character.
int superscriptDigit(char16_t c);
inline constexpr char16_t SuperscriptMinus = u'\u207B';
inline bool isSuperscript(char16_t c)
{
    return c == SuperscriptMinus || superscriptDigit(c) >= 0;
}

// ½ -> {1, 2}; {0, 0} for a character that is no fraction.
struct VulgarFraction {
    int numerator = 0;
    int denominator = 0;
};
VulgarFraction vulgarFraction(char16_t c);

// Whether a character the reader does not know is better named by its code
// point than shown: one that cannot be seen, or one that looks like a letter,
// digit or sign the reader knows (a Cyrillic х, a fullwidth ｘ).
bool isNamedByCodePoint(std::u16string_view character);
// "U+200B" for the character (a surrogate pair read as one).
std::u16string codePointName(std::u16string_view character);

} // namespace lw::detail
