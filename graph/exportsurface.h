#pragma once

#include "recordingsurface.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

namespace lw {

// Writes what a recording holds now as a picture file of the given size in
// pixels: PNG, SVG or PDF, chosen by the file's extension. False with a
// reason when the format is unknown or the file cannot be written.
bool ExportRecording(const RecordingSurface &recording, QSize size, const QColor &background,
                     const QString &fileName, QString *error);

bool IsExportFileName(const QString &fileName);

// Writes a picture as PNG, with a palette when it has at most 256 colours.
bool SavePng(const QImage &image, const QString &fileName);

} // namespace lw
