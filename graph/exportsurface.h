#pragma once

#include "recordingsurface.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

class QPainter;

namespace lw {

enum class PictureFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension, in any case.
std::optional<PictureFormat> PictureFormatOf(const QString &fileName);

// Every writer below replaces the file only once all of it is written, so a
// failure leaves an existing file as it was.

// Writes what a recording holds now as an SVG or PDF file of the given size in pixels.
bool ExportRecording(const RecordingSurface &recording, QSize size, const QColor &background,
                     const QString &fileName, PictureFormat format);

// An SVG or PDF file of the given size in pixels, with what `paint` paints.
bool SaveVectorPicture(const QString &fileName, PictureFormat format, QSize size,
                       const std::function<void(QPainter &)> &paint);

// The reason given when a picture file cannot be written.
QString NotWrittenReason(const QString &fileName);

// Writes a picture as PNG, with a palette when it has at most 256 colours.
bool SavePng(const QImage &image, const QString &fileName);

} // namespace lw
