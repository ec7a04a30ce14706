// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/graphsettings.h"

#include <QStringList>

#include <string_view>

namespace lw::test {

// The trace lines of a freshly cleared width x height picture with its coordinate system and one
// curve of `formula`, worked out step by step in plain arithmetic without the program's geometry,
// walks or plotter: what DrawCoordinateSystem and PlotGraph must draw together; and whether one
// of the curve's points or lines reaches a pixel of the picture.
struct ReferenceDrawing {
    QStringList steps;
    bool curveVisible = false;
};
ReferenceDrawing ReferencePicture(const GraphSettingsRecord &settings, int width, int height,
                                  std::u16string_view formula);

} // namespace lw::test
