// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindow/commandline.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace lw;
using Action = CommandLine::Action;

namespace {

TEST(CommandLine, ReadsInOrderAndAFileOnlyOnce)
{
    const struct {
        QStringList words;
        Action action;
        QString fileOrProblem;
    } cases[] = {
        {{}, Action::Start, ""},
        {{"kurve.gph"}, Action::Start, "kurve.gph"},
        {{"--help"}, Action::Help, ""},
        {{"--version"}, Action::Version, ""},
        {{"kurve.gph", "--version"}, Action::Version, ""},
        {{"--help", "-x"}, Action::Help, ""},
        {{"-x", "--help"}, Action::Usage, "unbekannte Option \"-x\""},
        {{"--hilfe"}, Action::Usage, "unbekannte Option \"--hilfe\""},
        {{"-"}, Action::Usage, "unbekannte Option \"-\""},
        {{"a.gph", "b.gph"}, Action::Usage, "nur eine Datei, nicht auch \"b.gph\""},
        {{""}, Action::Usage, "leerer Dateiname"},
        {{"--", "-kurve.gph"}, Action::Start, "-kurve.gph"},
        {{"--", "--help"}, Action::Start, "--help"},
        {{"--", "a.gph", "--"}, Action::Usage, "nur eine Datei, nicht auch \"--\""},
        // Qt's options are Qt's, with their values, up to "--".
        {{"-platform", "offscreen", "--reverse", "-style=fusion", "a.gph"}, Action::Start, "a.gph"},
        {{"-reverse=1"}, Action::Usage, "unbekannte Option \"-reverse=1\""},
        {{"--", "-reverse"}, Action::Start, "-reverse"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.words.join(' ').toStdString());
        const CommandLine line =
            ParseCommandLine(WithoutQtOptions(QStringList{"linienwerk"} + c.words));
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(c.action == Action::Usage ? line.problem : line.file, c.fileOrProblem);
    }
}

TEST(CommandLine, ProgramPrintsAndEndsWithItsExitCode)
{
    const struct {
        QStringList words;
        int exitCode;
        const char *out;
        const char *err;
    } cases[] = {
        {{"--version"}, 0, "Linienwerk 2.0\n", ""},
        {{"--help"}, 0, "Aufruf: linienwerk [--] [DATEI]\n", ""},
        // Qt's own options are not the program's to refuse.
        {{"-platform", "offscreen", "--version"}, 0, "Linienwerk 2.0\n", ""},
        {{"--hilfe"},
         2,
         "",
         "linienwerk: unbekannte Option \"--hilfe\"\nAufruf: linienwerk [--] [DATEI]\n"},
        {{"a.gph", "b.gph"}, 2, "", "Aufruf: linienwerk [--] [DATEI]\n"},
    };
    // Without a display: the program answers its own options before it needs one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.words.join(' ').toStdString());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(LW_PROGRAM_PATH), c.words);
        // Generous: the sanitizer build starts slowly.
        ASSERT_TRUE(program.waitForFinished(120000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.exitCode);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(out.left(qstrlen(c.out)), QString::fromUtf8(c.out)) << out.toStdString();
        EXPECT_TRUE(err.contains(c.err)) << err.toStdString();
        EXPECT_EQ(out.isEmpty(), c.exitCode != 0);
    }
}

} // namespace
