// SPDX-License-Identifier: GPL-3.0-or-later

#include "assistant/facomplete.h"
#include "formula/formulaprogram.h"
#include "formula/normalise.h"
#include "formula/texthelpers.h"

#include <QString>

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace lw;

namespace {

const std::array<QString, 4> Initial{"a", "b", "c", "d"};

std::u16string normalised(const QString &equation)
{
    const std::optional<std::u16string> compact = RemoveSpaces(equation.toStdU16String());
    const ConvertResult result = NormaliseMathTerm(compact.value());
    return result.status == ConvertStatus::Converted ? result.formula : u"(not converted)";
}

TEST(FAComplete, JoinsTheRowsVerbatimIntoTheTemplate)
{
    const struct {
        int type;
        std::array<QString, 4> rows;
        QString equation;
    } cases[] = {
        {1, Initial, "a * x + b"},
        {2, Initial, "a * (x - c)^2 + b"},
        {3, Initial, "a / (x - c) + b"},
        {4, Initial, "a * SIN(b * (x - d)) + c"},
        {2, {"2", "3", "1", "d"}, "2 * (x - 1)^2 + 3"},
        {3, {"-2", "0,5", "+1", ""}, "-2 / (x - +1) + 0,5"},
        {4, {"2", "1", "0", "0"}, "2 * SIN(1 * (x - 0)) + 0"},
        {1, {"2", "-1", "c", "d"}, "2 * x + -1"},
        {1, {"", "b", "", ""}, " * x + b"},
        {1, {" 0,5 ", "b ", "", ""}, " 0,5  * x + b "},
        {0, Initial, ""},
        {5, Initial, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FAComplete(c.type, c.rows), c.equation)
            << c.type << " " << c.equation.toStdString();
}

TEST(FAComplete, EveryTemplateConvertsAndTheSineKeepsItsLabelsMeaning)
{
    for (int type = 1; type <= 3; ++type)
        EXPECT_NE(normalised(FAComplete(type, Initial)), u"(not converted)") << type;
    EXPECT_EQ(normalised(FAComplete(4, Initial)), u"SUM(PRO(a;SIN(PRO(b;DIF(x;d))));c)");
}

TEST(FAComplete, SineWithStretchTwoDrawsTwiceSinX)
{
    const std::u16string formula = normalised(FAComplete(4, {"2", "1", "0", "0"}));
    const FormulaProgram program(formula);
    for (const float x : {-3.0f, -1.5f, 0.0f, 0.25f, 1.0f, 2.5f})
        EXPECT_NEAR(program.evaluate(x), 2 * std::sin(x), 1e-5) << x;
}

} // namespace
