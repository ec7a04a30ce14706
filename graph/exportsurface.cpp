// SPDX-License-Identifier: GPL-3.0-or-later

#include "exportsurface.h"

#include "curvelist.h"
#include "graphdraw.h"
#include "imagesurface.h"
#include "pixelfont.h"
#include "pngencoder.h"
#include "repeatfilter.h"
#include "surfaceoperation.h"

#include <QFileInfo>
#include <QFont>
#include <QIODevice>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPolygonF>
#include <QSaveFile>
#include <QSvgGenerator>

#include <functional>
#include <optional>

namespace lw {

namespace {

// The numbers and the legend in a sans serif of this many pixels: its digits are then about as
// wide as the pixel font's four pixels and nearly as high as its six, so a text takes about the
// box the pixel font gives it.
constexpr int TextPixels = 7;

// A vertex this close to the one before adds nothing to see: a quarter of the pen's width, at
// any scale, as the pen scales with the picture.
constexpr double VertexSpacing = 0.25;

bool closeTo(QPointF a, QPointF b)
{
    const QPointF d = a - b;
    return QPointF::dotProduct(d, d) < VertexSpacing * VertexSpacing;
}

// Paints onto a vector file: the curves at the exact positions of their samples, as polylines
// of the joins that follow each other, and the numbers and the legend as text in a real font.
// Positions are those of the picture: a line's middle lies on its position, half a pixel up and
// left of the pixels it sets in an image.
class VectorSurface final : public DrawingSurface {
public:
    VectorSurface(QPainter &painter, QSize size, const QColor &background)
        : m_painter(painter), m_size(size), m_background(background)
    {
        m_font.setFamily(QStringLiteral("sans-serif"));
        m_font.setStyleHint(QFont::SansSerif);
        m_font.setPixelSize(TextPixels);
        // Before the first step: every group of the file names this font, not the painter's
        // default, which differs between the program and the command-line tool.
        m_painter.setFont(m_font);
    }

    bool takesExactPositions() const override { return true; }

    void clear() override
    {
        finish();
        m_lastPoint.reset();
        m_painter.fillRect(QRectF(QPointF(0, 0), m_size), m_background);
    }
    void line(int x1, int y1, int x2, int y2, Colour colour) override
    {
        exactLine(QPointF(x1, y1), QPointF(x2, y2), colour);
    }
    void point(int x, int y, Colour colour) override { exactPoint(QPointF(x, y), colour); }

    void exactLine(QPointF from, QPointF to, Colour colour) override
    {
        m_lastPoint.reset();
        if (LineLiesWhollyOutside(from, to, m_size)) {
            finish();
            return;
        }
        if (m_run.isEmpty() || colour != m_runColour || m_run.last() != from) {
            finish();
            m_run << from;
            m_runColour = colour;
        } else if (m_run.size() >= 2 && closeTo(m_run.last(), m_run[m_run.size() - 2])) {
            // A fine walk puts many samples on a pixel: an end still that close to the vertex
            // before moves on instead of becoming a vertex.
            m_run.last() = to;
            return;
        }
        m_run << to;
    }

    void exactPoint(QPointF at, Colour colour) override
    {
        finish();
        if (PointLiesWhollyOutside(at, m_size)
            || (m_lastPoint && colour == m_lastPointColour && closeTo(at, *m_lastPoint)))
            return;
        m_lastPoint = at;
        m_lastPointColour = colour;
        m_painter.setPen(QPen(ToQColor(colour), 1));
        m_painter.drawPoint(at);
    }

    void text(const QString &text) override
    {
        finish();
        m_lastPoint.reset();
        m_painter.setFont(m_font);
        m_painter.setPen(ToQColor(textColour()));
        // The pixel font's digits stand on the bottom of its box.
        m_painter.drawText(QPointF(textX(), textY() + PixelFontHeight), text);
    }

    // Paints the run of joins still open.
    void finish()
    {
        if (m_run.size() >= 2) {
            m_painter.setPen(
                QPen(ToQColor(m_runColour), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            m_painter.drawPolyline(m_run);
        }
        m_run.clear();
    }

private:
    QPainter &m_painter;
    QSizeF m_size;
    QColor m_background;
    QFont m_font;
    QPolygonF m_run;
    Colour m_runColour = 0;
    // The point drawn just before, when nothing came since: one close to it is left out.
    std::optional<QPointF> m_lastPoint;
    Colour m_lastPointColour = 0;
};

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

using Painting = std::function<bool(QPainter &)>;

bool paintWith(QPaintDevice &device, const Painting &paint)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const bool painted = paint(painter);
    return painter.end() && painted;
}

bool paintSvg(QIODevice &device, QSize size, const Painting &paint)
{
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(PictureFileDpi);
    generator.setTitle(QStringLiteral("Linienwerk 2.0"));
    return paintWith(generator, paint);
}

bool paintPdf(QIODevice &device, QSize size, const Painting &paint)
{
    QPdfWriter writer(&device);
    writer.setResolution(PictureFileDpi);
    writer.setPageSize(QPageSize(QSizeF(size) * 72.0 / PictureFileDpi, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Linienwerk 2.0"));
    return paintWith(writer, [&](QPainter &painter) {
        painter.setClipRect(QRect(QPoint(0, 0), size));
        return paint(painter);
    });
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

// The axes and every visible curve drawn anew on a surface of this size; false when stopped.
bool drawAnew(DrawingSurface &surface, const std::vector<CurveEntry> &curves,
              const GraphSettingsRecord &settings, QSize size, const std::vector<PointMark> &marks)
{
    Picture picture = BlankPicture(surface, static_cast<int16_t>(size.width()),
                                   static_cast<int16_t>(size.height()));
    picture.curves = curves;
    picture.marks = marks;
    return RedrawPicture(picture, settings);
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

QString PictureTooSmallReason(const GraphSettingsRecord &settings, QSize size)
{
    const PlotGeometry geometry = ComputeGeometry(settings, static_cast<int16_t>(size.width()),
                                                  static_cast<int16_t>(size.height()));
    if (geometry.PixelsPerUnitX > 0 && geometry.PixelsPerUnitY > 0)
        return {};
    const QString pixels = size.width() == size.height()
                               ? QString::number(size.width())
                               : QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
    return QStringLiteral("Das Bild ist mit %1 Pixeln zu klein für den Anzeigebereich: eine "
                          "Einheit wäre schmaler als ein Pixel.")
        .arg(pixels);
}

std::optional<QImage> DrawCurvesImage(const std::vector<CurveEntry> &curves,
                                      const GraphSettingsRecord &settings, QSize size,
                                      const QColor &background, const std::vector<PointMark> &marks)
{
    ImageSurface image(size, 1.0, background);
    // As on the screen: a step that repeats the one before paints nothing new.
    RepeatFilter filter(image);
    if (!drawAnew(filter, curves, settings, size, marks))
        return std::nullopt;
    QImage drawn = image.image();
    const int dotsPerMetre = qRound(PictureFileDpi / 0.0254);
    drawn.setDotsPerMeterX(dotsPerMetre);
    drawn.setDotsPerMeterY(dotsPerMetre);
    return drawn;
}

SaveOutcome SaveCurves(const std::vector<CurveEntry> &curves, const GraphSettingsRecord &settings,
                       QSize size, const QColor &background, const QString &fileName,
                       PictureFormat format, const std::vector<PointMark> &marks)
{
    if (format == PictureFormat::Png) {
        const std::optional<QImage> image =
            DrawCurvesImage(curves, settings, size, background, marks);
        if (!image)
            return SaveOutcome::Stopped;
        return SavePng(*image, fileName) ? SaveOutcome::Saved : SaveOutcome::NotWritten;
    }
    bool stopped = false;
    const Painting paint = [&](QPainter &painter) {
        VectorSurface surface(painter, size, background);
        stopped = !drawAnew(surface, curves, settings, size, marks);
        surface.finish();
        return !stopped;
    };
    const bool written = writeAtomically(fileName, [&](QIODevice &device) {
        return format == PictureFormat::Pdf ? paintPdf(device, size, paint)
                                            : paintSvg(device, size, paint);
    });
    if (written)
        return SaveOutcome::Saved;
    return stopped ? SaveOutcome::Stopped : SaveOutcome::NotWritten;
}

} // namespace lw
