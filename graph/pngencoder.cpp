#include "pngencoder.h"

#include <QList>

#include <zlib.h>

#include <cstdint>

namespace lw {

namespace {

void appendBigEndian(QByteArray &out, uint32_t value)
{
    const char bytes[] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                          static_cast<char>(value >> 8), static_cast<char>(value)};
    out.append(bytes, 4);
}

void appendChunk(QByteArray &out, const char type[4], const QByteArray &data)
{
    appendBigEndian(out, static_cast<uint32_t>(data.size()));
    const qsizetype typeAt = out.size();
    out.append(type, 4);
    out.append(data);
    const auto *checked = reinterpret_cast<const Bytef *>(out.constData() + typeAt);
    appendBigEndian(out,
                    static_cast<uint32_t>(crc32(0, checked, static_cast<uInt>(4 + data.size()))));
}

// Each row as the PNG stores it: the filter byte (none), then one palette index a pixel.
// Neighbouring pixels mostly share their colour, so the last one found is tried first.
std::optional<QByteArray> indexedRows(const QImage &rgb, QList<QRgb> &palette)
{
    const int width = rgb.width();
    QByteArray rows(qsizetype(width + 1) * rgb.height(), Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(rows.data());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        *out++ = 0;
        QRgb last = 0;
        int lastIndex = -1;
        for (int x = 0; x < width; ++x) {
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
            *out++ = static_cast<uchar>(lastIndex);
        }
    }
    return rows;
}

std::optional<QByteArray> deflated(const QByteArray &data)
{
    z_stream stream{};
    if (deflateInit2(&stream, 1, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK)
        return std::nullopt;
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(data.size()))),
                   Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        return std::nullopt;
    return out;
}

} // namespace

std::optional<QByteArray> EncodePalettePng(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QList<QRgb> palette;
    const std::optional<QByteArray> rows = indexedRows(rgb, palette);
    if (!rows)
        return std::nullopt;
    const std::optional<QByteArray> compressed = deflated(*rows);
    if (!compressed)
        return std::nullopt;

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBigEndian(header, static_cast<uint32_t>(rgb.width()));
    appendBigEndian(header, static_cast<uint32_t>(rgb.height()));
    header.append("\x08\x03\x00\x00\x00",
                  5); // 8 bits an index, palette, deflate, no filter, no interlace
    appendChunk(png, "IHDR", header);
    QByteArray colours;
    for (const QRgb colour : palette) {
        colours.append(static_cast<char>(qRed(colour)));
        colours.append(static_cast<char>(qGreen(colour)));
        colours.append(static_cast<char>(qBlue(colour)));
    }
    appendChunk(png, "PLTE", colours);
    if (rgb.dotsPerMeterX() > 0 && rgb.dotsPerMeterY() > 0) {
        QByteArray density;
        appendBigEndian(density, static_cast<uint32_t>(rgb.dotsPerMeterX()));
        appendBigEndian(density, static_cast<uint32_t>(rgb.dotsPerMeterY()));
        density.append('\x01'); // per metre
        appendChunk(png, "pHYs", density);
    }
    appendChunk(png, "IDAT", *compressed);
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace lw
