#include "exportsurface.h"

#include "pngencoder.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <optional>

namespace lw {

namespace {

QString suffixOf(const QString &fileName)
{
    return QFileInfo(fileName).suffix().toLower();
}

bool exportSvg(const RecordingSurface &recording, QSize size, const QColor &background,
               const QString &fileName)
{
    QSvgGenerator generator;
    generator.setFileName(fileName);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Linienwerk 2.0"));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    recording.paint(painter, background, size);
    return painter.end();
}

bool exportPdf(const RecordingSurface &recording, QSize size, const QColor &background,
               const QString &fileName)
{
    QPdfWriter writer(fileName);
    writer.setResolution(96);
    writer.setPageSize(QPageSize(QSizeF(size) * 72.0 / 96.0, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Linienwerk 2.0"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.setClipRect(QRect(QPoint(0, 0), size));
    recording.paint(painter, background, size);
    return painter.end();
}

bool exportPng(const RecordingSurface &recording, QSize size, const QColor &background,
               const QString &fileName)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    {
        QPainter painter(&image);
        recording.paint(painter, background, size);
    }
    return SavePng(image, fileName);
}

// Qt's PNG writer turns quality 80 into deflate level 1, the fastest that still compresses: a
// plot is mostly runs of one colour, which every level packs well, and the default level takes
// several times as long for a file half the size.
bool writePng(const QImage &image, const QString &fileName)
{
    QImageWriter writer(fileName, "PNG");
    writer.setQuality(80);
    return writer.write(image);
}

} // namespace

bool SavePng(const QImage &image, const QString &fileName)
{
    // A plot has few colours: with a palette there is a quarter of the data
    // to compress, and writing a large picture takes a fraction of the time.
    if (const std::optional<QByteArray> png = EncodePalettePng(image)) {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly) || file.write(*png) != png->size())
            return false;
        file.close();
        return file.error() == QFileDevice::NoError;
    }
    return writePng(image.convertToFormat(QImage::Format_RGB32), fileName);
}

bool IsExportFileName(const QString &fileName)
{
    const QString suffix = suffixOf(fileName);
    return suffix == QLatin1String("png") || suffix == QLatin1String("svg")
           || suffix == QLatin1String("pdf");
}

bool ExportRecording(const RecordingSurface &recording, QSize size, const QColor &background,
                     const QString &fileName, QString *error)
{
    const QString suffix = suffixOf(fileName);
    bool written = false;
    if (suffix == QLatin1String("svg"))
        written = exportSvg(recording, size, background, fileName);
    else if (suffix == QLatin1String("pdf"))
        written = exportPdf(recording, size, background, fileName);
    else if (suffix == QLatin1String("png"))
        written = exportPng(recording, size, background, fileName);
    else if (error)
        *error = QStringLiteral("Unbekanntes Bildformat: %1 (PNG, SVG oder PDF)").arg(fileName);
    if (!written && error && error->isEmpty())
        *error = QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(fileName);
    return written;
}

} // namespace lw
