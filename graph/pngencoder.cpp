#include "pngencoder.h"

#include <QList>

#include <zlib.h>

#include <cstdint>
#include <cstring>

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

// One palette index a pixel, a row after the other. Pixels come in runs of one colour, so each
// run is looked up once and filled at once.
std::optional<QByteArray> indexedPixels(const QImage &rgb, QList<QRgb> &palette)
{
    const int width = rgb.width();
    QByteArray indices(qsizetype(width) * rgb.height(), Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(indices.data());
    QRgb last = 0;
    int lastIndex = -1;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < width;) {
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
            int end = x + 1;
            while (end < width && (in[end] | 0xff000000u) == colour)
                ++end;
            std::memset(out, lastIndex, static_cast<std::size_t>(end - x));
            out += end - x;
            x = end;
        }
    }
    return indices;
}

// The fewest bits an index that a palette of this size needs, as a PNG allows them.
int bitsFor(qsizetype colours)
{
    return colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
}

// The rows as the PNG stores them: a filter byte (none), then the indices packed at `bits` each,
// the leftmost pixel in the highest bits. With a plot's few colours that is a quarter of the
// bytes or less to deflate.
QByteArray packedRows(const QByteArray &indices, int width, int height, int bits)
{
    const int perByte = 8 / bits;
    const qsizetype rowBytes = (qsizetype(width) + perByte - 1) / perByte;
    QByteArray rows((rowBytes + 1) * height, Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(rows.data());
    const auto *in = reinterpret_cast<const uchar *>(indices.constData());
    for (int y = 0; y < height; ++y) {
        *out++ = 0; // filter: none
        if (bits == 8) {
            std::memcpy(out, in, static_cast<std::size_t>(width));
        } else {
            uchar *byte = out;
            unsigned packed = 0;
            int filled = 0;
            for (int x = 0; x < width; ++x) {
                packed = packed << bits | in[x];
                filled += bits;
                if (filled == 8) {
                    *byte++ = static_cast<uchar>(packed);
                    packed = 0;
                    filled = 0;
                }
            }
            if (filled > 0)
                *byte = static_cast<uchar>(packed << (8 - filled));
        }
        in += width;
        out += rowBytes;
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
    // A picture still being painted would be copied whole by any conversion, or by a copy.
    if (image.format() != QImage::Format_RGB32)
        return EncodePalettePng(image.convertToFormat(QImage::Format_RGB32));
    const QImage &rgb = image;
    QList<QRgb> palette;
    const std::optional<QByteArray> indices = indexedPixels(rgb, palette);
    if (!indices)
        return std::nullopt;
    const int bits = bitsFor(palette.size());
    const std::optional<QByteArray> compressed =
        deflated(packedRows(*indices, rgb.width(), rgb.height(), bits));
    if (!compressed)
        return std::nullopt;

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBigEndian(header, static_cast<uint32_t>(rgb.width()));
    appendBigEndian(header, static_cast<uint32_t>(rgb.height()));
    header.append(static_cast<char>(bits));
    // A palette; deflate, filters of one byte a row, no interlacing.
    header.append("\x03\x00\x00\x00", 4);
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
