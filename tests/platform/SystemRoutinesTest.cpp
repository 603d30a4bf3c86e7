// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SystemRoutines.h"

#include "ScopedEnvironment.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QSysInfo>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

TEST(SystemRoutines, TelephoneNumbersMatchTheWholeText)
{
    const std::pair<const char*, bool> cases[] = {
        {"+49 30 1234567", true},
        {"030-1234567", true},
        {"+49 (30) 123-4567", true},
        {"0 (30) 1234567", true},
        {"123.456.7890", true},
        {"0301234567", true},
        {"11111111111111111111", true},
        {"", false},
        {"12", false},
        {"+", false},
        {"030 12a4567", false},
        {"0800 CALLNOW", false},
        {"030  1234567", false},
        {"030--1234567", false},
        {"030/1234567", false},
        {"++49 30 1234567", false},
        {"111111111111111111111", false},
        {"030 1234567 ", false},
        // "$" alone would let a trailing line break through.
        {"030 1234567\n", false},
        // The expression allows no bracket before the first digit.
        {"(030) 1234567", false},
    };
    for (const auto& [text, accepted] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(IsTelephoneNumber(QString::fromUtf8(text)), accepted);
    }
}

TEST(SystemRoutines, EMailAddressesMatchTheWholeText)
{
    const std::pair<const char*, bool> cases[] = {
        {"anna.meier@example.com", true}, {"a_b%c+d-e@sub.example.de", true},
        {"ANNA@EXAMPLE.COM", true},       {"", false},
        {"anna@example.c", false},        {"anna@example", false},
        {"anna@example.c0m", false},      {"@example.com", false},
        {"anna@@example.com", false},     {"anna meier@example.com", false},
        {"anna@exa mple.com", false},     {"anna@example.com ", false},
        {"anna@example.com\n", false},    {"anna@exämple.com", false},
    };
    for (const auto& [text, accepted] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(IsEMailAddress(QString::fromUtf8(text)), accepted);
    }
}

TEST(SystemRoutines, EnvironmentVariableIsEmptyWhenNotSet)
{
    {
        const ScopedEnvironment variable("KESTRUN_TEST_VARIABLE", "Wert ä");
        EXPECT_EQ(GetEnvVarValue(QStringLiteral("KESTRUN_TEST_VARIABLE")), QStringLiteral("Wert ä"));
        EXPECT_EQ(GetEnvVarValue(QStringLiteral("kestrun_test_variable")), QString());
    }
    {
        const ScopedEnvironment variable("KESTRUN_TEST_VARIABLE", QByteArray());
        EXPECT_EQ(GetEnvVarValue(QStringLiteral("KESTRUN_TEST_VARIABLE")), QString());
    }
    const ScopedEnvironment variable("KESTRUN_TEST_VARIABLE", std::nullopt);
    EXPECT_EQ(GetEnvVarValue(QStringLiteral("KESTRUN_TEST_VARIABLE")), QString());
    EXPECT_EQ(GetEnvVarValue(QString()), QString());
}

TEST(SystemRoutines, LocalIpAddressIsAnIPv4AddressOtherThanLoopback)
{
    const QString address = GetLocalIpAddress();
    if (address.isEmpty())
        GTEST_SKIP() << "This host has no IPv4 address other than loopback.";
    const QHostAddress parsed(address);
    EXPECT_EQ(parsed.protocol(), QAbstractSocket::IPv4Protocol);
    EXPECT_FALSE(parsed.isLoopback());
    EXPECT_EQ(parsed.toString(), address);
}

TEST(SystemRoutines, NamesComeFromTheVariablesElseFromTheSystem)
{
    {
        const ScopedEnvironment computer("COMPUTERNAME", "PC-17");
        const ScopedEnvironment user("USERNAME", "anna");
        const ScopedEnvironment os("OS", "Windows_NT");
        EXPECT_EQ(GetComputerName(), QStringLiteral("PC-17"));
        EXPECT_EQ(GetUserName(), QStringLiteral("anna"));
        EXPECT_EQ(GetOperatingSystemName(), QStringLiteral("Windows_NT"));
    }
    const ScopedEnvironment computer("COMPUTERNAME", std::nullopt);
    const ScopedEnvironment username("USERNAME", std::nullopt);
    const ScopedEnvironment os("OS", std::nullopt);
    EXPECT_EQ(GetComputerName(), QHostInfo::localHostName());
    EXPECT_EQ(GetOperatingSystemName(), QSysInfo::prettyProductName());
    {
        const ScopedEnvironment user("USER", "bernd");
        EXPECT_EQ(GetUserName(), QStringLiteral("bernd"));
    }
    const ScopedEnvironment user("USER", std::nullopt);
    const passwd* account = getpwuid(getuid());
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(GetUserName(), QString::fromLocal8Bit(account->pw_name));
}
