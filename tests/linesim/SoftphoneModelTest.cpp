// SPDX-License-Identifier: GPL-3.0-or-later

#include "SoftphoneModel.h"
#include "LineSimError.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

using namespace Qt::StringLiterals;
using Event = std::pair<int, int>;
using M = SoftphoneModel;

M::IncomingCall caller(const QString& number, const QString& name = {}, const QString& extension = {},
                       const QString& calledName = {}, int internal = -1)
{
    return {number, name, extension, calledName, internal};
}

M::GroupCall group(const QString& number, const QString& name = {}, const QString& calledName = {},
                   const QString& calledExtension = {}, const QString& redirectedFromNumber = {},
                   const QString& redirectedFromName = {})
{
    return {number, name, calledName, calledExtension, redirectedFromNumber, redirectedFromName};
}

constexpr Event state(int lineState, int line)
{
    return {M::EventLineState, lineState << 8 | line};
}

class SoftphoneModelTest : public ::testing::Test
{
protected:
    SoftphoneModelTest()
    {
        model.setClock([this] { return clock; });
        QObject::connect(&model, &M::LineMgrNotification,
                         [this](int msg, int param) { events.emplace_back(msg, param); });
    }

    std::vector<Event> takeEvents() { return std::exchange(events, {}); }
    QVariant get(int line, const char* key) const { return model.GetLine(line).value(QLatin1String(key)); }

    M model;
    QDateTime clock {QDate(2024, 1, 1), QTime(6, 0)}; // day number 45292.25
    std::vector<Event> events;
};

TEST_F(SoftphoneModelTest, IncomingCallNotifiesEachStateWithLineInLowByte)
{
    model.incoming(2, caller(u"0301234567"_s, u"Anna Berg"_s));
    EXPECT_EQ(takeEvents(), (std::vector {state(M::LSRinging, 2)}));
    EXPECT_EQ(state(M::LSRinging, 2).second, 0x0302);

    model.answer(2);
    EXPECT_EQ(takeEvents(), (std::vector {state(M::LSActive, 2)}));
    model.hold(2);
    model.retrieve(2);
    EXPECT_EQ(takeEvents(), (std::vector {state(M::LSOnHold, 2), state(M::LSActive, 2)}));

    model.hangup(2);
    EXPECT_EQ(takeEvents(), (std::vector {state(M::LSTerminated, 2), state(M::LSInactive, 2)}));
    EXPECT_EQ(model.lineState(2), M::LSInactive);
}

TEST_F(SoftphoneModelTest, MakeCallDialsOnTheFirstIdleLineThroughTheOutgoingStates)
{
    model.incoming(0, caller(u"0301234567"_s));
    takeEvents();
    EXPECT_EQ(model.MakeCall(-1, u"+4930123456"_s), 1);
    EXPECT_EQ(takeEvents(), (std::vector {state(M::LSDialing, 1), state(M::LSAlerting, 1)}));
    const QVariantMap line = model.GetLine(1);
    EXPECT_EQ(line.value(u"DispAcknowledgedDialstring"_s), QVariant(u"+4930123456"_s));
    EXPECT_EQ(line.value(u"DispIsOutgoingCall"_s), QVariant(1));
    EXPECT_EQ(model.MakeCall(3, u"*21#"_s), 3);
    EXPECT_EQ(model.lineState(3), M::LSAlerting);
}

TEST_F(SoftphoneModelTest, OutgoingCallGoesThroughDialingAndAlerting)
{
    model.outgoing(1, u"0891234"_s, u"21"_s);
    EXPECT_EQ(takeEvents(), (std::vector {state(M::LSDialing, 1), state(M::LSAlerting, 1)}));
    model.remoteAnswer(1);
    model.HookOn(1);
    EXPECT_EQ(takeEvents(), (std::vector {state(M::LSActive, 1), state(M::LSTerminated, 1), state(M::LSInactive, 1)}));

    model.outgoing(1, u"0891234"_s, QString());
    takeEvents();
    model.remoteBusy(1);
    EXPECT_EQ(takeEvents(), (std::vector {state(M::LSBusy, 1)}));
}

TEST_F(SoftphoneModelTest, GetLineDescribesAnIncomingCall)
{
    model.incoming(0, caller(u"030 / 123 45-67"_s, u"Anna Berg"_s, u"21"_s, u"Sales"_s, 0));
    QVariantMap line = model.GetLine(0);
    EXPECT_EQ(line.value(u"DispState"_s), QVariant(int(M::LSRinging)));
    EXPECT_EQ(line.value(u"DispCallId"_s), QVariant(1));
    EXPECT_EQ(line.value(u"DispPeerNumber"_s), QVariant(u"030 / 123 45-67"_s)) << "caller numbers are kept as given";
    EXPECT_EQ(line.value(u"DispPeerNumberPublicFormat"_s), QVariant(u"+49301234567"_s));
    EXPECT_EQ(line.value(u"DispPeerName"_s), QVariant(u"Anna Berg"_s));
    EXPECT_EQ(line.value(u"DispCalledExtension"_s), QVariant(u"21"_s));
    EXPECT_EQ(line.value(u"DispCalledName"_s), QVariant(u"Sales"_s));
    EXPECT_EQ(line.value(u"m_bIsInternalCall"_s), QVariant(0));
    EXPECT_EQ(line.value(u"DispIsOutgoingCall"_s), QVariant(0));
    EXPECT_EQ(line.value(u"DispIsGroupCall"_s), QVariant(0));
    EXPECT_EQ(line.value(u"DispConnectionStartTime"_s), QVariant(0.0)) << "not connected yet";

    clock = clock.addSecs(3600);
    model.answer(0);
    EXPECT_DOUBLE_EQ(get(0, "DispConnectionStartTime").toDouble(), 45292.25 + 1.0 / 24);
}

TEST_F(SoftphoneModelTest, GetLineDescribesAnOutgoingCall)
{
    model.outgoing(3, u"0891234"_s, u"22"_s);
    const QVariantMap line = model.GetLine(3);
    EXPECT_EQ(line.value(u"DispState"_s), QVariant(int(M::LSAlerting)));
    EXPECT_EQ(line.value(u"DispAcknowledgedDialstring"_s), QVariant(u"0891234"_s));
    EXPECT_EQ(line.value(u"DispIsOutgoingCall"_s), QVariant(1));
    EXPECT_EQ(line.value(u"DispGetOutgoingExtension"_s), QVariant(u"22"_s));
    EXPECT_EQ(line.value(u"DispPeerNumberPublicFormat"_s), QVariant(u"+49891234"_s));
    EXPECT_EQ(line.value(u"m_bIsInternalCall"_s), QVariant(0));

    model.outgoing(2, u"217"_s, QString());
    EXPECT_EQ(get(2, "m_bIsInternalCall"), QVariant(1)) << "an extension is an internal call";
}

TEST_F(SoftphoneModelTest, GetLineHasEveryPropertyWithItsTypeAndNoCallValues)
{
    const QStringList strings {"DispPeerNumber",
                               "DispPeerName",
                               "DispCalledExtension",
                               "DispCalledName",
                               "DispAcknowledgedDialstring",
                               "DispRedirectedFromNumber",
                               "DispRedirectedFromName",
                               "DispChargingDetails",
                               "DispLastCallLcrPrefix",
                               "DispLastCallExtension",
                               "DispLastCallChargingDetails",
                               "DispLastCallPeersPbxUserName",
                               "DispLastCallPeersNumber",
                               "DispGetOutgoingExtension",
                               "DispReceivedDtmfDigits",
                               "DispPeerNumberPublicFormat",
                               "DispLastCallCalledExtension",
                               "DispLastCallCalledName"};
    const QStringList numbers {"DispState",
                               "DispCallId",
                               "DispNuberOfConferenceParticipants",
                               "DispDiscReason",
                               "DispLastCallDiscReason",
                               "DispLastCallId",
                               "DispLastCallIsOutgoingCall",
                               "DispLastCallWasConnected"};
    const QStringList flags {"DispIsDirectCall", "DispCallWasRedirected", "DispIsGroupCall", "DispIsOutgoingCall",
                             "m_bIsInternalCall"};
    const QStringList times {"DispConnectionStartTime", "DispConnectionFinishedTime", "DispLastCallStartTime",
                             "DispLastCallFinishedTime"};

    const QVariantMap line = model.GetLine(0);
    EXPECT_EQ(line.size(), strings.size() + numbers.size() + flags.size() + times.size() + 1)
        << "the properties named by the line manager's interface and the simulator's sent DTMF";
    const auto check = [&](const QStringList& keys, QMetaType type, const QVariant& noCall) {
        for (const QString& key : keys) {
            ASSERT_TRUE(line.contains(key)) << key.toStdString();
            EXPECT_EQ(line.value(key).metaType(), type) << key.toStdString();
            EXPECT_EQ(line.value(key), noCall) << key.toStdString();
        }
    };
    check(strings, QMetaType::fromType<QString>(), QString());
    check(numbers, QMetaType::fromType<int>(), 0);
    check(flags, QMetaType::fromType<int>(), -1);
    check(times, QMetaType::fromType<double>(), 0.0);
}

TEST_F(SoftphoneModelTest, HangupMovesTheCallIntoTheLastCallFields)
{
    model.incoming(1, caller(u"0301234567"_s, u"Anna Berg"_s, u"21"_s, u"Sales"_s, 1));
    model.answer(1);
    const double connected = M::dayNumber(clock);
    clock = clock.addSecs(90);

    QVariantMap whileTerminated;
    QObject::connect(&model, &M::LineMgrNotification, [&](int msg, int param) {
        if (msg == M::EventLineState && param >> 8 == M::LSTerminated)
            whileTerminated = model.GetLine(param & 0xFF);
    });
    model.hangup(1);

    EXPECT_EQ(whileTerminated.value(u"DispCallId"_s), QVariant(1));
    EXPECT_DOUBLE_EQ(whileTerminated.value(u"DispConnectionFinishedTime"_s).toDouble(), M::dayNumber(clock));
    EXPECT_EQ(whileTerminated.value(u"DispDiscReason"_s), QVariant(int(M::DiscNormal)));

    const QVariantMap line = model.GetLine(1);
    EXPECT_EQ(line.value(u"DispLastCallId"_s), QVariant(1));
    EXPECT_EQ(line.value(u"DispLastCallPeersNumber"_s), QVariant(u"0301234567"_s));
    EXPECT_EQ(line.value(u"DispLastCallPeersPbxUserName"_s), QVariant(u"Anna Berg"_s));
    EXPECT_EQ(line.value(u"DispLastCallExtension"_s), QVariant(u"21"_s));
    EXPECT_EQ(line.value(u"DispLastCallCalledExtension"_s), QVariant(u"21"_s));
    EXPECT_EQ(line.value(u"DispLastCallCalledName"_s), QVariant(u"Sales"_s));
    EXPECT_EQ(line.value(u"DispLastCallWasConnected"_s), QVariant(1));
    EXPECT_EQ(line.value(u"DispLastCallIsOutgoingCall"_s), QVariant(0));
    EXPECT_EQ(line.value(u"DispLastCallDiscReason"_s), QVariant(int(M::DiscNormal)));
    EXPECT_DOUBLE_EQ(line.value(u"DispLastCallStartTime"_s).toDouble(), connected);
    EXPECT_DOUBLE_EQ(line.value(u"DispLastCallFinishedTime"_s).toDouble(), M::dayNumber(clock));
    // The current call's fields are back to "no call".
    EXPECT_EQ(line.value(u"DispCallId"_s), QVariant(0));
    EXPECT_EQ(line.value(u"DispPeerNumber"_s), QVariant(QString()));
    EXPECT_EQ(line.value(u"m_bIsInternalCall"_s), QVariant(-1));
    EXPECT_EQ(line.value(u"DispConnectionStartTime"_s), QVariant(0.0));

    model.incoming(1, caller(u"217"_s));
    EXPECT_EQ(get(1, "DispCallId"), QVariant(2)) << "call ids keep increasing";
    EXPECT_EQ(get(1, "DispLastCallId"), QVariant(1)) << "the last call stays until the next one ends";
}

TEST_F(SoftphoneModelTest, UnconnectedCallsLeaveTheirReasonInTheLastCall)
{
    struct Case
    {
        const char* what;
        std::function<void()> end;
        int outgoing;
        int reason;
    };
    const std::vector<Case> cases {
        {"busy",
         [&] {
             model.outgoing(0, u"0891234"_s, u"22"_s);
             model.remoteBusy(0);
             model.HookOn(0);
         },
         1, M::DiscBusy},
        {"rejected",
         [&] {
             model.incoming(0, caller(u"0891234"_s));
             model.HookOn(0);
         },
         0, M::DiscRejected},
        {"caller gave up",
         [&] {
             model.incoming(0, caller(u"0891234"_s));
             model.hangup(0);
         },
         0, M::DiscNormal},
    };
    for (const Case& c : cases) {
        c.end();
        EXPECT_EQ(get(0, "DispLastCallWasConnected"), QVariant(0)) << c.what;
        EXPECT_EQ(get(0, "DispLastCallIsOutgoingCall"), QVariant(c.outgoing)) << c.what;
        EXPECT_EQ(get(0, "DispLastCallDiscReason"), QVariant(c.reason)) << c.what;
        EXPECT_EQ(get(0, "DispLastCallStartTime"), QVariant(0.0)) << c.what;
    }
    EXPECT_EQ(get(0, "DispLastCallExtension"), QVariant(QString()));
}

TEST_F(SoftphoneModelTest, TransferChangesThePeerAndNotifiesTheLine)
{
    model.incoming(3, caller(u"0301234567"_s, u"Anna Berg"_s));
    model.answer(3);
    takeEvents();
    model.transfer(3, u"089 555"_s, u"Bernd Weber"_s);
    EXPECT_EQ(takeEvents(), (std::vector {Event {M::EventLineDetails, 3}}));
    EXPECT_EQ(get(3, "DispPeerNumber"), QVariant(u"089 555"_s));
    EXPECT_EQ(get(3, "DispPeerName"), QVariant(u"Bernd Weber"_s));
    EXPECT_EQ(get(3, "DispPeerNumberPublicFormat"), QVariant(u"+4989555"_s));
    EXPECT_EQ(get(3, "DispCallId"), QVariant(1)) << "still the same call";
    EXPECT_EQ(get(3, "DispState"), QVariant(int(M::LSActive)));
}

TEST_F(SoftphoneModelTest, GroupCallIsSignalledAndPickedUpOnTheFirstIdleLine)
{
    const QVariantMap empty = model.GetNotificationCall();
    EXPECT_EQ(empty.size(), 6);
    for (auto it = empty.cbegin(); it != empty.cend(); ++it)
        EXPECT_EQ(it.value(), QVariant(QString())) << it.key().toStdString();

    model.incoming(0, caller(u"217"_s));
    takeEvents();
    model.groupCall(group(u"0301234567"_s, u"Anna Berg"_s, u"Support"_s, u"30"_s, u"0401111"_s, u"Hotline"_s));
    EXPECT_EQ(takeEvents(), (std::vector {Event {M::EventGroupCall, 1}}));
    const QVariantMap signalled = model.GetNotificationCall();
    EXPECT_EQ(signalled.value(u"DispNotificationCallPeerNumber"_s), QVariant(u"0301234567"_s));
    EXPECT_EQ(signalled.value(u"DispNotificationCallPeerName"_s), QVariant(u"Anna Berg"_s));
    EXPECT_EQ(signalled.value(u"DispNotificationCallCalledName"_s), QVariant(u"Support"_s));
    EXPECT_EQ(signalled.value(u"DispNotificationCallCalledExtension"_s), QVariant(u"30"_s));
    EXPECT_EQ(signalled.value(u"DispNotificationCallRedirectedFromNumber"_s), QVariant(u"0401111"_s));
    EXPECT_EQ(signalled.value(u"DispNotificationCallRedirectedFromName"_s), QVariant(u"Hotline"_s));

    model.PickupGroupNotificationCall(-1);
    EXPECT_EQ(takeEvents(), (std::vector {state(M::LSActive, 1), Event {M::EventGroupCall, 0}}))
        << "line 0 is busy, so line 1 takes the call";
    const QVariantMap line = model.GetLine(1);
    EXPECT_EQ(line.value(u"DispIsGroupCall"_s), QVariant(1));
    EXPECT_EQ(line.value(u"DispPeerNumber"_s), QVariant(u"0301234567"_s));
    EXPECT_EQ(line.value(u"DispCalledName"_s), QVariant(u"Support"_s));
    EXPECT_EQ(line.value(u"DispCallWasRedirected"_s), QVariant(1));
    EXPECT_EQ(line.value(u"DispRedirectedFromName"_s), QVariant(u"Hotline"_s));
    EXPECT_EQ(line.value(u"DispCallId"_s), QVariant(2));
    EXPECT_GT(line.value(u"DispConnectionStartTime"_s).toDouble(), 0.0);
    EXPECT_EQ(model.GetNotificationCall(), empty);

    model.groupCall(group(u"217"_s));
    model.groupCallEnd();
    EXPECT_EQ(takeEvents(), (std::vector {Event {M::EventGroupCall, 1}, Event {M::EventGroupCall, 0}}));
}

TEST_F(SoftphoneModelTest, DialRecordsValidDigitsOfTheCurrentCall)
{
    model.incoming(0, caller(u"0301234567"_s));
    model.answer(0);
    model.Dial(0, u"12*#"_s);
    model.Dial(0, u"abcd"_s);
    EXPECT_EQ(get(0, M::SentDtmfKey).toStringList(), (QStringList {"12*#", "ABCD"}));
    EXPECT_TRUE(takeEvents().size() == 2) << "sending DTMF changes no state";

    model.hangup(0);
    EXPECT_EQ(get(0, M::SentDtmfKey).toStringList().size(), 2) << "still readable after the call";
    model.incoming(0, caller(u"0301234567"_s));
    EXPECT_TRUE(get(0, M::SentDtmfKey).toStringList().isEmpty()) << "a new call starts a new list";
}

struct ErrorCase
{
    const char* what;
    std::function<void(M&)> prepare;
    std::function<void(M&)> operation;
    const char* dbusName;
    const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* out)
{
    *out << c.what;
}

class SoftphoneModelErrors : public ::testing::TestWithParam<ErrorCase>
{
};

TEST_P(SoftphoneModelErrors, RefusesWithoutSideEffects)
{
    const ErrorCase& c = GetParam();
    M model;
    c.prepare(model);
    QList<QVariantMap> before;
    for (int line = 0; line < model.lineCount(); ++line)
        before.append(model.GetLine(line));
    const QVariantMap groupBefore = model.GetNotificationCall();
    QSignalSpy notifications(&model, &M::LineMgrNotification);

    try {
        c.operation(model);
        FAIL() << c.what << ": no error";
    } catch (const SoftphoneError& e) {
        EXPECT_EQ(e.dbusErrorName(), QLatin1String(c.dbusName)) << c.what;
        EXPECT_EQ(e.message(), QLatin1String(c.message)) << c.what;
    }
    EXPECT_EQ(notifications.count(), 0) << c.what;
    for (int line = 0; line < model.lineCount(); ++line)
        EXPECT_EQ(model.GetLine(line), before.at(line)) << c.what << ", line " << line;
    EXPECT_EQ(model.GetNotificationCall(), groupBefore) << c.what;
}

const auto idle = [](M&) {};
const auto ringing = [](M& m) { m.incoming(0, caller(u"0301234567"_s)); };
const auto alerting = [](M& m) { m.outgoing(0, u"0301234567"_s, QString()); };
const auto allBusy = [](M& m) {
    for (int line = 0; line < m.lineCount(); ++line)
        m.incoming(line, caller(u"217"_s));
    m.groupCall(group(u"218"_s));
};
constexpr const char* NoSuchLine = "com.orvixit.Softphone.Error.NoSuchLine";
constexpr const char* NoCall = "com.orvixit.Softphone.Error.NoCall";
constexpr const char* InvalidState = "com.orvixit.Softphone.Error.InvalidState";
constexpr const char* InvalidArgument = "com.orvixit.Softphone.Error.InvalidArgument";

INSTANTIATE_TEST_SUITE_P(
    Table, SoftphoneModelErrors,
    ::testing::Values(
        ErrorCase {"line too high", idle, [](M& m) { m.answer(7); }, NoSuchLine, "line 7 does not exist (lines 0..3)"},
        ErrorCase {"negative line", idle, [](M& m) { m.GetLine(-1); }, NoSuchLine,
                   "line -1 does not exist (lines 0..3)"},
        ErrorCase {"incoming on missing line", idle, [](M& m) { m.incoming(4, caller(u"1"_s)); }, NoSuchLine,
                   "line 4 does not exist (lines 0..3)"},
        ErrorCase {"answer idle", idle, [](M& m) { m.HookOff(0); }, NoCall, "line 0 has no call"},
        ErrorCase {"hang up idle", idle, [](M& m) { m.HookOn(0); }, NoCall, "line 0 has no call"},
        ErrorCase {"remote hangup idle", idle, [](M& m) { m.hangup(1); }, NoCall, "line 1 has no call"},
        ErrorCase {"dial idle", idle, [](M& m) { m.Dial(0, u"1"_s); }, NoCall, "line 0 has no call"},
        ErrorCase {"dial ringing", ringing, [](M& m) { m.Dial(0, u"1"_s); }, InvalidState,
                   "line 0 is ringing, cannot dial"},
        ErrorCase {"second call on a line", ringing, [](M& m) { m.incoming(0, caller(u"1"_s)); }, InvalidState,
                   "line 0 is ringing, cannot take an incoming call"},
        ErrorCase {"outgoing on a busy line", ringing, [](M& m) { m.outgoing(0, u"1"_s, {}); }, InvalidState,
                   "line 0 is ringing, cannot dial out"},
        ErrorCase {"remote answer of an incoming call", ringing, [](M& m) { m.remoteAnswer(0); }, InvalidState,
                   "line 0 is ringing, cannot be answered"},
        ErrorCase {"answer own outgoing call", alerting, [](M& m) { m.answer(0); }, InvalidState,
                   "line 0 is alerting, cannot take the call"},
        ErrorCase {"hold before connected", alerting, [](M& m) { m.hold(0); }, InvalidState,
                   "line 0 is alerting, cannot put the call on hold"},
        ErrorCase {"retrieve a call not held", alerting, [](M& m) { m.retrieve(0); }, InvalidState,
                   "line 0 is alerting, cannot retrieve the call"},
        ErrorCase {"transfer idle", idle, [](M& m) { m.transfer(2, u"1"_s, {}); }, NoCall, "line 2 has no call"},
        ErrorCase {"transfer to nobody", ringing, [](M& m) { m.transfer(0, u" "_s, {}); }, InvalidArgument,
                   "a transfer needs the new number"},
        ErrorCase {"outgoing without number", idle, [](M& m) { m.outgoing(0, QString(), {}); }, InvalidArgument,
                   "an outgoing call needs a number"},
        ErrorCase {"incoming with bad flag", idle, [](M& m) { m.incoming(0, caller(u"1"_s, {}, {}, {}, 2)); },
                   InvalidArgument, "invalid internal flag 2 (1 internal, 0 external, -1 undetermined)"},
        ErrorCase {"bad DTMF digit",
                   [](M& m) {
                       ringing(m);
                       m.answer(0);
                   },
                   [](M& m) { m.Dial(0, u"12x"_s); }, InvalidArgument,
                   "invalid DTMF digit 'X' in '12x' (allowed: 0-9 * # A-D)"},
        ErrorCase {"no DTMF digits",
                   [](M& m) {
                       ringing(m);
                       m.answer(0);
                   },
                   [](M& m) { m.Dial(0, QString()); }, InvalidArgument, "no DTMF digits given"},
        ErrorCase {"unknown number style", idle, [](M& m) { m.ConvertNumber(7, u"1"_s); }, InvalidArgument,
                   "unknown number style 7 (0 as given, 1 national, 2 international)"},
        ErrorCase {"pickup without group call", idle, [](M& m) { m.PickupGroupNotificationCall(-1); }, NoCall,
                   "no group call is signalled"},
        ErrorCase {"end without group call", idle, [](M& m) { m.groupCallEnd(); }, NoCall,
                   "no group call is signalled"},
        ErrorCase {"second group call", allBusy, [](M& m) { m.groupCall(group(u"1"_s)); }, InvalidState,
                   "a group call is already signalled"},
        ErrorCase {"pickup with every line busy", allBusy, [](M& m) { m.PickupGroupNotificationCall(-1); },
                   InvalidState, "no idle line to pick the group call up on"},
        ErrorCase {"pickup on a busy line", allBusy, [](M& m) { m.PickupGroupNotificationCall(2); }, InvalidState,
                   "line 2 is ringing, cannot pick up the group call"},
        ErrorCase {"pickup on a missing line", allBusy, [](M& m) { m.PickupGroupNotificationCall(9); }, NoSuchLine,
                   "line 9 does not exist (lines 0..3)"},
        ErrorCase {"call with every line busy", allBusy, [](M& m) { m.MakeCall(-1, u"0301234"_s); }, InvalidState,
                   "no idle line to place a call on"},
        ErrorCase {"call on a busy line", ringing, [](M& m) { m.MakeCall(0, u"0301234"_s); }, InvalidState,
                   "line 0 is ringing, cannot dial out"},
        ErrorCase {"call to a text", idle, [](M& m) { m.MakeCall(-1, u"030 1234"_s); }, InvalidArgument,
                   "'030 1234' is no number to dial (digits, * and #, optionally after a leading +)"},
        ErrorCase {"call to nothing", idle, [](M& m) { m.MakeCall(-1, u"+"_s); }, InvalidArgument,
                   "'+' is no number to dial (digits, * and #, optionally after a leading +)"}));

TEST(SoftphoneModel, LineCountMustFitIntoTheEventParameter)
{
    EXPECT_EQ(M(1).lineCount(), 1);
    EXPECT_EQ(M(255).lineCount(), 255);
    EXPECT_THROW(M(0), SoftphoneError);
    EXPECT_THROW(M(256), SoftphoneError);
}

TEST(SoftphoneModel, DayNumbersCountFromTheEndOf1899)
{
    EXPECT_DOUBLE_EQ(M::dayNumber(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(M::dayNumber(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
    EXPECT_DOUBLE_EQ(M::dayNumber(QDateTime(QDate(2024, 1, 1), QTime(6, 0))), 45292.25);
    EXPECT_DOUBLE_EQ(M::dayNumber(QDateTime(QDate(2024, 3, 1), QTime(18, 0))), 45352.75) << "across a leap day";
}

TEST(SoftphoneModel, StateNamesAreTheLineManagersNames)
{
    EXPECT_EQ(M::stateName(M::LSRinging), u"LSRinging"_s);
    EXPECT_EQ(M::stateName(M::LSDirectCall), u"LSDirectCall"_s);
    EXPECT_EQ(M::stateName(M::LSConferenceOnHold), u"LSConferenceOnHold"_s);
}

} // namespace
