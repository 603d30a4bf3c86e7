// SPDX-License-Identifier: GPL-3.0-or-later

#include "ParameterRun.h"
#include "parameters/ParameterSystem.h"
#include "platform/SystemRoutines.h"

#include "ScopedEnvironment.h"
#include "ScopedLocale.h"
#include "TraceCapture.h"

#include <QHostInfo>

#include <gtest/gtest.h>

namespace {

class ParameterSystem : public ::testing::Test
{
protected:
    ParameterSystem()
    {
        m_parameter.SetClock([] { return QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)); });
        // Each type must read its own pattern.
        m_parameter.SetTimeFormat(QStringLiteral("hh:nn:ss"));
        m_parameter.SetDateFormat(QStringLiteral("dd/mm/yy"));
        m_parameter.SetDateTimeFormat(QStringLiteral("yyyy-mm-dd hh:nn"));
        m_parameter.SetEnvironmentalVariable(QStringLiteral("KESTRUN_TEST_VARIABLE"));
    }

    ScopedLocale m_locale {ScopedLocale::German()};
    ScopedEnvironment m_variable {"KESTRUN_TEST_VARIABLE", "Wert"};
    ScopedEnvironment m_computer {"COMPUTERNAME", "PC-17"};
    ScopedEnvironment m_user {"USERNAME", "anna"};
    ScopedEnvironment m_os {"OS", "Windows_NT"};
    TParameterSystem m_parameter;
};

} // namespace

TEST_F(ParameterSystem, EachTypeGivesItsValueDescriptionAndTraces)
{
    struct Case
    {
        SystemParameter type;
        QString result;
        QString description;
        QString stepTitle;
        QString stepValue;
    };
    const QString ip = GetLocalIpAddress();
    const Case cases[] = {
        {spTime, QStringLiteral("14:05:09"), QStringLiteral("Zeit: 14:05:09"),
         QStringLiteral("ParameterSystem:GetParamResult:Get time with format"), QStringLiteral("hh:nn:ss")},
        {spDate, QStringLiteral("08.12.26"), QStringLiteral("Datum: 08.12.26"),
         QStringLiteral("ParameterSystem:GetParamResult:Get date with format"), QStringLiteral("dd/mm/yy")},
        {spDateTime, QStringLiteral("2026-12-08 14:05"), QStringLiteral("Datum / Zeit: 2026-12-08 14:05"),
         QStringLiteral("ParameterSystem:GetParamResult:Get date/time with format"),
         QStringLiteral("yyyy-mm-dd hh:nn")},
        {spEnvironmentVariable, QStringLiteral("Wert"), QStringLiteral("KESTRUN_TEST_VARIABLE: Wert"),
         QStringLiteral("ParameterSystem:GetParamResult:Get evironment variable"),
         QStringLiteral("KESTRUN_TEST_VARIABLE")},
        {spIPAddress, ip, QStringLiteral("IP-Addresse: ") + ip,
         QStringLiteral("ParameterSystem:GetParamResult:Get local IP-Address"), QString()},
        {spComputername, QStringLiteral("PC-17"), QStringLiteral("Computer: PC-17"),
         QStringLiteral("ParameterSystem:GetParamResult:Get computername"), QString()},
        {spUsername, QStringLiteral("anna"), QStringLiteral("Benutzer: anna"),
         QStringLiteral("ParameterSystem:GetParamResult:Get username"), QString()},
        {spOS, QStringLiteral("Windows_NT"), QStringLiteral("OS:  Windows_NT"),
         QStringLiteral("ParameterSystem:GetParamResult:Get OS"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stepTitle.toStdString());
        m_parameter.SetParamType(c.type);
        TraceCapture trace;
        const Resolution resolution = Resolve(m_parameter);
        EXPECT_EQ(resolution.result, c.result);
        EXPECT_FALSE(resolution.cancelled);
        EXPECT_EQ(trace.Titles(), QStringList({c.stepTitle, QStringLiteral("ParameterSystem:GetParamResult:Result")}));
        EXPECT_EQ(trace.LastValue(c.stepTitle), c.stepValue);
        EXPECT_EQ(trace.LastValue(QStringLiteral("ParameterSystem:GetParamResult:Result")), c.result);
        EXPECT_EQ(m_parameter.GetDescription(), c.description);
    }
}

TEST_F(ParameterSystem, EmptyPatternGivesShortDateAndLongTime)
{
    for (const SystemParameter type : {spTime, spDate, spDateTime}) {
        SCOPED_TRACE(int(type));
        m_parameter.SetParamType(type);
        m_parameter.SetTimeFormat({});
        m_parameter.SetDateFormat({});
        m_parameter.SetDateTimeFormat({});
        EXPECT_EQ(Resolve(m_parameter).result, QStringLiteral("08.12.2026 14:05:09"));
    }
}

TEST_F(ParameterSystem, ReadsTheClockEachTime)
{
    int calls = 0;
    m_parameter.SetClock([&calls] { return QDateTime(QDate(2026, 12, 8), QTime(14, 5, ++calls)); });
    EXPECT_EQ(Resolve(m_parameter).result, QStringLiteral("14:05:01"));
    EXPECT_EQ(Resolve(m_parameter).result, QStringLiteral("14:05:02"));
}

TEST_F(ParameterSystem, UnsetVariableGivesEmptyAndItsNameInTheDescription)
{
    const ScopedEnvironment unset("KESTRUN_TEST_VARIABLE", std::nullopt);
    m_parameter.SetParamType(spEnvironmentVariable);
    EXPECT_EQ(Resolve(m_parameter).result, QString());
    EXPECT_EQ(m_parameter.GetDescription(), QStringLiteral("KESTRUN_TEST_VARIABLE: "));
}

TEST_F(ParameterSystem, ComputerNameFallsBackToTheHostName)
{
    const ScopedEnvironment unset("COMPUTERNAME", std::nullopt);
    m_parameter.SetParamType(spComputername);
    EXPECT_EQ(Resolve(m_parameter).result, QHostInfo::localHostName());
}

TEST_F(ParameterSystem, UnknownTypeGivesEmpty)
{
    m_parameter.SetParamType(static_cast<SystemParameter>(8));
    TraceCapture trace;
    EXPECT_EQ(Resolve(m_parameter).result, QString());
    EXPECT_EQ(trace.Titles(), QStringList({QStringLiteral("ParameterSystem:GetParamResult:Result")}));
    EXPECT_EQ(m_parameter.GetDescription(), QStringLiteral("System-Parameter"));
}
