// SPDX-License-Identifier: GPL-3.0-or-later

#include "kzntree.h"

#include "formula/texthelpers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace lw {

using Keyword = KznNode::Keyword;

KznNode KznNode::number(double value)
{
    return {Kind::Number, value, Keyword::Unknown, {}};
}

KznNode KznNode::x()
{
    return {Kind::X, 0, Keyword::Unknown, {}};
}

KznNode KznNode::call(Keyword keyword, std::vector<KznNode> arguments)
{
    return {Kind::Call, 0, keyword, std::move(arguments)};
}

namespace {

constexpr std::array<std::u16string_view, 18> Names{
    u"SUM", u"DIF", u"PRO", u"DIV", u"POT", u"AMI", u"SQR", u"SIN", u"COS",
    u"TAN", u"ABS", u"EXP", u"LGN", u"LGD", u"ASN", u"ACS", u"ATN", u"SGN",
};

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The double a leaf's number text stands for: the characters TextToNumber hands to from_chars,
// without its rounding to float.
std::optional<double> leafNumber(std::u16string_view text)
{
    if (text.starts_with(u"--"))
        text.remove_prefix(2);
    if (text.empty() || NumberTextLength(text) != text.size())
        return std::nullopt;
    std::string chars;
    bool negative = false;
    for (char16_t c : text) {
        if (isBlank(c))
            continue;
        if (chars.empty() && (c == u'+' || c == u'-'))
            negative = c == u'-';
        else if (c == u',')
            chars += '.';
        else
            chars += (c == u'E' || c == u'D' || c == u'd') ? 'e' : static_cast<char>(c);
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(chars.data(), chars.data() + chars.size(), value);
    // Beyond the double range the text reads as infinity or 0, as it does for the engine.
    if (ec == std::errc::result_out_of_range)
        return static_cast<double>(TextToNumber(text));
    if (ec != std::errc() || end != chars.data() + chars.size())
        return std::nullopt;
    return negative ? -value : value;
}

// A recursive descent over the strict shape CheckFormula allows, with the evaluator's reading
// of the few liberties it takes (empty arguments, "--").
class KznReader {
public:
    explicit KznReader(std::u16string_view text) : m_text(text) {}

    std::optional<KznNode> formula()
    {
        auto node = call();
        if (!node || m_pos != m_text.size())
            return std::nullopt;
        return node;
    }

private:
    bool startsCall() const { return m_pos + 3 < m_text.size() && m_text[m_pos + 3] == u'('; }

    std::optional<KznNode> call()
    {
        if (!startsCall() || ++m_depth > MaxKznTreeDepth)
            return std::nullopt;
        const Keyword keyword = detail::keywordOf(m_text.substr(m_pos, 3));
        if (keyword == Keyword::Unknown)
            return std::nullopt;
        m_pos += 4;
        KznNode node = KznNode::call(keyword, {});
        bool emptyLast = false;
        for (bool more = true; more;) {
            if (m_pos < m_text.size() && m_text[m_pos] == u')') {
                emptyLast = true; // "SIN()" or "SUM(1;)": not read at all
                break;
            }
            auto argument = startsCall() ? call() : leaf();
            if (!argument || m_pos >= m_text.size())
                return std::nullopt;
            node.arguments.push_back(std::move(*argument));
            more = m_text[m_pos] == u';';
            if (!more && m_text[m_pos] != u')')
                return std::nullopt; // SUM(SIN(x)2;1)
            if (more)
                ++m_pos;
        }
        ++m_pos; // the ")"
        --m_depth;
        const std::size_t count = node.arguments.size();
        if (count == 0 || (IsFunctionKeyword(keyword) && count > 1)
            || (keyword == Keyword::Ami && emptyLast))
            return std::nullopt;
        return node;
    }

    std::optional<KznNode> leaf()
    {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != u';' && m_text[m_pos] != u')') {
            if (m_text[m_pos] == u'(')
                return std::nullopt;
            ++m_pos;
        }
        const std::u16string_view text = m_text.substr(start, m_pos - start);
        // x is put in as its number text, so "-x" is minus x and "--x" drops back to x.
        if (text == u"x" || text == u"--x")
            return KznNode::x();
        if (text == u"-x")
            return KznNode::call(Keyword::Dif, {KznNode::number(0), KznNode::x()});
        if (text.empty())
            return KznNode::number(0);
        const auto value = leafNumber(text);
        if (!value)
            return std::nullopt;
        return KznNode::number(*value);
    }

    std::u16string_view m_text;
    std::size_t m_pos = 0;
    int m_depth = 0;
};

double power(double base, double exponent)
{
    // pow(1, NaN) and pow(NaN, 0) are 1, but a gap stays a gap.
    if (std::isnan(base) || std::isnan(exponent))
        return std::numeric_limits<double>::quiet_NaN();
    if (base < 0 && std::isfinite(exponent) && exponent != std::trunc(exponent))
        return std::numeric_limits<double>::quiet_NaN();
    if (base == 0 && exponent < 0)
        return std::numeric_limits<double>::quiet_NaN();
    return std::pow(base, exponent);
}

double fold(Keyword keyword, double acc, double value)
{
    switch (keyword) {
    case Keyword::Sum:
    case Keyword::Ami: return acc + value;
    case Keyword::Dif: return acc - value;
    case Keyword::Pro: return acc * value;
    case Keyword::Div: return value == 0 ? std::numeric_limits<double>::quiet_NaN() : acc / value;
    case Keyword::Pot: return power(acc, value);
    default: return std::numeric_limits<double>::quiet_NaN();
    }
}

double function(Keyword keyword, double v)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    switch (keyword) {
    case Keyword::Sqr: return v < 0 ? nan : std::sqrt(v);
    case Keyword::Sin: return std::sin(v);
    case Keyword::Cos: return std::cos(v);
    case Keyword::Tan: return std::tan(v);
    case Keyword::Abs: return std::fabs(v);
    case Keyword::Exp: return std::exp(v);
    case Keyword::Lgn: return v <= 0 ? nan : std::log(v);
    case Keyword::Lgd: return v <= 0 ? nan : std::log10(v);
    case Keyword::Asn: return std::asin(v);
    case Keyword::Acs: return std::acos(v);
    case Keyword::Atn: return std::atan(v);
    case Keyword::Sgn: return std::isnan(v) ? nan : v > 0 ? 1.0 : v < 0 ? -1.0 : 0.0;
    default: return nan;
    }
}

void appendKzn(const KznNode &node, std::u16string &out)
{
    switch (node.kind) {
    case KznNode::Kind::X: out += u'x'; return;
    case KznNode::Kind::Number:
        out += std::isnan(node.value) ? u"DIV(0;0)" : KznNumberText(node.value);
        return;
    case KznNode::Kind::Call: break;
    }
    if (node.keyword == Keyword::Unknown) {
        out += u"DIV(0;0)";
        return;
    }
    out.append(KeywordName(node.keyword)).append(u"(");
    for (std::size_t i = 0; i < node.arguments.size(); ++i) {
        const KznNode &argument = node.arguments[i];
        if (i > 0)
            out += u';';
        const bool sign = i == 0 && node.arguments.size() == 2
                          && (node.keyword == Keyword::Sum || node.keyword == Keyword::Dif)
                          && argument.kind == KznNode::Kind::Number && argument.value == 0
                          && !std::signbit(argument.value);
        if (!sign)
            appendKzn(argument, out);
    }
    out += u')';
}

} // namespace

std::u16string_view KeywordName(Keyword keyword)
{
    const auto index = static_cast<std::size_t>(keyword);
    return index < Names.size() ? Names[index] : std::u16string_view();
}

bool IsFunctionKeyword(Keyword keyword)
{
    return TakesOneArgument(keyword);
}

std::optional<KznNode> ParseKzn(std::u16string_view formula)
{
    if (formula.size() > MaxTextLength)
        return std::nullopt;
    return KznReader(formula).formula();
}

double EvaluateDouble(const KznNode &node, double x)
{
    switch (node.kind) {
    case KznNode::Kind::Number: return node.value;
    case KznNode::Kind::X: return x;
    case KznNode::Kind::Call: break;
    }
    const std::vector<KznNode> &arguments = node.arguments;
    if (arguments.empty()) // what the engine leaves in its accumulator
        return node.keyword == Keyword::Unknown ? std::numeric_limits<double>::quiet_NaN() : 0;
    if (IsFunctionKeyword(node.keyword)) {
        // A function of several arguments keeps the last, but a fault in any is a gap.
        double value = 0;
        for (const KznNode &argument : arguments) {
            value = function(node.keyword, EvaluateDouble(argument, x));
            if (std::isnan(value))
                break;
        }
        return value;
    }
    double acc = EvaluateDouble(arguments.front(), x);
    for (std::size_t i = 1; i < arguments.size() && !std::isnan(acc); ++i)
        acc = fold(node.keyword, acc, EvaluateDouble(arguments[i], x));
    if (node.keyword == Keyword::Ami)
        acc /= static_cast<double>(arguments.size());
    return acc;
}

std::u16string ToKzn(const KznNode &node)
{
    std::u16string out;
    if (node.kind == KznNode::Kind::Call || std::isnan(node.value)) {
        appendKzn(node, out);
        return out;
    }
    out = u"PRO(";
    appendKzn(node, out);
    out += u";1)";
    return out;
}

std::u16string KznNumberText(double value)
{
    if (std::isinf(value))
        return value < 0 ? u"-1E999" : u"1E999";
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    (void)ec; // 32 characters hold any double
    std::u16string text;
    const std::string_view chars(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t e = chars.find('e');
    text.assign(chars.begin(),
                chars.begin() + static_cast<std::ptrdiff_t>(std::min(e, chars.size())));
    if (e != std::string_view::npos) {
        // "1e-07" as "1E-7": the converter takes a sign for its exponent only after an "E".
        std::string_view exponent = chars.substr(e + 1);
        text += u'E';
        if (exponent.front() == '-')
            text += u'-';
        if (exponent.front() == '-' || exponent.front() == '+')
            exponent.remove_prefix(1);
        while (exponent.size() > 1 && exponent.front() == '0')
            exponent.remove_prefix(1);
        text.append(exponent.begin(), exponent.end());
    }
    return text;
}

int KznTreeDepth(const KznNode &node)
{
    int depth = 0;
    for (const KznNode &argument : node.arguments)
        depth = std::max(depth, KznTreeDepth(argument) + 1);
    return node.kind == KznNode::Kind::Call ? std::max(depth, 1) : 0;
}

} // namespace lw
