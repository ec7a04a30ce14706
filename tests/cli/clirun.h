// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Runs the built linienwerk-cli, collects what it printed and reads the trace of render.

#include <QList>
#include <QProcess>
#include <QRegularExpression>
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

// ----- render

inline CliRun Render(const QStringList &arguments)
{
    return RunCli(QStringList{QStringLiteral("render")} + arguments);
}

inline std::string Shown(const QStringList &arguments)
{
    return arguments.join(QStringLiteral(" | ")).left(100).toStdString();
}

inline QStringList TraceLines(const CliRun &run)
{
    return run.out.split(u'\n', Qt::SkipEmptyParts);
}

// The curve's operations: everything drawn in the default LiveColor.
inline QStringList CurveOps(const CliRun &run)
{
    return TraceLines(run).filter(QRegularExpression(QStringLiteral(" 8388608$")));
}

struct Op {
    QString kind;
    QList<int> numbers;
};

inline Op Parse(const QString &line)
{
    const QStringList parts = line.split(u' ');
    Op op{parts.front(), {}};
    for (qsizetype i = 1; i < parts.size(); ++i)
        op.numbers << parts[i].toInt();
    return op;
}

} // namespace lw::testing
