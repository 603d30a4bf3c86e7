// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// For test programs that link linesim_test_support (ORVIX_LINESIM_EXECUTABLE).

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

// Runs an orvix-linesim command line against the simulator serving `service`.
inline void RunLinesimCommand(const QString& service, QStringList arguments, int deadlineMs)
{
    arguments.prepend(service);
    arguments.prepend(QStringLiteral("--service"));
    QProcess cli;
    cli.start(QStringLiteral(ORVIX_LINESIM_EXECUTABLE), arguments);
    ASSERT_TRUE(cli.waitForFinished(deadlineMs));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
}
