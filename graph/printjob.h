// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QSizeF>

#include <functional>

class QPaintDevice;
class QWidget;

namespace lw {

// What goes to paper: the print-out's picture at the size it had on screen.
struct PrintJob {
    QImage image;
    QSizeF inches;
    QWidget *window = nullptr; // the print-out, parent of any dialog the print needs
};

using PrintTarget = std::function<void(const PrintJob &)>;

// Tests take the job themselves; an empty target is the default printer.
void SetPrintTarget(PrintTarget target);
// Hands the job over and returns; a failed or cancelled print just prints nothing.
void PrintPicture(const PrintJob &job);

// Paints the picture at its size in inches at the top left of the device,
// which for a printer is the top left of its printable area.
bool PaintJob(QPaintDevice &device, const PrintJob &job);

} // namespace lw
