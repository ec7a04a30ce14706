// SPDX-License-Identifier: GPL-3.0-or-later
// Random typed equations in the forms and typography pupils use: implicit products,
// superscripts, bars, calls with and without brackets, blanks and invisible characters.

#include "pupilreader.h"
#include "seededrandom.h"

#include <algorithm>
#include <cctype>

namespace lw::test {
namespace {

constexpr int MaxDepth = 3;

class EquationWriter : SeededRandom {
public:
    using SeededRandom::SeededRandom;

    std::u16string equation()
    {
        if (chance(20)) {
            put(pick({u"y =", u"y=", u"Y =", u"f(x) =", u"f(x)=", u"g (x) ="}));
            gap();
        }
        sum(0);
        if (chance(20))
            mutate();
        std::u16string typed;
        for (char16_t c : out) {
            if (chance(2))
                typed += chance(50) ? u'\u200B' : u'\u00AD';
            typed += c;
        }
        return typed;
    }

private:
    template<std::size_t N>
    std::u16string_view pick(const char16_t *const (&options)[N])
    {
        return options[below(N)];
    }

    void put(std::u16string_view text) { out += text; }
    void gap()
    {
        static constexpr char16_t blanks[] = {' ', ' ', '\t', 0xA0, 0x2009};
        while (chance(15))
            out += blanks[below(5)];
    }
    std::u16string_view minus()
    {
        return pick({u"-", u"-", u"-", u"\u2212", u"\u2013", u"\u2014"});
    }

    void sum(int depth)
    {
        const int count = 1 + below(depth == 0 ? 3 : 2);
        for (int i = 0; i < count; ++i) {
            if (i > 0 || chance(15)) {
                gap();
                put(i > 0 && chance(50) ? u"+" : minus());
                gap();
            }
            term(depth);
        }
    }

    void term(int depth)
    {
        bool bare = factor(depth, false);
        for (int i = below(depth == 0 ? 3 : 2); i > 0; --i) {
            // After a call without brackets a factor written on would join its argument; only
            // another call, set apart by a blank, may follow it without an operator.
            if (bare && depth < MaxDepth && chance(30)) {
                put(u" ");
                gap();
                bare = implicitCall(depth);
            } else if (bare || chance(50)) {
                gap();
                put(chance(60)
                        ? pick({u"*", u"*", u"\u00B7", u"\u00D7", u"\u2219", u"\u2022", u"\u22C5"})
                        : pick({u"/", u"/", u":", u"\u00F7"}));
                gap();
                if (chance(8))
                    put(minus());
                bare = factor(depth, false);
            } else {
                if (chance(25))
                    gap();
                bare = factor(depth, true);
            }
        }
    }

    // True when the factor is a call that takes no power and no factor written on. An implicit
    // factor begins with no digit unless a letter ends the one before (x2, e3).
    bool factor(int depth, bool implicit)
    {
        const bool afterLetter = !out.empty() && out.back() < 128 && std::isalpha(out.back());
        if (implicit && afterLetter && chance(10)) {
            out += char16_t('2' + below(7));
            return false;
        }
        int kind = below(100);
        if (implicit && kind < 30)
            kind += 30;
        if (depth >= MaxDepth && kind >= 60)
            kind = 30 + kind % 30;
        if (kind >= 80 && afterLetter && (out.back() == 'a' || chance(30)))
            put(u" "); // "a sin(x)", not "asin(x)"
        if (kind < 30 && chance(10))
            put(pick(
                {u"2 \u00BD", u"3\u00A0\u00BE", u"1\u2009\u00BC"})); // the blank makes two numbers
        else if (kind < 30)
            put(pick({u"2",      u"3",      u"1",      u"4",       u"5",      u"0.5",    u"1,5",
                      u".5",     u"2.25",   u"1E-1",   u"2D-1",    u"\u00BD", u"\u2153", u"\u00BC",
                      u"\u00BE", u"\u2154", u"\u2155", u"2\u00BD", u"\u03C0", u"pi",     u"Pi"}));
        else if (kind < 50)
            put(chance(90) ? u"x" : u"X");
        else if (kind < 60)
            out += char16_t('a' + below(8));
        else if (kind < 80)
            group(depth, kind < 72 ? u"(" : u"|", kind < 72 ? u")" : u"|");
        else if (kind < 95 && call(depth))
            return true;
        else if (kind >= 95)
            root(depth);
        if (chance(25))
            exponent();
        return false;
    }

    void group(int depth, std::u16string_view open, std::u16string_view close)
    {
        put(open);
        gap();
        sum(depth + 1);
        gap();
        put(close);
    }

    void root(int depth)
    {
        put(u"\u221A");
        if (chance(40))
            group(depth, u"(", u")");
        else
            put(pick({u"x", u"x", u"2", u"a", u"x\u00B2", u"3x"}));
    }

    // sin x cos x: a call that is the next factor; true when its argument has no brackets.
    bool implicitCall(int depth)
    {
        if (call(depth))
            return true;
        if (chance(25))
            exponent();
        return false;
    }

    // True when no power may follow: the argument has no brackets, or the name has a power.
    bool call(int depth)
    {
        static constexpr std::string_view names[] = {
            "sin",    "cos",    "tan",  "sqrt",   "sqr",  "wurzel", "abs",
            "betrag", "exp",    "ln",   "lg",     "log",  "log10",  "arcsin",
            "asin",   "arccos", "acos", "arctan", "atan", "sgn",    "sign"};
        const std::string_view name = names[below(std::size(names))];
        const int letterCase = below(10);
        for (std::size_t i = 0; i < name.size(); ++i)
            out += char16_t(letterCase >= 8 || (letterCase >= 6 && i == 0) ? std::toupper(name[i])
                                                                           : name[i]);
        const int form = below(100);
        if (form < 15)
            put(pick({u"\u00B2", u"\u00B3", u"^2", u"^3"}));
        if (form < 70 || (form >= 85 && chance(50))) {
            gap();
            group(depth, u"(", u")");
            return form < 15;
        }
        if (form < 85) {
            group(depth, u"|", u"|");
            return false;
        }
        if (chance(60))
            gap();
        put(pick({u"x", u"x", u"2x", u"x\u00B2", u"\u03C0x", u"3", u"b", u"ax", u"0.5x"}));
        return true;
    }

    void exponent()
    {
        if (chance(60)) {
            if (chance(5))
                gap();
            put(pick({u"\u00B2", u"\u00B2", u"\u00B3", u"\u207B\u00B9", u"\u2070"}));
        } else
            put(pick(
                {u"^2", u"^3", u"^-1", u"^0.5", u"^x", u"^-2", u"^(x-1)", u"^\u00BD", u"^ 2"}));
    }

    // One random edit, so that refusals are exercised as well.
    void mutate()
    {
        static constexpr std::u16string_view edits =
            u"+-*/^|()  12.,;=xeEas\t\u00B2\u207B\u00BD\u03C0\u221A";
        const std::size_t at = below(out.size() + 1);
        const char16_t c = edits[below(edits.size())];
        switch (below(3)) {
        case 0: out.erase(std::min(at, out.size() - 1), 1); break;
        case 1: out.insert(at, 1, c); break;
        default: out[std::min(at, out.size() - 1)] = c;
        }
    }

    std::u16string out;
};

} // namespace

std::u16string GenerateTypedEquation(uint64_t seed)
{
    return EquationWriter(seed).equation();
}

} // namespace lw::test
