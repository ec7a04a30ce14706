// SPDX-License-Identifier: GPL-3.0-or-later

#include "charclasses.h"

#include <QChar>
#include <QString>

#include <cstdio>

namespace lw::detail {

namespace {
char32_t codePoint(std::u16string_view character)
{
    if (character.size() == 2)
        return QChar::surrogateToUcs4(character[0], character[1]);
    return character.empty() ? 0 : character[0];
}
} // namespace

bool isNamedByCodePoint(std::u16string_view character)
{
    const char32_t c = codePoint(character);
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing: return true;
    default: break;
    }
    if ((c >= 0x0370 && c <= 0x03FF) || (c >= 0x0400 && c <= 0x04FF))
        return true; // Greek and Cyrillic letters, many of them the Latin ones' twins
    // Fullwidth forms, mathematical letters and the like fold to ASCII.
    const QString folded = QString::fromStdU16String(std::u16string(character))
                               .normalized(QString::NormalizationForm_KC);
    for (QChar f : folded) {
        if (f.unicode() >= 128)
            return false;
    }
    return c >= 128;
}

std::u16string codePointName(std::u16string_view character)
{
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(codePoint(character)));
    return {text, text + std::char_traits<char>::length(text)};
}

} // namespace lw::detail
