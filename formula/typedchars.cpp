#include "typedchars.h"

#include <QChar>
#include <QString>

#include <cstdio>

namespace lw::detail {

bool isTypedBlank(char16_t c)
{
    switch (c) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\r':
    case u'\u00A0': // no-break space
    case u'\u202F': // narrow no-break space
    case u'\u205F':
    case u'\u3000': return true;
    default:
        return c >= u'\u2000' && c <= u'\u200A'; // en quad to hair space, thin space among them
    }
}

bool isIgnoredCharacter(char16_t c)
{
    switch (c) {
    case u'\u200B': // zero-width space
    case u'\u200C':
    case u'\u200D':
    case u'\u2060': // word joiner
    case u'\uFEFF': // byte order mark
    case u'\u00AD': // soft hyphen
        return true;
    default: return false;
    }
}

char16_t operatorSignOf(char16_t c)
{
    switch (c) {
    case u'\u2212': // minus sign
    case u'\u2013': // en dash
    case u'\u2014': // em dash
    case u'\u2010': // hyphen
    case u'\u2011': // non-breaking hyphen
    case u'\uFF0D': // fullwidth hyphen-minus
        return u'-';
    case u'\u00B7': // middle dot
    case u'\u22C5': // dot operator
    case u'\u00D7': // multiplication sign
    case u'\u2219': // bullet operator
    case u'\u2022': // bullet
        return u'*';
    case u'\u00F7':
    case u':': return u'/';
    default: return c;
    }
}

int superscriptDigit(char16_t c)
{
    switch (c) {
    case u'\u2070': return 0;
    case u'\u00B9': return 1;
    case u'\u00B2': return 2;
    case u'\u00B3': return 3;
    default: return c >= u'\u2074' && c <= u'\u2079' ? c - u'\u2070' : -1;
    }
}

VulgarFraction vulgarFraction(char16_t c)
{
    static constexpr VulgarFraction Fractions[] = {
        {1, 7}, {1, 9}, {1, 10}, {1, 3}, {2, 3}, {1, 5}, {2, 5}, {3, 5},
        {4, 5}, {1, 6}, {5, 6},  {1, 8}, {3, 8}, {5, 8}, {7, 8},
    };
    switch (c) {
    case u'\u00BC': return {1, 4};
    case u'\u00BD': return {1, 2};
    case u'\u00BE': return {3, 4};
    default:
        if (c >= u'\u2150' && c <= u'\u215E')
            return Fractions[c - u'\u2150'];
        return {};
    }
}

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
