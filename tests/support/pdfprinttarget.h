// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graph/printjob.h"

#include <QPageSize>
#include <QPrinter>

namespace lw::testing {

// Prints into a PDF file of A4 pages through the printer's own paint engine, as a print on paper
// would go.
inline PrintTarget PdfPrintTarget(const QString &fileName)
{
    return [fileName](const PrintJob &job) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(fileName);
        printer.setPageSize(QPageSize(QPageSize::A4));
        PaintJob(printer, job);
    };
}

} // namespace lw::testing
