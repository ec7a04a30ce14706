// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandline.h"
#include "frmmain.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // The program's own options are answered without a display: QApplication would end the
    // program without one before they were read.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    const lw::CommandLine line = lw::ParseCommandLine(lw::WithoutQtOptions(raw));
    if (const std::optional<int> exitCode = lw::AnswerCommandLine(line))
        return *exitCode;

    QApplication app(argc, argv);
    lw::SetUpApplication(app);
    const auto window = lw::Main(line.file);
    return QApplication::exec();
}
