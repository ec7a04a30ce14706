// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graph/curveentry.h"
#include "settings/graphsettings.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace lw {

enum class PictureFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension, in any case.
std::optional<PictureFormat> PictureFormatOf(const QString &fileName);

// Every picture file states this resolution, so that PNG, SVG and PDF of one size come out
// equally large on paper.
inline constexpr int PictureFileDpi = 96;

// Why a picture of this size would show nothing with these settings: a unit narrower than a
// pixel. Empty when it shows the view.
QString PictureTooSmallReason(const GraphSettingsRecord &settings, QSize size);

// The marked points of the curves go out with them, where given.
// A picture of this size with the curves drawn anew on `background`, pixel for pixel as the
// screen would show them at that size; nullopt when a stop ended the drawing.
std::optional<QImage> DrawCurvesImage(const std::vector<CurveEntry> &curves,
                                      const GraphSettingsRecord &settings, QSize size,
                                      const QColor &background,
                                      const std::vector<PointMark> &marks = {});

enum class SaveOutcome { Saved, NotWritten, Stopped };

// Draws the curves anew into a picture file of this size in pixels: PNG as DrawCurvesImage,
// SVG and PDF with the curves at the exact positions of their samples and the numbers and the
// legend as text. A stop leaves the file as it was, as a failure does.
SaveOutcome SaveCurves(const std::vector<CurveEntry> &curves, const GraphSettingsRecord &settings,
                       QSize size, const QColor &background, const QString &fileName,
                       PictureFormat format, const std::vector<PointMark> &marks = {});

// The reason given when a picture file cannot be written.
QString NotWrittenReason(const QString &fileName);

// Writes a picture as PNG, with a palette when it has at most 256 colours. Every writer here
// replaces the file only once all of it is written, so a failure leaves an existing file as it was.
bool SavePng(const QImage &image, const QString &fileName);

} // namespace lw
