#include "formulacheck.h"

#include "kznsteps.h"

namespace lw {

namespace detail {

bool isAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isParameter(char16_t c)
{
    return c >= u'a' && c <= u'h';
}

bool isKnownKeyword(std::u16string_view name)
{
    return keywordOf(name) != Keyword::Unknown;
}

std::u16string_view characterAt(std::u16string_view text, std::size_t i)
{
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF
                      && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    return text.substr(i, pair ? 2 : 1);
}

} // namespace detail

namespace {

using namespace detail;

// A quoted part longer than this is cut, so that the message stays one line.
constexpr std::size_t MaxQuotedLength = 24;

std::u16string shortened(std::u16string_view part)
{
    if (part.size() <= MaxQuotedLength)
        return std::u16string(part);
    std::size_t cut = MaxQuotedLength;
    if (part[cut - 1] >= 0xD800 && part[cut - 1] <= 0xDBFF)
        --cut; // never half a surrogate pair
    return std::u16string(part.substr(0, cut)) + u"…";
}

} // namespace

std::u16string FormulaFaultText(const FormulaFault &fault, std::optional<int> place)
{
    const std::u16string quoted = u"'" + shortened(fault.part) + u"'";
    std::u16string text;
    switch (fault.kind) {
    case FormulaFaultKind::UnknownName: text = u"Unbekannter Name: " + quoted; break;
    case FormulaFaultKind::NotANumber: text = u"Keine Zahl: " + quoted; break;
    case FormulaFaultKind::MissingOpening: text = u"Nach " + quoted + u" fehlt '('"; break;
    case FormulaFaultKind::UnknownCharacter: text = u"Unbekanntes Zeichen: " + quoted; break;
    case FormulaFaultKind::MissingClosing: text = u"Zu " + quoted + u" fehlt ')'"; break;
    case FormulaFaultKind::Surplus: text = u"Überzählig: " + quoted; break;
    case FormulaFaultKind::MissingArgument:
        text = u"Nach " + quoted + u" fehlt ein Argument";
        break;
    case FormulaFaultKind::NotAFormula: text = u"Keine KZN-Formel: " + quoted; break;
    }
    if (place) {
        const std::string number = std::to_string(*place);
        text += u" an Stelle ";
        text.append(number.begin(), number.end());
    }
    return text;
}

} // namespace lw
