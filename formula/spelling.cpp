#include "spelling.h"

#include "texthelpers.h"

#include <vector>

namespace lw {

namespace {

using namespace detail;

constexpr std::u16string_view PiText = u"3.141593";
constexpr std::size_t LongestName = 6;

struct Alias {
    std::u16string_view name; // in lower case; matches in any case
    std::u16string_view keyword;
};

constexpr Alias Aliases[] = {
    {u"sin", u"SIN"},    {u"cos", u"COS"},    {u"tan", u"TAN"},    {u"sqr", u"SQR"},
    {u"sqrt", u"SQR"},   {u"wurzel", u"SQR"}, {u"abs", u"ABS"},    {u"betrag", u"ABS"},
    {u"exp", u"EXP"},    {u"ln", u"LGN"},     {u"lg", u"LGD"},     {u"log", u"LGD"},
    {u"arcsin", u"ASN"}, {u"asin", u"ASN"},   {u"arccos", u"ACS"}, {u"acos", u"ACS"},
    {u"arctan", u"ATN"}, {u"atan", u"ATN"},   {u"sgn", u"SGN"},    {u"sign", u"SGN"},
};

bool equalsIgnoringCase(std::u16string_view text, std::u16string_view lower)
{
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i] >= u'A' && text[i] <= u'Z' ? text[i] + (u'a' - u'A') : text[i];
        if (c != lower[i])
            return false;
    }
    return true;
}

// The keyword a function name stands for: a KZN keyword as written, or an
// alias in any case; empty when the name is none of them.
std::u16string_view functionKeyword(std::u16string_view name)
{
    if (isKnownKeyword(name))
        return name;
    for (const Alias &alias : Aliases) {
        if (equalsIgnoringCase(name, alias.name))
            return alias.keyword;
    }
    return {};
}

// The longest function name `text` begins with; empty when there is none.
std::u16string_view functionNamePrefix(std::u16string_view text)
{
    std::u16string_view longest;
    for (std::size_t n = 1; n <= LongestName && n <= text.size(); ++n) {
        if (!functionKeyword(text.substr(0, n)).empty())
            longest = text.substr(0, n);
    }
    return longest;
}

class Speller {
public:
    explicit Speller(std::u16string_view term) : m_in(term)
    {
        m_out.reserve(term.size() + term.size() / 4 + 8);
    }

    SpelledTerm run()
    {
        while (m_i < m_in.size() && !m_fault) {
            const char16_t c = m_in[m_i];
            if (isNumberCharacter(c))
                number();
            else if (isAsciiLetter(c))
                letters();
            else
                symbol(c);
        }
        if (m_fault)
            return {{}, std::move(m_fault)};
        return {std::move(m_out), std::nullopt};
    }

private:
    // What the last piece written was: a "*" goes between two operands, and
    // a call's "(" follows its name.
    enum class Last { Nothing, Operand, Function, CallOpened, Separator };

    struct Open {
        int roots;        // SQR( written for a √ before this parenthesis's name
        std::size_t name; // where a call's name starts in the input
    };

    void fail(FormulaFaultKind kind, std::u16string_view part, std::size_t position)
    {
        m_fault = FormulaFault{kind, std::u16string(part), position};
    }

    void beforeOperand()
    {
        if (m_last == Last::Operand)
            m_out += u'*';
    }

    void operand(std::u16string_view text)
    {
        beforeOperand();
        m_out += text;
        m_out.append(static_cast<std::size_t>(m_roots), u')');
        m_roots = 0;
        m_last = Last::Operand;
    }

    void function(std::u16string_view keyword, std::size_t name)
    {
        beforeOperand();
        m_out += keyword;
        m_last = Last::Function;
        m_name = name;
    }

    // digits with "." or "," and an exponent E or D with digits: 1E-3, 2.5E+4.
    void number()
    {
        const std::size_t start = m_i;
        std::size_t end = numberRunEnd(m_in, start);
        std::size_t exponent = std::u16string_view::npos;
        if (end < m_in.size() && (m_in[end] == u'E' || m_in[end] == u'D')) {
            std::size_t k = end + 1;
            if (k < m_in.size() && (m_in[k] == u'+' || m_in[k] == u'-'))
                ++k;
            if (k < m_in.size() && isDigit(m_in[k])) {
                exponent = end;
                end = numberRunEnd(m_in, k);
            }
        }
        const std::u16string_view token = m_in.substr(start, end - start);
        if (NumberTextLength(token) != token.size())
            return fail(FormulaFaultKind::NotANumber, token, start);
        if (exponent != std::u16string_view::npos && m_in[exponent] == u'D') {
            // The converter knows the exponent sign only after E.
            std::u16string written(token);
            written[exponent - start] = u'E';
            operand(written);
        } else {
            operand(token);
        }
        m_i = end;
    }

    // A run of letters: x, parameters, pi and function names side by side; a
    // function name ends the run, directly before its "(".
    void letters()
    {
        const std::size_t first = m_i;
        const std::size_t end = letterRunEnd(m_in, first);
        const bool opens = end < m_in.size() && m_in[end] == u'(';
        for (std::size_t j = first; j < end;) {
            if (opens && end - j <= LongestName) {
                const std::u16string_view keyword = functionKeyword(m_in.substr(j, end - j));
                if (!keyword.empty()) {
                    function(keyword, j);
                    break;
                }
            }
            const char16_t c = m_in[j];
            if (c == u'x' || c == u'X') {
                operand(u"x");
                ++j;
            } else if (isParameter(c)) {
                operand(m_in.substr(j, 1));
                ++j;
            } else if ((c == u'p' || c == u'P') && j + 1 < end
                       && (m_in[j + 1] == u'i' || m_in[j + 1] == u'I')) {
                operand(PiText);
                j += 2;
            } else {
                return lettersFault(first, j, end, opens);
            }
        }
        m_i = end;
    }

    void lettersFault(std::size_t first, std::size_t at, std::size_t end, bool opens)
    {
        if (opens)
            return fail(FormulaFaultKind::UnknownName, m_in.substr(first, end - first), first);
        for (std::size_t k = first; k <= at; ++k) {
            const std::u16string_view name = functionNamePrefix(m_in.substr(k, end - k));
            if (!name.empty())
                return fail(FormulaFaultKind::MissingOpening, name, k);
        }
        fail(FormulaFaultKind::UnknownCharacter, m_in.substr(at, 1), at);
    }

    void symbol(char16_t c)
    {
        switch (c) {
        case u'\t':
        case u'\n': break; // skipped like blanks, as the number reading does
        case u'+':
        case u'-':
        case u'*':
        case u'/':
        case u'^': operatorSign(c); break;
        case u'\u2212': // minus sign
        case u'\u2013': operatorSign(u'-'); break;
        case u'\u00B7':
        case u'\u22C5':
        case u'\u00D7': operatorSign(u'*'); break;
        case u'\u00F7':
        case u':': operatorSign(u'/'); break;
        case u'\u00B2': power(u"^2"); break;
        case u'\u00B3': power(u"^3"); break;
        case u'\u03C0': operand(PiText); break;
        case u'\u221A': root(); break;
        case u'(': open(); break;
        case u')': close(); break;
        case u';':
            m_out += u';';
            m_last = Last::Separator;
            m_separator = m_i;
            break;
        default: return fail(FormulaFaultKind::UnknownCharacter, characterAt(m_in, m_i), m_i);
        }
        ++m_i;
    }

    void operatorSign(char16_t c)
    {
        m_out += c;
        m_last = Last::Nothing;
    }

    void power(std::u16string_view text)
    {
        m_out += text;
        m_last = Last::Operand;
    }

    // √( is SQR(; √ before one operand wraps it: √x -> SQR(x), √2x -> SQR(2)*x.
    void root()
    {
        const char16_t next = m_i + 1 < m_in.size() ? m_in[m_i + 1] : u'\0';
        if (next == u'(')
            return function(u"SQR", m_i);
        if (next == u'\u221A' || next == u'\u03C0' || isNumberCharacter(next)
            || isAsciiLetter(next)) {
            beforeOperand();
            m_out += u"SQR(";
            ++m_roots;
            m_last = Last::CallOpened;
            return;
        }
        fail(FormulaFaultKind::MissingOpening, u"\u221A", m_i);
    }

    void open()
    {
        if (m_last == Last::Function) {
            m_open.push_back({m_roots, m_name});
            m_last = Last::CallOpened;
        } else {
            beforeOperand();
            m_open.push_back({m_roots, std::u16string_view::npos});
            m_last = Last::Nothing;
        }
        m_out += u'(';
        m_roots = 0;
    }

    // A call's last argument left empty would not be read: SIN() is 0.
    void close()
    {
        if (m_last == Last::CallOpened && !m_open.empty())
            return fail(FormulaFaultKind::MissingArgument,
                        m_in.substr(m_open.back().name, m_i - m_open.back().name),
                        m_open.back().name);
        if (m_last == Last::Separator)
            return fail(FormulaFaultKind::MissingArgument, u";", m_separator);
        m_out += u')';
        if (!m_open.empty()) {
            m_out.append(static_cast<std::size_t>(m_open.back().roots), u')');
            m_open.pop_back();
        }
        m_last = Last::Operand;
    }

    std::u16string_view m_in;
    std::u16string m_out;
    std::size_t m_i = 0;
    Last m_last = Last::Nothing;
    int m_roots = 0;             // SQR( written, waiting for the end of their operand
    std::size_t m_name = 0;      // where the last function name starts
    std::size_t m_separator = 0; // where the last ";" stands
    std::vector<Open> m_open;
    std::optional<FormulaFault> m_fault;
};

} // namespace

SpelledTerm SpellTerm(std::u16string_view term)
{
    return Speller(term).run();
}

} // namespace lw
