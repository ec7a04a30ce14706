// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/printjob.h"

#include "widgets/messages.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace lw {

namespace {

PrintTarget target;

void printOnDefaultPrinter(const PrintJob &job)
{
    QPrinter printer(QPrinter::HighResolution);
    // Without an installed printer the dialog still offers printing to a file.
    if (QPrinterInfo::defaultPrinter().isNull()) {
        QPrintDialog dialog(&printer, job.window);
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    if (!PaintJob(printer, job))
        ShowError(PrinterRefusedMessage, MessageIcon::Critical);
}

} // namespace

void SetPrintTarget(PrintTarget printTarget)
{
    target = std::move(printTarget);
}

void PrintPicture(const PrintJob &job)
{
    if (target)
        target(job);
    else
        printOnDefaultPrinter(job);
}

bool PaintJob(QPaintDevice &device, const PrintJob &job)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Screen pixels become blocks of device pixels, not blurred edges.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // A JPEG-coded picture would smear the one-pixel lines.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const QRectF area(0, 0, job.inches.width() * device.logicalDpiX(),
                      job.inches.height() * device.logicalDpiY());
    painter.drawImage(area, job.image);
    return painter.end();
}

} // namespace lw
