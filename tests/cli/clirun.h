#pragma once

// Runs the built linienwerk-cli and collects what it printed.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace lw::testing {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

inline CliRun RunCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(LW_CLI_PATH), arguments);
    // Generous: the sanitizer build starts slowly.
    EXPECT_TRUE(process.waitForFinished(120000)) << arguments.join(' ').left(80).toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace lw::testing
