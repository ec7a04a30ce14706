#include "exportsurface.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSet>
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
    recording.paint(painter, background);
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
    recording.paint(painter, background);
    return painter.end();
}

bool exportPng(const RecordingSurface &recording, QSize size, const QColor &background,
               const QString &fileName)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    {
        QPainter painter(&image);
        recording.paint(painter, background);
    }
    return SavePng(image, fileName);
}

// The colours of a picture when there are at most 256 of them.
std::optional<QList<QRgb>> fewColours(const QImage &image)
{
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        QRgb last = ~line[0];
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == last)
                continue;
            last = line[x];
            seen.insert(last | 0xff000000u);
            if (seen.size() > 256)
                return std::nullopt;
        }
    }
    return QList<QRgb>(seen.begin(), seen.end());
}

} // namespace

bool SavePng(const QImage &image, const QString &fileName)
{
    // A plot has few colours: with a palette the file is a third of the data
    // to compress, and writing a large picture takes a fraction of the time.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (const auto colours = fewColours(rgb)) {
        QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8, *colours,
                                             Qt::ThresholdDither | Qt::AvoidDither);
        indexed.setDevicePixelRatio(image.devicePixelRatio());
        return indexed.save(fileName, "PNG");
    }
    return rgb.save(fileName, "PNG");
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
