// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipEventMapper.h"
#include "BaresipTestSupport.h"
#include "LineCalls.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace baresip_test;

namespace {

// The mapping with a two-line model; recorded streams replayed into it.
class EventMapping : public ::testing::Test
{
protected:
    void Replay(const char* fixture)
    {
        for (const BaresipEvent& event : EventsOf(Fixture(fixture)))
            mapper.apply(event);
    }

    // The line right after the event of the given type was applied.
    QVariantMap LineAfter(const char* fixture, const QString& type, int lineIndex = 0)
    {
        QVariantMap line;
        for (const BaresipEvent& event : EventsOf(Fixture(fixture))) {
            mapper.apply(event);
            if (event.type == type)
                line = model.GetLine(lineIndex);
        }
        return line;
    }

    SoftphoneModel model {2};
    LineCalls calls {2};
    BaresipEventMapper mapper {model, calls, QStringLiteral("sip:kestrun@pbx.example.org")};
    NotificationLog log {model};
};

BaresipEvent Event(const QString& type, const QString& callId, const QString& direction = "incoming")
{
    BaresipEvent event;
    event.type = type;
    event.callId = callId;
    event.direction = direction;
    event.peerUri = "sip:0891234@192.0.2.7";
    return event;
}

} // namespace

TEST_F(EventMapping, IncomingCallRingsAnswersTakesDtmfAndEnds)
{
    Replay("incoming-call.ns");
    EXPECT_EQ(log.entries,
              (QStringList {"line 0: LSRinging", "line 0: LSActive", "line 0: call details changed",
                            "line 0: LSTerminated", "line 0: LSInactive"}));
    EXPECT_TRUE(calls.isFree(0));
}

TEST_F(EventMapping, RingingLineShowsTheCaller)
{
    const QVariantMap line = LineAfter("incoming-call.ns", "CALL_INCOMING");
    EXPECT_EQ(line["DispState"], int(SoftphoneModel::LSRinging));
    EXPECT_EQ(line["DispPeerName"], "Bernd Weber");
    EXPECT_EQ(line["DispPeerNumber"], "089123456");
    EXPECT_EQ(line["DispPeerNumberPublicFormat"], "+4989123456");
    EXPECT_EQ(line["DispCalledExtension"], "kestrun");
    EXPECT_EQ(line["DispIsOutgoingCall"], 0);
    EXPECT_EQ(line["m_bIsInternalCall"], 0) << "the caller is not in the account's domain";
}

// A PBX presents outside callers under its own domain too: only an extension
// there is a colleague.
TEST_F(EventMapping, ExtensionInTheAccountsDomainIsInternal)
{
    const struct
    {
        const char* peer;
        int internal;
    } cases[] = {
        {"sip:620@pbx.example.org", 1},
        {"sip:0301234567@pbx.example.org", 0},
        {"sip:620@192.0.2.7", 0},
        {"sip:**610@pbx.example.org", 0},
    };
    for (const auto& [peer, internal] : cases) {
        SoftphoneModel ownModel(1);
        LineCalls ownCalls(1);
        BaresipEventMapper ownMapper(ownModel, ownCalls, QStringLiteral("<sip:kestrun@pbx.example.org>;regint=0"));
        BaresipEvent call = Event("CALL_INCOMING", "call-1");
        call.peerUri = QString::fromLatin1(peer);
        ownMapper.apply(call);
        EXPECT_EQ(ownModel.GetLine(0)["m_bIsInternalCall"], internal) << peer;
    }
}

TEST_F(EventMapping, ReceivedDtmfReachesTheLine)
{
    EXPECT_EQ(LineAfter("incoming-call.ns", "CALL_DTMF_END")["DispReceivedDtmfDigits"], "5");
}

TEST_F(EventMapping, OutgoingCallDialsAlertsAndConnects)
{
    Replay("outgoing-call.ns");
    EXPECT_EQ(log.entries,
              (QStringList {"line 0: LSDialing", "line 0: LSAlerting", "line 0: LSActive", "line 0: LSTerminated",
                            "line 0: LSInactive"}));
    const QVariantMap line = model.GetLine(0);
    EXPECT_EQ(line["DispLastCallPeersNumber"], "0301234567");
    EXPECT_EQ(line["DispLastCallIsOutgoingCall"], 1);
    EXPECT_EQ(line["DispLastCallWasConnected"], 1);
}

TEST_F(EventMapping, TransferChangesThePeer)
{
    const QVariantMap line = LineAfter("transfer.ns", "TRANSFER");
    EXPECT_EQ(line["DispPeerName"], "Carla Stein");
    EXPECT_EQ(line["DispPeerNumber"], "0409876");
    EXPECT_TRUE(log.entries.contains("line 0: call details changed"));
}

TEST_F(EventMapping, CallsFindTheirOwnLines)
{
    mapper.apply(Event("CALL_INCOMING", "a"));
    mapper.apply(Event("CALL_INCOMING", "b"));
    mapper.apply(Event("CALL_ESTABLISHED", "b"));
    mapper.apply(Event("CALL_CLOSED", "a"));
    EXPECT_EQ(model.lineState(0), SoftphoneModel::LSInactive);
    EXPECT_EQ(model.lineState(1), SoftphoneModel::LSActive);
    EXPECT_EQ(model.GetLine(0)["DispLastCallDiscReason"], int(SoftphoneModel::DiscNormal));
}

TEST_F(EventMapping, CallBeyondTheLastLineIsTurnedAway)
{
    QSignalSpy surplus(&mapper, &BaresipEventMapper::surplusCall);
    for (const char* id : {"a", "b", "c"})
        mapper.apply(Event("CALL_INCOMING", id));
    ASSERT_EQ(surplus.size(), 1);
    EXPECT_EQ(surplus[0][0], "c");
    mapper.apply(Event("CALL_CLOSED", "c"));
    EXPECT_EQ(model.lineState(0), SoftphoneModel::LSRinging) << "the turned-away call touches no line";
    EXPECT_EQ(model.lineState(1), SoftphoneModel::LSRinging);
}

TEST_F(EventMapping, BusyFarEndShowsBusyBeforeTheEnd)
{
    mapper.apply(Event("CALL_RINGING", "out", "outgoing"));
    BaresipEvent closed = Event("CALL_CLOSED", "out", "outgoing");
    closed.param = "486 Busy Here";
    mapper.apply(closed);
    EXPECT_EQ(log.entries,
              (QStringList {"line 0: LSDialing", "line 0: LSAlerting", "line 0: LSBusy", "line 0: LSTerminated",
                            "line 0: LSInactive"}));
    EXPECT_EQ(model.GetLine(0)["DispLastCallDiscReason"], int(SoftphoneModel::DiscBusy));
}

// The far end refuses before it ever rang: the call still shows on a line, dialing and then busy or ended.
TEST_F(EventMapping, OutgoingCallRefusedAtOnceShowsOnALine)
{
    const struct
    {
        const char* reason;
        QStringList entries;
        int discReason;
    } cases[] = {
        {"486 Busy Here",
         {"line 0: LSDialing", "line 0: LSBusy", "line 0: LSTerminated", "line 0: LSInactive"},
         SoftphoneModel::DiscBusy},
        {"404 Not Found",
         {"line 0: LSDialing", "line 0: LSTerminated", "line 0: LSInactive"},
         SoftphoneModel::DiscNormal},
    };
    for (const auto& c : cases) {
        log.entries.clear();
        BaresipEvent closed = Event("CALL_CLOSED", c.reason, "outgoing");
        closed.peerUri = "sip:0301234567@192.0.2.7";
        closed.param = c.reason;
        mapper.apply(closed);
        EXPECT_EQ(log.entries, c.entries) << c.reason;
        const QVariantMap line = model.GetLine(0);
        EXPECT_EQ(line["DispLastCallPeersNumber"], "0301234567") << c.reason;
        EXPECT_EQ(line["DispLastCallIsOutgoingCall"], 1) << c.reason;
        EXPECT_EQ(line["DispLastCallDiscReason"], c.discReason) << c.reason;
        EXPECT_TRUE(calls.isFree(0));
    }
}

TEST_F(EventMapping, EventsThatDoNotFitChangeNothing)
{
    QSignalSpy ignored(&mapper, &BaresipEventMapper::eventIgnored);
    mapper.apply(Event("CALL_ESTABLISHED", "unknown")); // a call on no line
    mapper.apply(Event("CALL_LOCAL_SDP", "")); // no call at all
    mapper.apply(Event("CALL_INCOMING", "a"));
    mapper.apply(Event("CALL_DTMF_START", "a")); // DTMF on a ringing call: refused by the line
    mapper.apply(Event("SOMETHING_NEW", "a"));
    EXPECT_EQ(log.entries, QStringList {"line 0: LSRinging"});
    EXPECT_EQ(ignored.size(), 0) << "an empty DTMF digit is skipped quietly";
    BaresipEvent digit = Event("CALL_DTMF_START", "a");
    digit.param = "7";
    mapper.apply(digit);
    EXPECT_EQ(ignored.size(), 1);
    EXPECT_EQ(log.entries, QStringList {"line 0: LSRinging"});
}

TEST_F(EventMapping, LostBaresipLeavesEveryLineIdle)
{
    mapper.apply(Event("CALL_INCOMING", "a"));
    mapper.apply(Event("CALL_RINGING", "b", "outgoing"));
    mapper.dropAllCalls();
    EXPECT_EQ(model.lineState(0), SoftphoneModel::LSInactive);
    EXPECT_EQ(model.lineState(1), SoftphoneModel::LSInactive);
    EXPECT_TRUE(calls.isFree(0));
    EXPECT_TRUE(calls.isFree(1));
}
