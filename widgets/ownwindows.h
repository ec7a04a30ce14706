// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>

class QWidget;

namespace lw {

// Where a window of `size` opens beside its owner's frame: right of it where the screen's
// `available` area has room, else left, below, above; else as far right as it fits. Never
// off the screen where the screen is large enough.
QRect PlaceBeside(const QRect &owner, const QSize &size, const QRect &available);

// The first time one of the main window's own windows shows: where the user last put it
// (kept in the settings store), else beside the main window. From then on its place is kept
// whenever it hides, and Esc closes it as it does a dialog.
void PlaceOwnWindow(QWidget *window);

} // namespace lw
