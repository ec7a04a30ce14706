// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/pngencoder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace lw;

namespace {

// A picture of `colours` different colours (the last one repeated to the end), with alpha that
// the file leaves out.
QImage Picture(QSize size, int colours)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int i = 0; i < size.width() * size.height(); ++i) {
        const int c = std::min(i, colours - 1);
        image.setPixel(i % size.width(), i / size.width(), qRgba(c, 255 - c / 2, c * 7 % 256, 100));
    }
    return image;
}

TEST(PngEncoder, DecodesToThePicturesPixels)
{
    const struct {
        QSize size;
        int colours;
    } cases[] = {{{1, 1}, 1},  {{7, 3}, 2},   {{9, 5}, 3},   {{300, 300}, 4},
                 {{13, 3}, 5}, {{33, 1}, 16}, {{11, 7}, 17}, {{16, 16}, 256}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.colours);
        const QImage picture = Picture(c.size, c.colours);
        const std::optional<QByteArray> png = EncodePalettePng(picture);
        ASSERT_TRUE(png);
        const QImage decoded = QImage::fromData(*png, "PNG");
        ASSERT_EQ(decoded.size(), c.size);
        EXPECT_TRUE(decoded.convertToFormat(QImage::Format_RGB32)
                    == picture.convertToFormat(QImage::Format_RGB32));
    }
}

TEST(PngEncoder, MoreThan256ColoursNeedNoPalette)
{
    EXPECT_FALSE(EncodePalettePng(Picture({17, 17}, 257)));
}

} // namespace
