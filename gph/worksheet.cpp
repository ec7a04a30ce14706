// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a worksheet has changed.

#include "worksheet.h"

#include <algorithm>

namespace lw {

namespace {

bool sameValues(const VariableValues &a, const VariableValues &b)
{
    return a.editMode == b.editMode && a.checked == b.checked && a.values == b.values;
}

bool sameCurve(const CurveEntry &a, const CurveEntry &b)
{
    return a.typed == b.typed && a.notation == b.notation && sameValues(a.parameters, b.parameters)
           && a.formula == b.formula && a.kznFormula == b.kznFormula && a.legend == b.legend
           && a.colour == b.colour && a.precision == b.precision && a.linkPoints == b.linkPoints
           && a.visible == b.visible;
}

} // namespace

bool SameWorksheet(const Worksheet &a, const Worksheet &b)
{
    return a.settings == b.settings && a.equation == b.equation && a.notation == b.notation
           && a.autoConvert == b.autoConvert && sameValues(a.parameters, b.parameters)
           && a.ranges == b.ranges && std::ranges::equal(a.curves, b.curves, sameCurve);
}

} // namespace lw
