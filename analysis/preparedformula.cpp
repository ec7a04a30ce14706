// SPDX-License-Identifier: GPL-3.0-or-later

#include "preparedformula.h"

#include "analysis/derivative.h"
#include "formula/evaluator.h"

#include <algorithm>
#include <cmath>

namespace lw {

namespace {

constexpr std::size_t MaxDerivedNodes = 1000;

std::size_t nodeCount(const KznNode &node)
{
    std::size_t count = 1;
    for (const KznNode &argument : node.arguments)
        count += nodeCount(argument);
    return count;
}

} // namespace

PreparedFormula::PreparedFormula(std::u16string_view formula)
    : m_formula(formula), m_program(formula), m_tree(ParseKzn(formula))
{}

std::optional<double> PreparedFormula::engine(double x) const
{
    const FormulaSample sample = m_program.sample(static_cast<float>(x));
    if (sample.error != FormulaError::None || sample.arithmeticFault
        || !std::isfinite(sample.value))
        return std::nullopt;
    return sample.value;
}

double PreparedFormula::value(double x) const
{
    if (m_tree)
        return EvaluateDouble(*m_tree, x);
    return engine(x).value_or(std::nan(""));
}

const std::optional<KznNode> &PreparedFormula::first() const
{
    // Deriving cannot be stopped; a formula far beyond any a pupil types would spend the
    // analysis's budget on it, so its slopes come from differences instead.
    if (!m_first)
        m_first = m_tree && nodeCount(*m_tree) <= MaxDerivedNodes ? Derive(*m_tree) : std::nullopt;
    return *m_first;
}

const std::optional<KznNode> &PreparedFormula::second() const
{
    if (!m_second)
        m_second = first() ? Derive(*first()) : std::nullopt;
    return *m_second;
}

CurveFunctions PreparedFormula::functions(int derivatives) const
{
    CurveFunctions f;
    f.engine = [this](double x) {
        return engine(x);
    };
    f.f = [this](double x) {
        return value(x);
    };
    if (derivatives > 0 && first())
        f.d1 = [this](double x) {
            return EvaluateDouble(**m_first, x);
        };
    if (derivatives > 1 && second())
        f.d2 = [this](double x) {
            return EvaluateDouble(**m_second, x);
        };
    return f;
}

std::shared_ptr<const PreparedFormula> PreparedFormulas::of(std::u16string_view formula)
{
    const auto found = std::ranges::find_if(
        m_recent, [&](const auto &prepared) { return prepared->formula() == formula; });
    std::shared_ptr<const PreparedFormula> prepared;
    if (found != m_recent.end()) {
        prepared = *found;
        m_recent.erase(found);
    } else {
        prepared = std::make_shared<const PreparedFormula>(formula);
        if (m_recent.size() >= Kept)
            m_recent.erase(m_recent.begin());
    }
    m_recent.push_back(prepared);
    return prepared;
}

} // namespace lw
