// SPDX-License-Identifier: GPL-3.0-or-later
// The worksheet reader on any bytes: what it accepts must survive the writer unchanged, and a
// second save must write the same bytes, or a pupil's sheet would drift from save to save.

#include "fuzzing.h"
#include "gph/worksheet.h"

using namespace lw;
using namespace lw::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const WorksheetReadResult read = ReadWorksheet(bytes);
    if (read.ok() != read.error.isEmpty())
        Fail("a read both succeeded and failed, or failed without a reason", Utf8Text(data, size));
    if (!read.ok())
        return 0;
    const QByteArray written = WriteWorksheet(*read.sheet);
    const WorksheetReadResult again = ReadWorksheet(written);
    if (!again.ok())
        Fail("the reader refuses what the writer wrote", Utf8Text(data, size),
             again.error.toStdString() + '\n' + written.toStdString());
    if (!SameWorksheet(*read.sheet, *again.sheet))
        Fail("a save changes the sheet", Utf8Text(data, size), written.toStdString());
    if (WriteWorksheet(*again.sheet) != written)
        Fail("a second save writes other bytes", Utf8Text(data, size), written.toStdString());
    return 0;
}
