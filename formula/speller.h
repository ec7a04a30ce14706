// SPDX-License-Identifier: GPL-3.0-or-later
// The reading of a typed equation is one pass whose handlers all share its state (what was read
// last, the open brackets, the power it stands in): one class, its members split between files
// by what they read.

#pragma once

#include "charclasses.h"
#include "spelling.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw::detail {

inline constexpr std::u16string_view PiText = u"3.141593";
inline constexpr char16_t Pi = u'\u03C0';
inline constexpr char16_t Root = u'\u221A';
inline constexpr std::size_t NoPosition = std::u16string_view::npos;

// One left-to-right pass over the typed term that writes it the way the
// converter reads it and stops at the first thing that would not draw what
// was typed. Positions index `m_in`, the typed text with what stands for
// nothing taken out; `m_at` leads each back to the typed text.
class Speller {
public:
    explicit Speller(std::u16string_view typed);
    SpelledTerm run();

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

    // The pass itself: its state, what stands between operands, and the faults.
    std::u16string_view typedPart(std::size_t from, std::size_t to) const;
    void fail(FormulaFaultKind kind, std::size_t from, std::size_t to);
    void skipPrefix();
    void closeRoots()
    {
        m_out.append(static_cast<std::size_t>(m_roots), u')');
        m_roots = 0;
    }
    void beforeOperand();
    void operandDone(bool isNumber);
    void simpleOperand(std::u16string_view text);
    void symbol(char16_t c);
    void unknownCharacter();
    void operatorSign(char16_t c);

    // Numbers, superscripts and vulgar fractions.
    std::size_t readNumber(std::size_t start, std::u16string &written);
    void number();
    std::size_t readSuperscript(std::size_t start, std::u16string &written);
    void superscript();
    void fraction(VulgarFraction f);

    // Letters: x, parameters, pi and the names of functions with what they take.
    void letters();
    std::size_t functionPower(std::size_t name, std::size_t i, std::u16string &power);
    void function(std::u16string_view keyword, std::size_t name);
    std::size_t bareOperand(std::size_t i, std::u16string &operand, std::size_t &number);
    std::size_t bareSuperscripts(std::size_t i, std::u16string &operand);

    // What opens and closes: brackets, bars, roots, the separator of arguments, the end.
    void root();
    void pushOpen(Open::Kind kind, std::size_t at);
    void open();
    void openBar(std::size_t at);
    bool closable();
    void closeOpen();
    void close();
    void bar();
    bool barOpen() const;
    void separator();
    void missingClosing(const Open &open);
    void finish();

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

} // namespace lw::detail
