// SPDX-License-Identifier: GPL-3.0-or-later

#include "pointerposition.h"

#include "formula/formulaprogram.h"
#include "graph/graphdraw.h"
#include "settings/graphsettings.h"
#include "settings/settingsfields.h"

#include <cmath>
#include <optional>
#include <string>

namespace lw {

namespace {

// The traced curve's program, kept from one pointer move to the next.
const FormulaProgram &programOf(std::u16string_view formula)
{
    static std::u16string text;
    static std::optional<FormulaProgram> program;
    if (!program || text != formula) {
        text = formula;
        program.emplace(text);
    }
    return *program;
}

} // namespace

int PointerDecimals(int pixelsPerUnit)
{
    int decimals = 0;
    for (long long reach = 1; reach < pixelsPerUnit; reach *= 10)
        ++decimals;
    return decimals;
}

QString PointerPositionText(QPointF position)
{
    const PlotGeometry &g = ScreenPicture().geometry;
    if (g.PixelsPerUnitX <= 0 || g.PixelsPerUnitY <= 0)
        return {};
    // The pixel the pointer is in; on a high-density screen the position has fractions.
    const double column = std::floor(position.x());
    const double row = std::floor(position.y());
    const double x = GraphSettings.ScreenCentralX + (column - g.CentralPixelX) / g.PixelsPerUnitX;
    const double y = GraphSettings.ScreenCentralY + (g.CentralPixelY - row) / g.PixelsPerUnitY;
    return QStringLiteral("x = %1   y = %2")
        .arg(DecimalText(x, PointerDecimals(g.PixelsPerUnitX)),
             DecimalText(y, PointerDecimals(g.PixelsPerUnitY)));
}

TracePoint TraceAt(QPointF position, std::u16string_view formula)
{
    const PlotGeometry &g = ScreenPicture().geometry;
    if (g.PixelsPerUnitX <= 0 || g.PixelsPerUnitY <= 0)
        return {};
    const int decimals = PointerDecimals(g.PixelsPerUnitX);
    const double scale = std::pow(10.0, decimals);
    const double pointer = GraphSettings.ScreenCentralX
                           + (std::floor(position.x()) - g.CentralPixelX) / g.PixelsPerUnitX;
    // The value belongs to the x the pupil reads, not to the pointer's unrounded one.
    const double x = std::round(pointer * scale) / scale;
    const QString xText = DecimalText(x, decimals);
    const FormulaSample sample = programOf(formula).sample(static_cast<float>(x));
    if (sample.error != FormulaError::None || sample.arithmeticFault
        || !std::isfinite(sample.value))
        return {QStringLiteral("f(%1) hat keinen Wert").arg(xText), std::nullopt};
    const double y = sample.value;
    const double column = g.CentralPixelX + (x - GraphSettings.ScreenCentralX) * g.PixelsPerUnitX;
    const double row = g.CentralPixelY - (y - GraphSettings.ScreenCentralY) * g.PixelsPerUnitY;
    std::optional<QPoint> at;
    if (std::fabs(row) < 30000)
        at = QPoint(static_cast<int>(std::lround(column)), static_cast<int>(std::lround(row)));
    return {
        QStringLiteral("f(%1) = %2").arg(xText, DecimalText(y, PointerDecimals(g.PixelsPerUnitY))),
        at};
}

} // namespace lw
