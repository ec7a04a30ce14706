#include "commandline.h"
#include "frmmain.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // --help and --version answer without a display; Qt's own options such as -platform are
    // known only once QApplication has taken them out, so everything else is read after that.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (const lw::CommandLine early = lw::ParseCommandLine(raw);
        early.action == lw::CommandLine::Action::Help
        || early.action == lw::CommandLine::Action::Version)
        return *lw::AnswerCommandLine(early);

    QApplication app(argc, argv);
    const lw::CommandLine line = lw::ParseCommandLine(QCoreApplication::arguments());
    if (const std::optional<int> exitCode = lw::AnswerCommandLine(line))
        return *exitCode;
    lw::SetUpApplication(app);
    const auto window = lw::Main(line.file);
    return QApplication::exec();
}
