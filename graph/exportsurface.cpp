#include "exportsurface.h"

#include <QFileInfo>
#include <QIODevice>
#include <QImage>
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

// The picture with a palette, when it has at most 256 colours. Neighbouring
// pixels mostly share their colour, so the last one found is tried first.
std::optional<QImage> withPalette(const QImage &rgb)
{
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *out = indexed.scanLine(y);
        QRgb last = 0;
        int lastIndex = -1;
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb colour = in[x] | 0xff000000u;
            if (colour != last || lastIndex < 0) {
                lastIndex = static_cast<int>(palette.indexOf(colour));
                if (lastIndex < 0) {
                    if (palette.size() == 256)
                        return std::nullopt;
                    palette.append(colour);
                    lastIndex = static_cast<int>(palette.size() - 1);
                }
                last = colour;
            }
            out[x] = static_cast<uchar>(lastIndex);
        }
    }
    indexed.setColorTable(palette);
    return indexed;
}

} // namespace

bool SavePng(const QImage &image, const QString &fileName)
{
    // A plot has few colours: with a palette there is a quarter of the data
    // to compress, and writing a large picture takes a fraction of the time.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::optional<QImage> indexed = withPalette(rgb);
    if (indexed)
        indexed->setDevicePixelRatio(image.devicePixelRatio());
    return writeAtomically(fileName, [&](QIODevice &device) {
        return indexed ? indexed->save(&device, "PNG") : rgb.save(&device, "PNG");
    });
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

bool IsExportFileName(const QString &fileName)
{
    return PictureFormatOf(fileName).has_value();
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
                     const QString &fileName, QString *error)
{
    const std::optional<PictureFormat> format = PictureFormatOf(fileName);
    bool written = false;
    if (!format) {
        if (error)
            *error = QStringLiteral("Unbekanntes Bildformat: %1 (PNG, SVG oder PDF)").arg(fileName);
        return false;
    }
    if (*format == PictureFormat::Png) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(background);
        {
            QPainter painter(&image);
            recording.paint(painter, background);
        }
        written = SavePng(image, fileName);
    } else {
        written = SaveVectorPicture(fileName, *format, size, [&](QPainter &painter) {
            recording.paint(painter, background);
        });
    }
    if (!written && error)
        *error = QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(fileName);
    return written;
}

} // namespace lw
