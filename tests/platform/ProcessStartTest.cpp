// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ProcessStart.h"
#include "platform/DocumentOpener.h"

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

// A program started for a call must survive signals meant for the tray program's
// group (Ctrl+C in its terminal) and must not keep its session.
TEST(ProcessStart, StartsTheProgramInASessionOfItsOwn)
{
    QString error;
    const auto pid = StartDetachedProcess(QStringLiteral("sleep"), {QStringLiteral("30")}, &error);
    ASSERT_TRUE(pid) << error.toStdString();
    EXPECT_NE(::getsid(pid_t(*pid)), ::getsid(0));
    EXPECT_NE(::getpgid(pid_t(*pid)), ::getpgid(0));
    ::kill(pid_t(*pid), SIGTERM);
    WaitForProcessEnd(*pid);
}

TEST(ProcessStart, ProgramThatCannotStartSaysWhy)
{
    QString error;
    EXPECT_FALSE(StartDetachedProcess(QStringLiteral("/nonexistent/program"), {}, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(DocumentOpener, MissingDocumentIsNotHandedToTheDesktop)
{
    QString error;
    EXPECT_FALSE(OpenDocument(QStringLiteral("/nonexistent/Liste.ods"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("/nonexistent/Liste.ods")));
    EXPECT_FALSE(OpenDocument(QString(), &error));
}
