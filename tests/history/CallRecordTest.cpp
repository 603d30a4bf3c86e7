// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeLineManager.h"

#include "history/CallRecord.h"
#include "model/DateTime.h"
#include "telephony/OrvixEvent.h"

#include <gtest/gtest.h>

namespace {

// Calls on a fake softphone, recorded as the program records them at their end.
class CallRecordTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Stands in for the rules: each state that reaches them fires one rule named after it.
        controller.SetRuleRunner(
            [](TOrvixLine& line, const QString& state) { line.NoteRuleFired(QStringLiteral("Regel ") + state); });
        controller.SetCallEndObserver([this](const TOrvixLine& line) {
            if (auto record = TCallRecord::FromLine(line, ended))
                records.push_back(*record);
        });
    }

    void State(int line, int state)
    {
        softphone.ChangeState(line, state);
        FakeLineManager::Deliver();
    }

    void States(int line, std::initializer_list<int> states)
    {
        for (int state : states)
            State(line, state);
    }

    const QDateTime answered {QDate(2026, 12, 11), QTime(9, 0, 0)};
    const QDateTime ended {QDate(2026, 12, 11), QTime(9, 2, 5)};
    FakeLineManager softphone;
    TOrvixEventController controller {&softphone};
    std::vector<TCallRecord> records;
};

} // namespace

TEST_F(CallRecordTest, RingingThenHungUpIsAMissedCall)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    States(0, {LSRinging, LSInactive});

    ASSERT_EQ(records.size(), 1u);
    const TCallRecord& call = records.front();
    EXPECT_TRUE(call.missed);
    EXPECT_EQ(call.direction, TCallDirection::Incoming);
    EXPECT_EQ(call.internal, 0);
    EXPECT_EQ(call.lineIndex, 0);
    EXPECT_EQ(call.number, QStringLiteral("+49301234"));
    EXPECT_EQ(call.callerName, QStringLiteral("Anna Berg"));
    EXPECT_FALSE(call.answered.isValid());
    EXPECT_EQ(call.durationSeconds, 0);
    EXPECT_EQ(call.firedRules, QStringList {QStringLiteral("Regel LSRinging")});
    EXPECT_TRUE(call.started.isValid());
    EXPECT_EQ(call.ended, ended);
}

TEST_F(CallRecordTest, AnsweredCallKeepsItsConnectionPeriod)
{
    softphone.lines[1] = IncomingCall(6, QStringLiteral("(030) 1234/5"), QStringLiteral("Bert"));
    State(1, LSRinging);
    softphone.lines[1][QStringLiteral("DispConnectionStartTime")] = ToTDateTime(answered);
    State(1, LSActive);
    softphone.lines[1][QStringLiteral("DispConnectionFinishedTime")] = ToTDateTime(answered.addSecs(95));
    States(1, {LSTerminated, LSInactive});

    ASSERT_EQ(records.size(), 1u);
    const TCallRecord& call = records.front();
    EXPECT_FALSE(call.missed);
    EXPECT_EQ(call.answered, answered);
    EXPECT_EQ(call.durationSeconds, 95);
    EXPECT_EQ(call.number, QStringLiteral("(030) 1234/5")) << "the fake converts only plain numbers";
    EXPECT_EQ(call.convertedNumber, QStringLiteral("03012345"));
    EXPECT_EQ(call.firedRules,
              (QStringList {QStringLiteral("Regel LSRinging"), QStringLiteral("Regel LSActive"),
                            QStringLiteral("Regel LSTerminated")}));
}

TEST_F(CallRecordTest, OutgoingCallIsRecordedWithTheDialledNumber)
{
    softphone.lines[2] = {
        {QStringLiteral("DispCallId"), 7},
        {QStringLiteral("DispPeerNumber"), QStringLiteral("0409876")},
        {QStringLiteral("DispAcknowledgedDialstring"), QStringLiteral("0409876")},
        {QStringLiteral("DispIsOutgoingCall"), 1},
        {QStringLiteral("m_bIsInternalCall"), 0},
    };
    States(2, {LSDialing, LSAlerting, LSBusy, LSTerminated, LSInactive});

    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records.front().direction, TCallDirection::Outgoing);
    EXPECT_FALSE(records.front().missed) << "an unanswered outgoing call is no missed call";
    EXPECT_EQ(records.front().number, QStringLiteral("0409876"));
}

TEST_F(CallRecordTest, TransferredCallIsRecordedWithItsNewPeer)
{
    softphone.lines[0] = IncomingCall(8, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    States(0, {LSRinging, LSActive});
    softphone.lines[0][QStringLiteral("DispPeerNumber")] = QStringLiteral("0305555");
    softphone.lines[0][QStringLiteral("DispPeerName")] = QStringLiteral("Carla Diehl");
    softphone.Notify(CLMgrLineDetailsChangedMessage, 0);
    FakeLineManager::Deliver();
    States(0, {LSTerminated, LSInactive});

    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(records.front().transferred);
    EXPECT_EQ(records.front().callerName, QStringLiteral("Carla Diehl"));
    EXPECT_EQ(records.front().number, QStringLiteral("+49305555"));
}

TEST_F(CallRecordTest, EachCallIsRecordedOnceAndALineWithoutCallNever)
{
    State(3, LSInactive);
    softphone.lines[0] = IncomingCall(9, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    State(0, LSRinging);
    // The softphone goes away while it rings: the call ends without its last states.
    softphone.available = false;
    emit softphone.AvailabilityChanged(false);
    States(0, {LSInactive});
    EXPECT_EQ(records.size(), 1u);
}
