// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Environment.h"
#include "ScopedEnvironment.h"
#include "platform/SystemRoutines.h"

#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

TEST(Environment, ReferencesToSetVariablesExpandAndTheRestStaysAsWritten)
{
    const ScopedEnvironment user("KESTRUN_TEST_USER", "jdoe");
    const ScopedEnvironment unset("KESTRUN_NOT_SET_ANYWHERE", std::nullopt);
    const struct
    {
        QString text;
        QString expanded;
    } cases[] = {
        {"%KESTRUN_TEST_USER%", "jdoe"},
        {"Hallo %KESTRUN_TEST_USER%!", "Hallo jdoe!"},
        {"no percent signs", "no percent signs"},
        {"%KESTRUN_NOT_SET_ANYWHERE%", "%KESTRUN_NOT_SET_ANYWHERE%"},
        {"100% sure %KESTRUN_TEST_USER%", "100% sure jdoe"},
        {"%%KESTRUN_TEST_USER%%", "%jdoe%"},
        {"50%", "50%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandEnvironmentReferences(c.text), c.expanded) << c.text.toStdString();
}

// Rules taken over from Windows name Windows variables; where the session does
// not set them they stand for their counterparts here, and a set one wins.
TEST(Environment, WindowsNamesStandForTheirCounterpartsWhenNotSet)
{
    const ScopedEnvironment username("USERNAME", std::nullopt);
    const ScopedEnvironment computername("COMPUTERNAME", std::nullopt);
    const ScopedEnvironment temp("TEMP", std::nullopt);
    const ScopedEnvironment appdata("APPDATA", std::nullopt);
    EXPECT_EQ(ExpandEnvironmentReferences("%USERNAME%"), GetUserName());
    EXPECT_EQ(ExpandEnvironmentReferences("%ComputerName%"), GetComputerName());
    EXPECT_EQ(ExpandEnvironmentReferences("%TEMP%\\x"), QDir::tempPath() + "\\x");
    EXPECT_EQ(ExpandEnvironmentReferences("%APPDATA%"),
              QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    EXPECT_FALSE(GetUserName().isEmpty());

    const ScopedEnvironment setTemp("TEMP", "/srv/tmp");
    EXPECT_EQ(ExpandEnvironmentReferences("%TEMP%"), QStringLiteral("/srv/tmp"));
}
