// SPDX-License-Identifier: GPL-3.0-or-later

#include "ParameterRun.h"
#include "model/DateTime.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterOrvix.h"

#include "ScopedLocale.h"
#include "TraceCapture.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace {

TDateTime DayNumber(int year, int month, int day, int hour, int minute, int second)
{
    return ToTDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second)));
}

// Every field a call value reads holds a value of its own, so that a name
// reading the wrong field shows.
std::shared_ptr<TOrvixLine> CallLine()
{
    auto line = std::make_shared<TOrvixLine>();
    line->SetCallId(4711);
    line->SetCallerName(QStringLiteral("Anna Meier"));
    line->SetCallerNumber(QStringLiteral("+49301234567"));
    line->SetCalledExtension(QStringLiteral("21"));
    line->SetRedirectedFromName(QStringLiteral("Zentrale"));
    line->SetRedirectedFromNumber(QStringLiteral("10"));
    line->SetOutgoingExtension(QStringLiteral("22"));
    line->SetCalledNumber(QStringLiteral("+49899876543"));
    line->SetIncomingExtension(QStringLiteral("23"));
    line->SetConnectionStartDateTime(DayNumber(2026, 12, 8, 14, 5, 9));
    line->SetConnectionFinishedDateTime(DayNumber(2026, 12, 9, 0, 0, 0));
    line->SetConnectionDurationTime((3 * 60 + 27) / 86400.0);
    line->SetConnectionStartTime(DayNumber(2020, 1, 1, 1, 1, 1));
    line->SetConnectionFinishedTime(DayNumber(2020, 1, 1, 2, 2, 2));
    line->SetNotificationCallerName(QStringLiteral("Bernd"));
    line->SetNotificationCallerNumber(QStringLiteral("+4940111"));
    line->SetNotificationCalledName(QStringLiteral("Vertrieb"));
    line->SetNotificationCalledExtension(QStringLiteral("30"));
    line->SetNotificationCallRedirectedFromName(QStringLiteral("Empfang"));
    line->SetNotificationCallRedirectedFromNumber(QStringLiteral("31"));
    return line;
}

class CallValue : public ::testing::Test
{
protected:
    CallValue() { m_parameter.SetOrvixLine(CallLine()); }

    QString Get(const QString& name) const { return m_parameter.GetOrvixParam(m_parameter.OrvixLine().get(), name); }

    ScopedLocale m_locale {ScopedLocale::German()};
    TParameterOrvix m_parameter;
};

} // namespace

TEST_F(CallValue, EachNameReadsItsField)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("orvixCallID"), QStringLiteral("4711")},
        {QStringLiteral("orvixCallerName"), QStringLiteral("Anna Meier")},
        {QStringLiteral("orvixCallerNumber"), QStringLiteral("+49301234567")},
        {QStringLiteral("orvixCalledExtension"), QStringLiteral("21")},
        {QStringLiteral("orvixRedirectedFromName"), QStringLiteral("Zentrale")},
        {QStringLiteral("orvixRedirectedFromNumber"), QStringLiteral("10")},
        {QStringLiteral("orvixCallingExtension"), QStringLiteral("22")},
        {QStringLiteral("orvixCalledNumber"), QStringLiteral("+49899876543")},
        {QStringLiteral("orvixConnectionStartDateTime"), QStringLiteral("08.12.2026 14:05:09")},
        {QStringLiteral("orvixConnectionFinishedDateTime"), QStringLiteral("09.12.2026")},
        {QStringLiteral("orvixConnectionDurationTime"), QStringLiteral("00:03:27")},
        {QStringLiteral("orvixConnectionStartTime"), QStringLiteral("14:05:09")},
        {QStringLiteral("orvixConnectionFinishedTime"), QStringLiteral("00:00:00")},
        {QStringLiteral("orvixConnectionStartDate"), QStringLiteral("08.12.2026")},
        {QStringLiteral("orvixConnectionFinishedDate"), QStringLiteral("09.12.2026")},
        {QStringLiteral("orvixNotificationCallerName"), QStringLiteral("Bernd")},
        {QStringLiteral("orvixNotificationCallerNumber"), QStringLiteral("+4940111")},
        {QStringLiteral("orvixNotificationCalledName"), QStringLiteral("Vertrieb")},
        {QStringLiteral("orvixNotificationCalledExtension"), QStringLiteral("30")},
        {QStringLiteral("orvixNotificationCallRedirectedFromName"), QStringLiteral("Empfang")},
        {QStringLiteral("orvixNotificationCallRedirectedFromNumber"), QStringLiteral("31")},
    };
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(Get(name), expected);
        EXPECT_EQ(Get(name.toUpper()), expected);
        EXPECT_EQ(Get(name.toLower()), expected);
    }
}

TEST_F(CallValue, UnknownNameIsEmpty)
{
    for (const QString& name : {QString(), QStringLiteral("orvixCaller"), QStringLiteral("orvixCallerNumber "),
                                QStringLiteral("CallerNumber"), QStringLiteral("orvixIncomingExtension")}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(Get(name), QString());
    }
}

TEST_F(CallValue, RendersInTheRegionalFormats)
{
    const ScopedLocale american(ScopedLocale::UnitedStates());
    EXPECT_EQ(Get(QStringLiteral("orvixConnectionStartDateTime")), QStringLiteral("12/8/2026 2:05:09 PM"));
    EXPECT_EQ(Get(QStringLiteral("orvixConnectionDurationTime")), QStringLiteral("12:03:27 AM"));
}

TEST_F(CallValue, LineWithoutCallDataGivesEmptyTextsAndTheZeroDate)
{
    m_parameter.SetOrvixLine(std::make_shared<TOrvixLine>());
    EXPECT_EQ(Get(QStringLiteral("orvixCallerNumber")), QString());
    EXPECT_EQ(Get(QStringLiteral("orvixConnectionStartDateTime")), QStringLiteral("30.12.1899"));
    EXPECT_EQ(Get(QStringLiteral("orvixConnectionStartTime")), QStringLiteral("00:00:00"));
    EXPECT_EQ(Get(QStringLiteral("orvixConnectionDurationTime")), QStringLiteral("00:00:00"));
}

TEST_F(CallValue, TracesNameAndResult)
{
    const TraceCapture trace;
    Get(QStringLiteral("ORVIXCALLERNAME"));
    EXPECT_EQ(trace.Titles(),
              QStringList({QStringLiteral("BaseParameter::GetOrvixParam:OrvixParamValue"),
                           QStringLiteral("BaseParameter::GetOrvixParam:Result")}));
    EXPECT_EQ(trace.LastValue(QStringLiteral("BaseParameter::GetOrvixParam:OrvixParamValue")),
              QStringLiteral("ORVIXCALLERNAME"));
    EXPECT_EQ(trace.LastValue(QStringLiteral("BaseParameter::GetOrvixParam:Result")), QStringLiteral("Anna Meier"));
}

TEST_F(CallValue, FailureIsTracedAndGivesEmpty)
{
    TraceCapture trace;
    m_parameter.OrvixLine()->SetConnectionStartDateTime(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(Get(QStringLiteral("orvixConnectionStartDate")), QString());
    EXPECT_TRUE(trace.Has(QStringLiteral("BaseParameter::GetOrvixParam")));
    EXPECT_TRUE(trace.Has(QStringLiteral("BaseParameter::GetOrvixParam:Result")));

    trace.Clear();
    m_parameter.SetOrvixLine(nullptr);
    EXPECT_EQ(Get(QStringLiteral("orvixCallerName")), QString());
    EXPECT_TRUE(trace.Has(QStringLiteral("BaseParameter::GetOrvixParam")));
}

TEST(ParameterOrvix, ResultIsTheNamedCallValue)
{
    TParameterOrvix parameter;
    auto line = std::make_shared<TOrvixLine>();
    line->SetCallerNumber(QStringLiteral("+49301234567"));
    parameter.SetOrvixLine(line);
    const TraceCapture trace;

    const Resolution resolution = Resolve(parameter);
    EXPECT_EQ(resolution.result, QStringLiteral("+49301234567"));
    EXPECT_FALSE(resolution.cancelled);
    EXPECT_EQ(trace.LastValue(QStringLiteral("ParameterOrvix:GetParamResult:Result")), QStringLiteral("+49301234567"));
    EXPECT_EQ(parameter.GetDescription(), QStringLiteral("Orvix: orvixCallerNumber"));

    parameter.SetParameterValue(QStringLiteral("orvixCallingExtension"));
    EXPECT_EQ(parameter.Description(), QStringLiteral("Orvix: orvixCallingExtension"));
}
