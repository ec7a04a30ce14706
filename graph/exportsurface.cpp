#include "exportsurface.h"

#include "pngencoder.h"

#include <QFileInfo>
#include <QIODevice>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <optional>

namespace lw {

namespace {

// Runs `write` on a temporary file that takes the name only when all went well.
bool writeAtomically(const QString &fileName, const std::function<bool(QIODevice &)> &write)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!write(file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool paintSvg(QIODevice &device, QSize size, const std::function<void(QPainter &)> &paint)
{
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Linienwerk 2.0"));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    paint(painter);
    return painter.end();
}

bool paintPdf(QIODevice &device, QSize size, const std::function<void(QPainter &)> &paint)
{
    QPdfWriter writer(&device);
    writer.setResolution(96);
    writer.setPageSize(QPageSize(QSizeF(size) * 72.0 / 96.0, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Linienwerk 2.0"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.setClipRect(QRect(QPoint(0, 0), size));
    paint(painter);
    return painter.end();
}

// Qt's PNG writer turns quality 80 into deflate level 1, the fastest that still compresses: a
// plot is mostly runs of one colour, which every level packs well, and the default level takes
// several times as long for a file half the size.
bool writePng(const QImage &image, QIODevice &device)
{
    QImageWriter writer(&device, "PNG");
    writer.setQuality(80);
    return writer.write(image);
}

} // namespace

bool SavePng(const QImage &image, const QString &fileName)
{
    // A plot has few colours: with a palette there is a quarter of the data
    // to compress, and writing a large picture takes a fraction of the time.
    const std::optional<QByteArray> png = EncodePalettePng(image);
    return writeAtomically(fileName, [&](QIODevice &device) {
        return png ? device.write(*png) == png->size()
                   : writePng(image.convertToFormat(QImage::Format_RGB32), device);
    });
}

QString NotWrittenReason(const QString &fileName)
{
    return QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(fileName);
}

std::optional<PictureFormat> PictureFormatOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return PictureFormat::Png;
    if (suffix == QLatin1String("svg"))
        return PictureFormat::Svg;
    if (suffix == QLatin1String("pdf"))
        return PictureFormat::Pdf;
    return std::nullopt;
}

bool SaveVectorPicture(const QString &fileName, PictureFormat format, QSize size,
                       const std::function<void(QPainter &)> &paint)
{
    return writeAtomically(fileName, [&](QIODevice &device) {
        return format == PictureFormat::Pdf ? paintPdf(device, size, paint)
                                            : paintSvg(device, size, paint);
    });
}

bool ExportRecording(const RecordingSurface &recording, QSize size, const QColor &background,
                     const QString &fileName, PictureFormat format)
{
    return SaveVectorPicture(fileName, format, size, [&](QPainter &painter) {
        recording.paint(painter, background, size);
    });
}

} // namespace lw
