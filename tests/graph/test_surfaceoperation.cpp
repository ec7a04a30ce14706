// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/surfaceoperation.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <vector>

using namespace lw;

namespace {

using Kind = SurfaceOperation::Kind;

bool Blank(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != QColor(Qt::white).rgb())
                return false;
        }
    }
    return true;
}

QImage Painted(const std::vector<SurfaceOperation> &operations, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (const SurfaceOperation &operation : operations)
        PaintOperation(painter, operation, Qt::white);
    return image;
}

// As a viewer shows them in an SVG file: centred on their positions and smoothed.
QImage Viewed(const std::vector<SurfaceOperation> &operations, QSize size)
{
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    {
        QPainter painter(&generator);
        for (const SurfaceOperation &operation : operations)
            PaintOperation(painter, operation, Qt::white);
    }
    QSvgRenderer renderer(file.data());
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// Every line and point between positions around the edges that a vector file leaves out paints
// no pixel, neither in the picture nor in a viewer of the file.
TEST(SurfaceOperation, WhatLiesWhollyOutsidePaintsNothing)
{
    for (const QSize size : {QSize(300, 300), QSize(7, 13)}) {
        SCOPED_TRACE(size.width());
        const int w = size.width();
        const int h = size.height();
        const std::vector<int> xs{-40, -2, -1, 0, 1, w - 1, w, w + 1, w + 2, w + 40};
        const std::vector<int> ys{-40, -2, -1, 0, 1, h - 1, h, h + 1, h + 2, h + 40};
        std::vector<SurfaceOperation> operations;
        for (int x1 : xs) {
            for (int y1 : ys) {
                operations.push_back({Kind::Point, x1, y1, 0, 0, 255, {}});
                for (int x2 : xs) {
                    for (int y2 : ys)
                        operations.push_back({Kind::Line, x1, y1, x2, y2, 255, {}});
                }
            }
        }
        std::vector<SurfaceOperation> leftOut;
        for (const SurfaceOperation &operation : operations) {
            if (LiesWhollyOutside(operation, size))
                leftOut.push_back(operation);
        }
        EXPECT_TRUE(Blank(Painted(leftOut, size)));
        EXPECT_TRUE(Blank(Viewed(leftOut, size)));
        // Those beside the picture and those through a corner outside it.
        EXPECT_GT(leftOut.size(), operations.size() / 5);
    }
}

TEST(SurfaceOperation, WhatReachesThePictureIsKept)
{
    const QSize size(300, 300);
    const SurfaceOperation kept[] = {
        {Kind::Line, -40, 150, 340, 150, 255, {}},   // across the picture
        {Kind::Line, -500, -500, 800, 800, 255, {}}, // across, from corner to corner
        {Kind::Line, 299, 299, 9000, 9000, 255, {}}, // from the last pixel outwards
        {Kind::Line, -9000, 0, 0, 0, 255, {}},       // to the first pixel
        {Kind::Point, 0, 0, 0, 0, 255, {}},
        {Kind::Point, 299, 299, 0, 0, 255, {}},
        {Kind::Text, -50, -50, 0, 0, 0, QStringLiteral("1")},
        {Kind::Clear, 0, 0, 0, 0, 0, {}},
    };
    for (const SurfaceOperation &operation : kept)
        EXPECT_FALSE(LiesWhollyOutside(operation, size)) << operation.toString().toStdString();
}

} // namespace
