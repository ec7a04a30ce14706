// SPDX-License-Identifier: GPL-3.0-or-later

#include "pngencoder.h"

#include <QList>

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <vector>

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

// A stretch of pixels of one colour within a row.
struct Run {
    int length;
    uchar index;
};

// The end of the run of `colour` that starts at `x`. Eight pixels are compared at a time, which
// the compiler turns into vector instructions: most of a plot's rows are one long run.
int runEnd(const QRgb *row, int x, int width, QRgb colour)
{
    int end = x + 1;
    while (end + 8 <= width) {
        QRgb differs = 0;
        for (int k = 0; k < 8; ++k)
            differs |= (row[end + k] | 0xff000000u) ^ colour;
        if (differs != 0)
            break;
        end += 8;
    }
    while (end < width && (row[end] | 0xff000000u) == colour)
        ++end;
    return end;
}

// The picture as runs of palette indices, a row after the other.
std::optional<std::vector<Run>> indexedRuns(const QImage &rgb, QList<QRgb> &palette)
{
    const int width = rgb.width();
    std::vector<Run> runs;
    runs.reserve(static_cast<std::size_t>(rgb.height()) * 8);
    QRgb last = 0;
    int lastIndex = -1;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < width;) {
            const QRgb colour = row[x] | 0xff000000u;
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
            const int end = runEnd(row, x, width, colour);
            runs.push_back({end - x, static_cast<uchar>(lastIndex)});
            x = end;
        }
    }
    return runs;
}

// The fewest bits an index that a palette of this size needs, as a PNG allows them.
int bitsFor(qsizetype colours)
{
    return colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
}

// The rows as the PNG stores them: a filter byte (none), then the indices packed at `bits` each,
// the leftmost pixel in the highest bits. With a plot's few colours that is a quarter of the
// bytes or less to deflate; whole bytes of a run are filled at once.
QByteArray packedRows(const std::vector<Run> &runs, int width, int height, int bits)
{
    const int perByte = 8 / bits;
    const int shift = bits == 1 ? 3 : bits == 2 ? 2 : bits == 4 ? 1 : 0; // log2 of perByte
    const qsizetype rowBytes = (qsizetype(width) + perByte - 1) / perByte;
    QByteArray rows((rowBytes + 1) * height, '\0'); // the filter bytes stay 0: none
    auto *row = reinterpret_cast<uchar *>(rows.data()) + 1;
    int x = 0;
    const auto put = [&](uchar index) {
        row[x >> shift] |= static_cast<uchar>(index << (8 - bits - (x & (perByte - 1)) * bits));
        ++x;
    };
    for (const Run &run : runs) {
        int left = run.length;
        for (; left > 0 && (x & (perByte - 1)) != 0; --left)
            put(run.index);
        const int whole = left >> shift;
        if (whole > 0) {
            int pattern = run.index;
            for (int b = bits; b < 8; b *= 2)
                pattern |= pattern << b;
            std::memset(row + (x >> shift), pattern, static_cast<std::size_t>(whole));
            x += whole << shift;
            left -= whole << shift;
        }
        for (; left > 0; --left)
            put(run.index);
        if (x == width) {
            row += rowBytes + 1;
            x = 0;
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
    // A picture still being painted would be copied whole by any conversion, or by a copy.
    if (image.format() != QImage::Format_RGB32)
        return EncodePalettePng(image.convertToFormat(QImage::Format_RGB32));
    const QImage &rgb = image;
    QList<QRgb> palette;
    const std::optional<std::vector<Run>> runs = indexedRuns(rgb, palette);
    if (!runs)
        return std::nullopt;
    const int bits = bitsFor(palette.size());
    const std::optional<QByteArray> compressed =
        deflated(packedRows(*runs, rgb.width(), rgb.height(), bits));
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
