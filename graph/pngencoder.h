// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace lw {

// The picture as a PNG with a palette of its colours (alpha left out) and as few bits a pixel as
// they need, when it has at most 256; nullopt with more. Rows are left unfiltered and deflated
// at the fastest level, as a plot is mostly runs of one colour.
std::optional<QByteArray> EncodePalettePng(const QImage &image);

} // namespace lw
