// SPDX-License-Identifier: GPL-3.0-or-later
// The reading of a typed equation is one pass whose handlers all share its
// state (what was read last, the open brackets, the power it stands in), so
// it stays one class in one file.

#include "spelling.h"

#include "charclasses.h"
#include "functionnames.h"
#include "texthelpers.h"

#include <vector>

namespace lw {

namespace {

using namespace detail;

constexpr std::u16string_view PiText = u"3.141593";
constexpr char16_t Pi = u'\u03C0';
constexpr char16_t Root = u'\u221A';
constexpr std::size_t NoPosition = std::u16string_view::npos;

std::u16string digitsOf(int n)
{
    const std::string text = std::to_string(n);
    return {text.begin(), text.end()};
}

bool isPiAt(std::u16string_view text, std::size_t i)
{
    return i + 1 < text.size() && (text[i] == u'p' || text[i] == u'P')
           && (text[i + 1] == u'i' || text[i + 1] == u'I');
}

// One left-to-right pass over the typed term that writes it the way the
// converter reads it and stops at the first thing that would not draw what
// was typed. Positions index `m_in`, the typed text with what stands for
// nothing taken out; `m_at` leads each back to the typed text.
class Speller {
public:
    explicit Speller(std::u16string_view typed) : m_typed(typed)
    {
        m_in.reserve(typed.size());
        m_at.reserve(typed.size());
        for (std::size_t k = 0; k < typed.size(); ++k) {
            const char16_t c = typed[k];
            if (isIgnoredCharacter(c))
                continue;
            m_in.push_back(isTypedBlank(c) ? u' ' : operatorSignOf(c));
            m_at.push_back(k);
        }
        m_out.reserve(typed.size() + typed.size() / 4 + 8);
    }

    SpelledTerm run()
    {
        skipPrefix();
        while (m_i < m_in.size() && !m_fault) {
            const char16_t c = m_in[m_i];
            if (c == u' ') {
                m_blank = true;
                ++m_i;
                continue;
            }
            if (isNumberCharacter(c))
                number();
            else if (isAsciiLetter(c))
                letters();
            else
                symbol(c);
            m_blank = false;
        }
        if (!m_fault)
            finish();
        if (m_fault)
            return {{}, std::move(m_fault)};
        return {std::move(m_out), std::nullopt};
    }

private:
    // What was read last: decides whether a sign is an operator, a "|" opens
    // or closes, and where a "*" left out goes.
    enum class Last { Start, Opened, CallOpened, Separator, Sign, Operator, Operand };
    // Where the reader stands in a power: powers do not chain without brackets.
    enum class Power { None, Exponent, AfterExponent };

    struct Open {
        enum class Kind { Group, Call, Bar } kind;
        std::size_t at;           // the "(" or "|", or a call's name
        std::size_t opening;      // a call's "("
        int roots;                // √ written before it, closed after its primary
        std::size_t rootStart;    // where the first of those roots starts in the output
        Power power;              // the power state around it
        std::size_t primaryStart; // where it starts in the output
        std::u16string powerText; // sin²(x): "^2" after the call's ")"
        bool wrapped = false;     // "(" written before the call, for its power
        bool barCall = false;     // ln|x|: the call ends with its bar
        bool oneArgument = false;
    };

    std::size_t skipBlanks(std::size_t i) const
    {
        while (i < m_in.size() && m_in[i] == u' ')
            ++i;
        return i;
    }

    // The typed text of [from, to) of m_in.
    std::u16string_view typedPart(std::size_t from, std::size_t to) const
    {
        return m_typed.substr(m_at[from], m_at[to - 1] + 1 - m_at[from]);
    }

    void fail(FormulaFaultKind kind, std::size_t from, std::size_t to)
    {
        if (!m_fault)
            m_fault = FormulaFault{kind, std::u16string(typedPart(from, to)), m_at[from]};
    }

    // "y =" and "f(x) =" repeat what the field's caption says; "x = 2" is a
    // vertical line, no function of x.
    void skipPrefix()
    {
        std::size_t k = skipBlanks(0);
        if (k >= m_in.size() || !isAsciiLetter(m_in[k]) || m_in[k] == u'x' || m_in[k] == u'X')
            return;
        k = skipBlanks(k + 1);
        if (k < m_in.size() && m_in[k] == u'(') {
            k = skipBlanks(k + 1);
            if (k >= m_in.size() || (m_in[k] != u'x' && m_in[k] != u'X'))
                return;
            k = skipBlanks(k + 1);
            if (k >= m_in.size() || m_in[k] != u')')
                return;
            k = skipBlanks(k + 1);
        }
        if (k < m_in.size() && m_in[k] == u'=')
            m_i = k + 1;
    }

    void closeRoots()
    {
        m_out.append(static_cast<std::size_t>(m_roots), u')');
        m_roots = 0;
    }

    // Two operands side by side: the "*" left out.
    void beforeOperand()
    {
        if (m_last != Last::Operand)
            return;
        closeRoots();
        m_out += u'*';
        m_power = Power::None;
    }

    void operandDone(bool isNumber)
    {
        m_last = Last::Operand;
        m_lastWasNumber = isNumber;
        m_superscripted = false;
        m_bracketed = false;
        if (m_power == Power::Exponent)
            m_power = Power::AfterExponent;
    }

    void simpleOperand(std::u16string_view text)
    {
        beforeOperand();
        m_primaryStart = m_out.size();
        m_out += text;
        operandDone(false);
    }

    // digits with "." or "," and an exponent E or D with digits: 1E-3, 2.5E+4.
    // Its end, or NoPosition after a fault; `written` as the converter reads it.
    std::size_t readNumber(std::size_t start, std::u16string &written)
    {
        std::size_t end = numberRunEnd(m_in, start);
        std::size_t exponent = NoPosition;
        if (end < m_in.size() && (m_in[end] == u'E' || m_in[end] == u'D')) {
            std::size_t k = end + 1;
            if (k < m_in.size() && (m_in[k] == u'+' || m_in[k] == u'-'))
                ++k;
            if (k < m_in.size() && isDigit(m_in[k])) {
                exponent = end;
                end = numberRunEnd(m_in, k);
            }
        }
        for (std::size_t k = start; k < end; ++k) {
            // x,5 is no decimal number, and no list either.
            if (m_in[k] == u',' && (k == 0 || !isDigit(m_in[k - 1]))) {
                fail(FormulaFaultKind::CommaWithoutDigit, k, k + 1);
                return NoPosition;
            }
        }
        const std::u16string_view token = std::u16string_view(m_in).substr(start, end - start);
        if (NumberTextLength(token) != token.size()) {
            fail(FormulaFaultKind::NotANumber, start, end);
            return NoPosition;
        }
        written = token;
        if (exponent != NoPosition)
            written[exponent - start] = u'E'; // the converter knows the exponent sign only after E
        return end;
    }

    void number()
    {
        const std::size_t start = m_i;
        std::u16string written;
        const std::size_t end = readNumber(start, written);
        if (end == NoPosition)
            return;
        if (m_last == Last::Operand && m_lastWasNumber)
            return fail(FormulaFaultKind::TwoNumbers, m_numberStart, end);
        beforeOperand();
        m_primaryStart = m_out.size();
        m_out += written;
        operandDone(true);
        m_numberStart = start;
        m_i = end;
    }

    // A run of letters written together: x, parameters, pi and function names
    // side by side, read left to right, the longest name first.
    void letters()
    {
        const std::size_t first = m_i;
        const std::size_t end = letterRunEnd(m_in, first);
        const std::size_t after = skipBlanks(end);
        const std::u16string_view in(m_in);
        // Before "(" the run ends in the name of the call or holds no name at
        // all (x(x+1)): sinh(x) is no sin.
        const bool opens = after < m_in.size() && m_in[after] == u'(';
        std::size_t call = first;
        while (opens && call < end && functionKeyword(in.substr(call, end - call)).empty())
            ++call;
        if (!opens)
            call = end;
        std::size_t digitsEnd = end;
        while (digitsEnd < m_in.size() && isDigit(m_in[digitsEnd]))
            ++digitsEnd;
        for (std::size_t j = first; j < end;) {
            if (j == call) {
                m_i = end;
                return function(functionKeyword(in.substr(call, end - call)), j);
            }
            const auto name = opens && call == end ? std::u16string_view()
                                                   : functionNamePrefix(in.substr(j, call - j));
            if (!name.empty()) {
                if (j + name.size() == end && digitsEnd > end) {
                    // log10 is lg; log2 and log3 may mean a base, and sin2(x) names nothing.
                    if (equalsIgnoringCase(name, u"log")) {
                        if (in.substr(end, digitsEnd - end) != u"10")
                            return fail(FormulaFaultKind::UnknownName, j, digitsEnd);
                        m_i = digitsEnd;
                        return function(u"LGD", j);
                    }
                    const std::size_t next = skipBlanks(digitsEnd);
                    if (next < m_in.size() && m_in[next] == u'(')
                        return fail(FormulaFaultKind::UnknownName, j, digitsEnd);
                }
                m_i = j + name.size();
                return function(functionKeyword(name), j);
            }
            const char16_t c = m_in[j];
            if (c == u'x' || c == u'X') {
                simpleOperand(u"x");
                ++j;
            } else if (isParameter(c)) {
                simpleOperand(in.substr(j, 1));
                ++j;
            } else if (isPiAt(in, j)) {
                simpleOperand(PiText);
                j += 2;
            } else if (end - first > 1) {
                return fail(FormulaFaultKind::UnknownName, first, end);
            } else {
                return fail(FormulaFaultKind::UnknownCharacter, j, j + 1);
            }
        }
        m_i = end;
    }

    // ², ²³, ⁻¹ from `start` as "^2", "^23", "^-1"; its end, or NoPosition.
    std::size_t readSuperscript(std::size_t start, std::u16string &written)
    {
        std::size_t k = start;
        written = u"^";
        if (m_in[k] == SuperscriptMinus) {
            written += u'-';
            ++k;
        }
        const std::size_t digits = k;
        for (; k < m_in.size() && superscriptDigit(m_in[k]) >= 0; ++k)
            written += static_cast<char16_t>(u'0' + superscriptDigit(m_in[k]));
        if (k == digits) {
            fail(FormulaFaultKind::MissingOperand, start, start + 1);
            return NoPosition;
        }
        return k;
    }

    // sin²(x) and sin^2(x): "^2" for after the call; a negative power is
    // either the reciprocal or the inverse function, and so refused.
    std::size_t functionPower(std::size_t name, std::size_t i, std::u16string &power)
    {
        if (i >= m_in.size())
            return i;
        if (isSuperscript(m_in[i])) {
            if (m_in[i] == SuperscriptMinus) {
                std::size_t end = i + 1;
                while (end < m_in.size() && isSuperscript(m_in[end]))
                    ++end;
                fail(FormulaFaultKind::AmbiguousInverse, name, end);
                return NoPosition;
            }
            return readSuperscript(i, power);
        }
        if (m_in[i] != u'^')
            return i;
        const std::size_t k = skipBlanks(i + 1);
        std::size_t end = k;
        if (k < m_in.size() && (m_in[k] == u'-' || m_in[k] == SuperscriptMinus)) {
            for (++end; end < m_in.size() && (isDigit(m_in[end]) || isSuperscript(m_in[end]));)
                ++end;
            fail(FormulaFaultKind::AmbiguousInverse, name, end);
            return NoPosition;
        }
        while (end < m_in.size() && isDigit(m_in[end]))
            ++end;
        // sin^2.5(x): a power of a function is a whole number
        if (end == k || (end < m_in.size() && (m_in[end] == u'.' || m_in[end] == u','))) {
            fail(FormulaFaultKind::MissingOpening, name, i);
            return NoPosition;
        }
        m_numberStart = k;
        power = u"^" + std::u16string(std::u16string_view(m_in).substr(k, end - k));
        return end;
    }

    // A function name read up to m_i: its call, its argument between bars, or
    // one operand without brackets (sin x, sin 2x, ln x).
    void function(std::u16string_view keyword, std::size_t name)
    {
        const std::size_t nameEnd = m_i;
        std::u16string power;
        const std::size_t afterPower = functionPower(name, skipBlanks(nameEnd), power);
        if (afterPower == NoPosition)
            return;
        const std::size_t k = skipBlanks(afterPower);
        const bool oneArgument = takesOneArgument(keyword);
        const char16_t next = k < m_in.size() ? m_in[k] : u'\0';
        if (next != u'(' && !oneArgument)
            return fail(FormulaFaultKind::MissingOpening, name, nameEnd);
        std::u16string operand;
        std::size_t end = k;
        std::size_t number = NoPosition; // where a bare operand that is a number starts
        if (next != u'(' && next != u'|') {
            end = bareOperand(k, operand, number);
            if (end == NoPosition)
                return;
            const std::size_t after = skipBlanks(end);
            // sin x^2 is sin(x^2) to some and sin(x)^2 to others; sin 2½ wants brackets too.
            if (operand.empty() || (after < m_in.size() && m_in[after] == u'^')
                || (number != NoPosition && end < m_in.size()
                    && vulgarFraction(m_in[end]).denominator != 0))
                return fail(FormulaFaultKind::MissingOpening, name, nameEnd);
            // sin^2 3: the power and the operand are two numbers side by side.
            if (!power.empty() && isDigit(m_in[afterPower - 1]) && k > afterPower
                && isNumberCharacter(m_in[k]))
                return fail(FormulaFaultKind::TwoNumbers, m_numberStart, end);
        }
        beforeOperand();
        const std::size_t start = m_out.size();
        const bool wrapped = !power.empty() && m_power == Power::Exponent;
        if (wrapped)
            m_out += u'(';
        m_out.append(keyword).append(u"(");
        if (next == u'(' || next == u'|') {
            m_open.push_back({Open::Kind::Call, name, k, m_roots, m_rootStart, m_power, start,
                              power, wrapped, next == u'|', oneArgument});
            m_roots = 0;
            m_power = Power::None;
            m_last = Last::CallOpened;
            m_i = k + 1;
            if (next == u'|')
                openBar(k);
            return;
        }
        m_out.append(operand).append(u")").append(power);
        if (wrapped)
            m_out += u')';
        m_primaryStart = start;
        operandDone(number != NoPosition);
        m_numberStart = number;
        m_superscripted = !power.empty();
        m_i = end;
    }

    // [number] { x | a..h | pi | π }, each with its superscripts, written
    // together; a run of letters stops before a function name (sinxcosx).
    // `number`: where it starts when it is a number alone, as in sin 2.
    std::size_t bareOperand(std::size_t i, std::u16string &operand, std::size_t &number)
    {
        if (i < m_in.size() && isNumberCharacter(m_in[i])) {
            number = i;
            i = readNumber(i, operand);
            if (i == NoPosition || (i < m_in.size() && vulgarFraction(m_in[i]).denominator != 0))
                return i;
            if (i < m_in.size() && isSuperscript(m_in[i]))
                number = NoPosition;
            i = bareSuperscripts(i, operand);
        }
        const std::u16string_view in(m_in);
        while (i != NoPosition && i < m_in.size()) {
            const char16_t c = m_in[i];
            std::u16string_view piece;
            std::size_t length = 1;
            if (c == Pi) {
                piece = PiText;
            } else if (!isAsciiLetter(c)
                       || !functionNamePrefix(in.substr(i, letterRunEnd(in, i) - i)).empty()) {
                break;
            } else if (c == u'x' || c == u'X') {
                piece = u"x";
            } else if (isParameter(c)) {
                piece = in.substr(i, 1);
            } else if (isPiAt(in, i)) {
                piece = PiText;
                length = 2;
            } else {
                break;
            }
            if (!operand.empty())
                operand += u'*';
            operand += piece;
            number = NoPosition;
            i = bareSuperscripts(i + length, operand);
        }
        return i;
    }

    std::size_t bareSuperscripts(std::size_t i, std::u16string &operand)
    {
        if (i >= m_in.size() || !isSuperscript(m_in[i]))
            return i;
        std::u16string power;
        const std::size_t end = readSuperscript(i, power);
        if (end != NoPosition)
            operand += power;
        return end;
    }

    void symbol(char16_t c)
    {
        switch (c) {
        case u'+':
        case u'-':
        case u'*':
        case u'/':
        case u'^': return operatorSign(c);
        case Pi: simpleOperand(PiText); break;
        case Root: return root();
        case u'(': open(); break;
        case u')': return close();
        case u'|': return bar();
        case u';': return separator();
        default:
            if (isSuperscript(c))
                return superscript();
            if (vulgarFraction(c).denominator != 0)
                return fraction(vulgarFraction(c));
            return unknownCharacter();
        }
        ++m_i;
    }

    void unknownCharacter()
    {
        const std::size_t length = characterAt(m_in, m_i).size();
        fail(isNamedByCodePoint(characterAt(m_in, m_i)) ? FormulaFaultKind::InvisibleCharacter
                                                        : FormulaFaultKind::UnknownCharacter,
             m_i, m_i + length);
    }

    void operatorSign(char16_t c)
    {
        const std::size_t at = m_i;
        ++m_i;
        if (m_last == Last::Operand) {
            if (c == u'^' && (m_superscripted || m_power == Power::AfterExponent))
                return fail(FormulaFaultKind::ChainedPower, at, at + 1);
            closeRoots();
            m_out += c;
            m_power = c == u'^' ? Power::Exponent : Power::None;
            m_last = Last::Operator;
            m_operators = m_operator = at;
            return;
        }
        // One sign may stand before an operand: -x, x*-1, x^-2.
        if ((c == u'+' || c == u'-') && m_last != Last::Sign) {
            if (m_last != Last::Operator)
                m_operators = at;
            m_out += c;
            m_last = Last::Sign;
            m_operator = at;
            return;
        }
        if (m_last == Last::Operator || m_last == Last::Sign)
            return fail(FormulaFaultKind::DoubleOperator, m_operators, at + 1);
        fail(FormulaFaultKind::OperandBefore, at, at + 1);
    }

    void superscript()
    {
        const std::size_t start = m_i;
        if (m_last != Last::Operand)
            return fail(FormulaFaultKind::OperandBefore, start, start + 1);
        std::u16string power;
        const std::size_t end = readSuperscript(start, power);
        if (end == NoPosition)
            return;
        if (m_superscripted || (m_power == Power::AfterExponent && m_blank))
            return fail(FormulaFaultKind::ChainedPower, start, end);
        // √(x)²: the bracket ends the root's argument, so the power takes the root.
        if (m_bracketed && m_roots > 0) {
            closeRoots();
            m_primaryStart = m_rootStart;
        }
        if (m_power == Power::AfterExponent) {
            // 2^x² is 2^(x²): the superscript binds to the operand just before it.
            m_out.insert(m_primaryStart, 1, u'(');
            m_out.append(power).append(u")");
        } else {
            m_out += power;
        }
        m_superscripted = true;
        m_lastWasNumber = false;
        m_i = end;
    }

    // ½ is (1/2); 2½ a mixed number, (2+1/2).
    void fraction(VulgarFraction f)
    {
        const std::size_t at = m_i;
        ++m_i;
        const std::u16string quotient = digitsOf(f.numerator) + u"/" + digitsOf(f.denominator);
        if (m_last == Last::Operand && m_lastWasNumber) {
            if (m_blank)
                return fail(FormulaFaultKind::TwoNumbers, m_numberStart, at + 1);
            const std::u16string whole = m_out.substr(m_primaryStart);
            if (whole.find_first_not_of(u"0123456789") != std::u16string::npos)
                return fail(FormulaFaultKind::NotANumber, m_numberStart, at + 1);
            m_out.replace(m_primaryStart, std::u16string::npos,
                          u"(" + whole + u"+" + quotient + u")");
            return; // still a number: 2½ 3 is no product either
        }
        beforeOperand();
        m_primaryStart = m_out.size();
        m_out.append(u"(").append(quotient).append(u")");
        operandDone(true);
        m_numberStart = at;
    }

    // √x, √2x = √2·x, √x² = √(x²), √(x)² = (√x)²: the root takes the next
    // primary and its superscripts unless brackets close it, and closes before
    // whatever follows them.
    void root()
    {
        const std::size_t k = skipBlanks(m_i + 1);
        const char16_t next = k < m_in.size() ? m_in[k] : u'\0';
        if (!(next == u'(' || next == Root || next == Pi || next == u'|' || isNumberCharacter(next)
              || isAsciiLetter(next) || vulgarFraction(next).denominator != 0))
            return fail(FormulaFaultKind::MissingOpening, m_i, m_i + 1);
        beforeOperand();
        if (m_roots == 0)
            m_rootStart = m_out.size();
        m_out += u"SQR(";
        ++m_roots;
        m_last = Last::Opened;
        m_i = k;
    }

    void pushOpen(Open::Kind kind, std::size_t at)
    {
        m_open.push_back({kind, at, at, m_roots, m_rootStart, m_power, m_out.size(), {}});
        m_roots = 0;
        m_power = Power::None;
        m_last = Last::Opened;
    }

    void open()
    {
        beforeOperand();
        pushOpen(Open::Kind::Group, m_i);
        m_out += u'(';
    }

    void openBar(std::size_t at)
    {
        pushOpen(Open::Kind::Bar, at);
        m_out += u"ABS(";
    }

    // Whether the innermost bracket may close here; the fault when not.
    bool closable()
    {
        const Open &top = m_open.back();
        switch (m_last) {
        case Last::Operator:
        case Last::Sign: fail(FormulaFaultKind::MissingOperand, m_operator, m_operator + 1); break;
        case Last::Opened: fail(FormulaFaultKind::MissingOperand, top.at, top.at + 1); break;
        case Last::CallOpened:
            // A call's last argument left empty would not be read: SIN() is 0.
            fail(FormulaFaultKind::MissingArgument, top.at, top.opening + 1);
            break;
        case Last::Separator:
            fail(FormulaFaultKind::MissingArgument, m_separator, m_separator + 1);
            break;
        default: return true;
        }
        return false;
    }

    void closeOpen()
    {
        closeRoots();
        m_out += u')';
        const Open top = std::move(m_open.back());
        m_open.pop_back();
        m_roots = top.roots;
        m_rootStart = top.rootStart;
        m_power = top.power;
        m_primaryStart = top.primaryStart;
        m_out += top.powerText;
        if (top.wrapped)
            m_out += u')';
        operandDone(false);
        m_superscripted = !top.powerText.empty();
        m_bracketed = top.kind != Open::Kind::Call;
    }

    void close()
    {
        if (m_open.empty())
            return fail(FormulaFaultKind::Surplus, m_i, m_i + 1);
        if (m_open.back().kind == Open::Kind::Bar)
            return missingClosing(m_open.back());
        if (!closable())
            return;
        closeOpen();
        ++m_i;
    }

    // A bar opens where an operand may stand and closes the innermost open
    // bar after an operand: ||x|-1|, 2|x+1|, |x||x|.
    void bar()
    {
        const std::size_t at = m_i;
        ++m_i;
        if (m_last == Last::Operand && barOpen()) {
            // |x+(1| would close across the bracket.
            if (m_open.back().kind != Open::Kind::Bar)
                return missingClosing(m_open.back());
            closeOpen();
            if (!m_open.empty() && m_open.back().barCall)
                closeOpen();
            return;
        }
        beforeOperand();
        openBar(at);
    }

    bool barOpen() const
    {
        for (const Open &open : m_open) {
            if (open.kind == Open::Kind::Bar)
                return true;
        }
        return false;
    }

    void separator()
    {
        if (m_open.empty() || m_open.back().kind != Open::Kind::Call || m_open.back().barCall)
            return fail(FormulaFaultKind::Surplus, m_i, m_i + 1);
        const Open &call = m_open.back();
        if (call.oneArgument) {
            std::size_t nameEnd = call.at;
            while (nameEnd < m_in.size() && isAsciiLetter(m_in[nameEnd]))
                ++nameEnd;
            return fail(FormulaFaultKind::OneArgument, call.at, nameEnd);
        }
        if (m_last == Last::Operator || m_last == Last::Sign)
            return fail(FormulaFaultKind::MissingOperand, m_operator, m_operator + 1);
        closeRoots();
        m_out += u';';
        m_last = Last::Separator;
        m_power = Power::None;
        m_separator = m_i;
        ++m_i;
    }

    void missingClosing(const Open &open)
    {
        const std::size_t end = open.kind == Open::Kind::Call ? open.opening + 1 : open.at + 1;
        fail(FormulaFaultKind::MissingClosing, open.at, end);
    }

    void finish()
    {
        if (m_last == Last::Operator || m_last == Last::Sign)
            return fail(FormulaFaultKind::MissingOperand, m_operator, m_operator + 1);
        if (!m_open.empty())
            return missingClosing(m_open.back());
        closeRoots();
    }

    std::u16string_view m_typed;
    std::u16string m_in;
    std::vector<std::size_t> m_at;
    std::u16string m_out;
    std::size_t m_i = 0;
    Last m_last = Last::Start;
    Power m_power = Power::None;
    bool m_blank = false;           // blanks since the last token
    bool m_lastWasNumber = false;   // the last operand is a number: 2 3 is no product
    bool m_superscripted = false;   // the last operand has its superscript
    int m_roots = 0;                // SQR( written, waiting for the end of their primary
    std::size_t m_rootStart = 0;    // where the first of them starts in the output
    bool m_bracketed = false;       // the last operand is a bracket or bars, no call
    std::size_t m_primaryStart = 0; // where the last primary starts in the output
    std::size_t m_numberStart = 0;
    std::size_t m_operator = 0;  // the last operator or sign
    std::size_t m_operators = 0; // the first of the operators in a row
    std::size_t m_separator = 0; // the last ";"
    std::vector<Open> m_open;
    std::optional<FormulaFault> m_fault;
};

} // namespace

SpelledTerm SpellTerm(std::u16string_view typed)
{
    return Speller(typed).run();
}

} // namespace lw
