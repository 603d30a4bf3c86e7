// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeLineManager.h"
#include "TraceCapture.h"

#include "telephony/ClientLineMgr.h"
#include "telephony/OrvixEvent.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A controller on a fake softphone that records which states its rules were offered.
class EventControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        controller.SetRuleRunner([this](TOrvixLine& line, const QString& state) {
            offered.append(state);
            if (onRun)
                onRun(line, state);
        });
    }

    void Send(int eventMsg, int eventParam)
    {
        softphone.Notify(eventMsg, eventParam);
        FakeLineManager::Deliver();
    }

    void State(int line, int state)
    {
        softphone.ChangeState(line, state);
        FakeLineManager::Deliver();
    }

    TraceCapture trace;
    FakeLineManager softphone;
    TOrvixEventController controller {&softphone};
    QStringList offered;
    std::function<void(TOrvixLine&, const QString&)> onRun;
};

} // namespace

TEST_F(EventControllerTest, DecodesEveryEventCode)
{
    softphone.lines[3] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    struct Case
    {
        int eventMsg;
        int eventParam;
        QString trace; // empty: the event leaves no trace at all
    };
    const Case cases[] = {
        {0, 0x0303, {}},
        {1, 0x0303, {}},
        {2, 0x0003,
         QStringLiteral("OrvixEvent::ClientLineMgrNotification:EventMsg: CLMgrLineDetailsChangedMessage "
                        "EventParam: 3 LineIndex: 3")},
        {8, 0,
         QStringLiteral("OrvixEvent::ClientLineMgrNotification:EventMsg: CLMgrGroupCallNotificationMessage "
                        "EventParam: 0")},
        {28, 0x0303,
         QStringLiteral("OrvixEvent::ClientLineMgrNotification:EventMsg: CLMgrLineStateChangedMessageEx "
                        "EventParam: 771 LineIndex: 3 LineState: LSRinging")},
        {28, (200 << 8) | 3,
         QStringLiteral("OrvixEvent::ClientLineMgrNotification:EventMsg: "
                        "CLMgrLineStateChangedMessageEx EventParam: 51203 LineIndex: 3 LineState: ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.eventMsg);
        trace.Clear();
        Send(c.eventMsg, c.eventParam);
        if (c.trace.isEmpty())
            EXPECT_TRUE(trace.Titles().isEmpty()) << trace.Titles().join(u'\n').toStdString();
        else
            EXPECT_TRUE(trace.Has(c.trace)) << trace.Titles().join(u'\n').toStdString();
    }
    const auto line = controller.RegisteredLine(3);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->LineState(), QString()) << "a code without a name records the empty name";
    EXPECT_EQ(line->LineStateHistory(), (QStringList {QStringLiteral("LSRinging"), QString()}));
    EXPECT_EQ(offered, QStringList {QStringLiteral("LSRinging")});
    EXPECT_FALSE(trace.Has(QStringLiteral("OrvixEvent::ClientLineMgrNotification:Notification call")));
}

TEST_F(EventControllerTest, InactiveControllerOnlyTracesThatItIsInactive)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    controller.SetActive(false);
    for (int eventMsg : {0, 2, 8, 28})
        Send(eventMsg, 0x0300);
    EXPECT_EQ(trace.Titles(),
              QStringList(4, QStringLiteral("OrvixEvent::ClientLineMgrNotification:OrvixEventController inactive")));
    EXPECT_EQ(controller.RegisteredLine(0), nullptr);
    EXPECT_TRUE(offered.isEmpty());
}

TEST_F(EventControllerTest, CallRunsRulesOncePerStateAndClearsTheLine)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    State(0, LSRinging);
    State(0, LSRinging);
    const auto line = controller.RegisteredLine(0);
    State(0, LSActive);
    State(0, LSOnHold); // recorded, not queued
    State(0, LSActive);
    State(0, LSTerminated);
    EXPECT_TRUE(line->LineStateTerminated());
    State(0, LSInactive);

    EXPECT_EQ(offered,
              (QStringList {QStringLiteral("LSRinging"), QStringLiteral("LSActive"), QStringLiteral("LSTerminated")}))
        << "a state repeated back to back runs once; a hold in between is not queued, so does not separate them";
    EXPECT_EQ(line->LineStateHistory().size(), 7);
    EXPECT_EQ(line->ClientLineMgr(), nullptr);
    EXPECT_TRUE(trace.Has(QStringLiteral("OrvixLine::GetLineInfos:Clearing line")));
    EXPECT_EQ(line->CallerNumber(), QStringLiteral("+49301234")) << "stored in the canonical form";
    EXPECT_EQ(line->IsInternalCall(), 0);

    // The next call on the line gets a fresh line object.
    softphone.lines[0] = IncomingCall(6, QStringLiteral("0409876"), QStringLiteral("Bert"));
    State(0, LSRinging);
    const auto next = controller.RegisteredLine(0);
    EXPECT_NE(next, line);
    EXPECT_EQ(next->LineStateHistory(), QStringList {QStringLiteral("LSRinging")});
    EXPECT_EQ(next->CallId(), 6);
}

TEST_F(EventControllerTest, MissedCallIsTerminatedAndClearedInOneStep)
{
    softphone.lines[1] = IncomingCall(7, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    State(1, LSRinging);
    const auto line = controller.RegisteredLine(1);
    State(1, LSInactive);
    EXPECT_EQ(offered, QStringList {QStringLiteral("LSRinging")});
    EXPECT_TRUE(line->LineStateTerminated());
    EXPECT_EQ(line->ClientLineMgr(), nullptr);
    EXPECT_TRUE(trace.Has(QStringLiteral("OrvixLine::GetLineInfos:Call aborted, setting terminated flag")));
}

TEST_F(EventControllerTest, StateArrivingDuringARuleRunIsHandledAfterIt)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    onRun = [this](TOrvixLine&, const QString& state) {
        if (state != QLatin1StringView("LSRinging"))
            return;
        // A dialog of the rule: the call is answered while it is open.
        softphone.ChangeState(0, LSActive);
        QEventLoop dialog;
        QTimer::singleShot(0, &dialog, &QEventLoop::quit);
        dialog.exec();
        offered.append(QStringLiteral("dialog closed"));
    };
    State(0, LSRinging);
    EXPECT_TRUE(trace.Has(QStringLiteral("OrvixLine::GetLineInfos:Execution in process, skip execution")));
    EXPECT_EQ(offered,
              (QStringList {QStringLiteral("LSRinging"), QStringLiteral("dialog closed"), QStringLiteral("LSActive")}));
}

// A state that waits for a run to end is matched and run with the call data of
// its own moment, not with what the line holds by the time its turn comes.
TEST_F(EventControllerTest, StateThatWaitedRunsWithTheDataItArrivedWith)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    QStringList seen;
    onRun = [this, &seen](TOrvixLine& line, const QString& state) {
        seen.append(state + u' ' + line.CalledExtension());
        if (state != QLatin1StringView("LSRinging"))
            return;
        // While a window of the rule is open, the call is answered at extension 22,
        // then moved on to extension 23 and ended there.
        softphone.lines[0][QStringLiteral("DispCalledExtension")] = QStringLiteral("22");
        State(0, LSActive);
        softphone.lines[0][QStringLiteral("DispCalledExtension")] = QStringLiteral("23");
        State(0, LSTerminated);
    };
    State(0, LSRinging);
    EXPECT_EQ(seen, (QStringList {"LSRinging 21", "LSActive 22", "LSTerminated 23"}));
}

TEST_F(EventControllerTest, FailingRuleRunDoesNotBlockTheLineForEver)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    onRun = [](TOrvixLine&, const QString& state) {
        if (state == QLatin1StringView("LSRinging"))
            throw std::runtime_error("the action failed");
    };
    State(0, LSRinging);
    EXPECT_TRUE(trace.Has(QStringLiteral("OrvixLine::ExecuteRules")));
    const auto line = controller.RegisteredLine(0);
    EXPECT_FALSE(line->ExecutingRules());
    State(0, LSActive);
    EXPECT_EQ(offered, (QStringList {QStringLiteral("LSRinging"), QStringLiteral("LSActive")}));
}

TEST_F(EventControllerTest, LineManagerErrorIsTracedAndTheCallbackReturns)
{
    softphone.failGetLine = QStringLiteral("com.orvixit.Softphone.Error.NoSuchLine");
    State(2, LSRinging);
    EXPECT_TRUE(trace.Has(QStringLiteral("OrvixEvent::ClientLineMgrNotification")));
    EXPECT_TRUE(offered.isEmpty());
    EXPECT_EQ(controller.RegisteredLine(2)->LineState(), QStringLiteral("LSRinging"));
}

TEST_F(EventControllerTest, EmptyValuesDoNotWipeEarlierOnesButFlagsAreOverwritten)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    State(0, LSRinging);
    QVariantMap& data = softphone.lines[0];
    data[QStringLiteral("DispPeerName")] = QString();
    data[QStringLiteral("DispPeerNumber")] = QString();
    data[QStringLiteral("DispIsDirectCall")] = 0;
    data[QStringLiteral("DispDiscReason")] = 17;
    State(0, LSActive);
    const auto line = controller.RegisteredLine(0);
    EXPECT_EQ(line->CallerName(), QStringLiteral("Anna Berg"));
    EXPECT_EQ(line->CallerNumber(), QStringLiteral("+49301234"));
    EXPECT_EQ(line->IsDirectCall(), 0);
    EXPECT_EQ(line->DiscReason(), 17);
}

TEST_F(EventControllerTest, TransferOfAnActiveCallRunsTheTransferRules)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    State(0, LSRinging);
    State(0, LSActive);
    const auto line = controller.RegisteredLine(0);

    // The same peer written in another form is no transfer.
    softphone.lines[0][QStringLiteral("DispPeerNumber")] = QStringLiteral("+49301234");
    Send(CLMgrLineDetailsChangedMessage, 0);
    EXPECT_FALSE(line->IsTransferredCall());

    softphone.lines[0][QStringLiteral("DispPeerName")] = QStringLiteral("Carla Dorn");
    softphone.lines[0][QStringLiteral("DispPeerNumber")] = QStringLiteral("0405555");
    Send(CLMgrLineDetailsChangedMessage, 0);
    EXPECT_TRUE(line->IsTransferredCall());
    EXPECT_EQ(line->CallerName(), QStringLiteral("Carla Dorn"));
    EXPECT_EQ(line->CallerNumber(), QStringLiteral("+49405555"));
    EXPECT_EQ(offered.last(), QStringLiteral("LSTransferred"));
}

TEST_F(EventControllerTest, PeerChangeOfAHeldCallIsNoTransfer)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    State(0, LSRinging);
    State(0, LSActive);
    State(0, LSOnHold);
    softphone.lines[0][QStringLiteral("DispPeerName")] = QStringLiteral("Carla Dorn");
    Send(CLMgrLineDetailsChangedMessage, 0);
    EXPECT_FALSE(controller.RegisteredLine(0)->IsTransferredCall());
    EXPECT_FALSE(offered.contains(QStringLiteral("LSTransferred")));
}

TEST_F(EventControllerTest, EachSignalledGroupCallGetsItsOwnUnregisteredLine)
{
    softphone.notificationCall = {
        {QStringLiteral("DispNotificationCallPeerName"), QStringLiteral("Anna Berg")},
        {QStringLiteral("DispNotificationCallPeerNumber"), QStringLiteral("0301234")},
        {QStringLiteral("DispNotificationCallCalledExtension"), QStringLiteral("30")},
    };
    // A line object offered before carries the mark; a freed one's address may be reused.
    QStringList marksFound;
    onRun = [&marksFound](TOrvixLine& line, const QString&) {
        marksFound.append(line.GetUserVariableResult(QStringLiteral("offered")));
        line.SetUserVariable(QStringLiteral("offered"), QStringLiteral("yes"));
    };
    Send(CLMgrGroupCallNotificationMessage, 1);
    Send(CLMgrGroupCallNotificationMessage, 1);
    ASSERT_EQ(offered, (QStringList(2, QStringLiteral("LSNotification"))));
    EXPECT_EQ(marksFound, (QStringList {QString(), QString()})) << "the second call got the first one's line";
    EXPECT_EQ(controller.RegisteredLine(-1), nullptr);
    EXPECT_EQ(trace.Count(QStringLiteral("OrvixEvent::ClientLineMgrNotification:Notification call")), 2);
    EXPECT_EQ(trace.LastValue(QStringLiteral("OrvixLine::GetLineInfos:NotificationCallerNumber")),
              QStringLiteral("+49301234"));
}

TEST_F(EventControllerTest, FirstEventDetailsChangedRegistersAnUnknownLine)
{
    softphone.lines[4] = IncomingCall(9, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    Send(CLMgrLineDetailsChangedMessage, 4);
    const auto line = controller.RegisteredLine(4);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->LineState(), QStringLiteral("LSUnknown"));
    EXPECT_FALSE(line->IsTransferredCall());
}

TEST_F(EventControllerTest, SnapshotFollowsItsLineWithoutRunningRules)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    std::shared_ptr<TOrvixLine> snapshot;
    onRun = [&snapshot, this](TOrvixLine& line, const QString& state) {
        if (snapshot || state != QLatin1StringView("LSRinging"))
            return;
        snapshot = std::make_shared<TOrvixLine>();
        snapshot->Assign(&line);
        auto privateManager = std::make_shared<TClientLineMgr>(&softphone);
        privateManager->Connect();
        snapshot->FollowLine(privateManager);
    };
    State(0, LSRinging);
    ASSERT_NE(snapshot, nullptr);
    State(0, LSActive);
    EXPECT_EQ(snapshot->LineState(), QStringLiteral("LSActive"));
    EXPECT_TRUE(
        trace.Has(QStringLiteral("OrvixLine::ClientLineMgrNotification:EventMsg: "
                                 "CLMgrLineStateChangedMessageEx EventParam: 2048 LineIndex: 0 LineState: LSActive")));
    State(1, LSRinging); // another line: traced, not applied
    EXPECT_EQ(snapshot->LineState(), QStringLiteral("LSActive"));
    State(0, LSTerminated);
    State(0, LSInactive);
    EXPECT_TRUE(snapshot->LineStateTerminated());
    EXPECT_EQ(snapshot->ClientLineMgr(), nullptr) << "the snapshot let go of its line with the call";
    State(0, LSRinging); // a later call on the line leaves the snapshot alone
    EXPECT_EQ(snapshot->LineState(), QStringLiteral("LSInactive"));
    EXPECT_EQ(offered.count(QStringLiteral("LSActive")), 1) << "only the registry line ran rules";
}

TEST_F(EventControllerTest, SnapshotInTestModeStopsListening)
{
    auto snapshot = std::make_shared<TOrvixLine>();
    snapshot->SetIsTestMode(true);
    snapshot->SetLineIndex(0);
    auto privateManager = std::make_shared<TClientLineMgr>(&softphone);
    privateManager->Connect();
    privateManager->SetOnDispOnLineMgrNotification([snapshot](TClientLineMgr* sender, int eventMsg, int eventParam) {
        snapshot->ClientLineMgrNotification(sender, eventMsg, eventParam);
    });
    State(0, LSRinging);
    EXPECT_TRUE(snapshot->LineStateTerminated());
    EXPECT_FALSE(privateManager->HasNotificationHandler());
    EXPECT_EQ(
        trace.Count(QStringLiteral("OrvixLine::ClientLineMgrNotification:Running in test mode, ignoring event...")), 1);
}

TEST_F(EventControllerTest, RuleRunFailingAtTheEndStillEndsTheCall)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    onRun = [](TOrvixLine&, const QString& state) {
        if (state == QLatin1StringView("LSTerminated"))
            throw std::runtime_error("the action failed");
    };
    State(0, LSRinging);
    State(0, LSActive);
    State(0, LSTerminated);
    const auto line = controller.RegisteredLine(0);
    EXPECT_TRUE(trace.Has(QStringLiteral("OrvixLine::ExecuteRules")));
    EXPECT_TRUE(line->LineStateTerminated());
    EXPECT_EQ(line->LastLineState(), QStringLiteral("LSTerminated"));
    State(0, LSInactive);
    EXPECT_EQ(line->ClientLineMgr(), nullptr) << "the line is cleared for the next call";
}

// The softphone crashed or restarted during a call: the end of that call never comes.
TEST_F(EventControllerTest, CallWhoseEndWasNeverSeenDoesNotCarryOver)
{
    struct Case
    {
        const char* name;
        std::function<void(FakeLineManager&)> betweenCalls;
    };
    const Case cases[] = {
        {"line manager gone and back",
         [](FakeLineManager& softphone) {
             softphone.available = false;
             emit softphone.AvailabilityChanged(false);
             softphone.available = true;
             emit softphone.AvailabilityChanged(true);
         }},
        {"line manager back without having been seen gone",
         [](FakeLineManager& softphone) { emit softphone.AvailabilityChanged(true); }},
        {"only the call id tells", [](FakeLineManager&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        offered.clear();
        softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
        softphone.lines[0][QStringLiteral("m_bIsInternalCall")] = 1;
        State(0, LSRinging);
        const auto old = controller.RegisteredLine(0);

        c.betweenCalls(softphone);
        QVariantMap next = IncomingCall(6, QStringLiteral("0409876"), QString());
        softphone.lines[0] = next;
        State(0, LSRinging);

        EXPECT_EQ(offered, (QStringList(2, QStringLiteral("LSRinging"))));
        const auto line = controller.RegisteredLine(0);
        ASSERT_NE(line, old);
        EXPECT_EQ(line->CallerName(), QString()) << "the old caller's name carried over";
        EXPECT_EQ(line->IsInternalCall(), 0);
        EXPECT_EQ(line->LineStateHistory(), QStringList {QStringLiteral("LSRinging")});
        EXPECT_TRUE(old->LineStateTerminated());
        EXPECT_EQ(old->ClientLineMgr(), nullptr);
        State(0, LSInactive);
    }
    EXPECT_EQ(trace.Count(QStringLiteral("OrvixEvent::ClientLineMgrAvailability:Line ended, line manager gone")), 1);
    EXPECT_EQ(trace.Count(QStringLiteral("OrvixEvent::ClientLineMgrAvailability:Line ended, line manager restarted")),
              1);
    EXPECT_EQ(trace.Count(QStringLiteral("OrvixEvent::ClientLineMgrNotification:Line ended, new call id")), 1);
}

TEST_F(EventControllerTest, LineManagerCallFailingHalfwayLeavesTheLineAsItWas)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    State(0, LSRinging);
    QVariantMap& data = softphone.lines[0];
    data[QStringLiteral("DispPeerName")] = QStringLiteral("Carla Dorn");
    data[QStringLiteral("DispDiscReason")] = 17;
    data[QStringLiteral("DispRedirectedFromNumber")] = QStringLiteral("0405555");
    softphone.failConvert = QStringLiteral("0405555");
    State(0, LSActive);

    const auto line = controller.RegisteredLine(0);
    EXPECT_TRUE(trace.Has(QStringLiteral("OrvixEvent::ClientLineMgrNotification")));
    EXPECT_EQ(line->CallerName(), QStringLiteral("Anna Berg"));
    EXPECT_EQ(line->DiscReason(), 0);
    EXPECT_EQ(offered, QStringList {QStringLiteral("LSRinging")});

    softphone.failConvert.clear();
    State(0, LSActive);
    EXPECT_EQ(offered, (QStringList {QStringLiteral("LSRinging"), QStringLiteral("LSActive")}))
        << "the skipped state runs with the next notification";
    EXPECT_EQ(line->CallerName(), QStringLiteral("Carla Dorn"));
}

TEST_F(EventControllerTest, QueuedEventsListTheWaitingStates)
{
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    onRun = [this](TOrvixLine&, const QString& state) {
        if (state != QLatin1StringView("LSRinging"))
            return;
        softphone.ChangeState(0, LSActive);
        softphone.ChangeState(0, LSTerminated);
        QEventLoop dialog;
        QTimer::singleShot(0, &dialog, &QEventLoop::quit);
        dialog.exec();
    };
    State(0, LSRinging);
    EXPECT_EQ(trace.LastValue(QStringLiteral("OrvixLine::GetLineInfos:Queued events:2")),
              QStringLiteral("LSActive\nLSTerminated"));
}

// The softphone reports an idle line with call id 0; the next call rings on it while the
// previous call's run still waits (an item window open at its end, a lookup, a program).
// Each call's states run with its own data, in both places the old call can be waiting.
TEST_F(EventControllerTest, CallRingingWhileThePreviousCallsRunWaitsGetsItsRules)
{
    const QVariantMap idle {{QStringLiteral("DispState"), int(LSInactive)},
                            {QStringLiteral("DispCallId"), 0},
                            {QStringLiteral("DispIsOutgoingCall"), -1}};
    struct Case
    {
        const char* name;
        int waitsAt;
        QStringList expected;
    };
    const Case cases[] = {
        {"the end rule waits",
         LSTerminated,
         {"LSRinging Anna", "LSActive Anna", "LSTerminated Anna", "LSRinging Bernd", "LSActive Bernd"}},
        // The old call's own queued states still run after the wait, once the new call's have.
        {"the ringing rule waits",
         LSRinging,
         {"LSRinging Anna", "LSRinging Bernd", "LSActive Bernd", "LSActive Anna", "LSTerminated Anna"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList seen;
        bool waited = false;
        std::shared_ptr<TOrvixLine> first;
        onRun = [&](TOrvixLine& line, const QString& state) {
            seen.append(state + u' ' + line.CallerName());
            if (!first)
                first = controller.RegisteredLine(0);
            if (waited || state != LineStateName(c.waitsAt))
                return;
            waited = true;
            if (c.waitsAt == LSRinging) {
                State(0, LSActive);
                State(0, LSTerminated);
            }
            softphone.lines[0] = idle;
            State(0, LSInactive);
            softphone.lines[0] = IncomingCall(6, QStringLiteral("0409876"), QStringLiteral("Bernd"));
            State(0, LSRinging);
            State(0, LSActive);
        };
        softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna"));
        State(0, LSRinging);
        if (c.waitsAt == LSTerminated) {
            State(0, LSActive);
            State(0, LSTerminated);
        }

        EXPECT_EQ(seen, c.expected);
        const auto second = controller.RegisteredLine(0);
        ASSERT_NE(second, first);
        EXPECT_EQ(second->CallId(), 6);
        EXPECT_EQ(first->ClientLineMgr(), nullptr) << "the first call's line was cleared at its own idle state";
        EXPECT_TRUE(trace.Has(
            QStringLiteral("OrvixEvent::ClientLineMgrNotification:Line busy with the previous call, new call id")));

        State(0, LSTerminated);
        softphone.lines[0] = idle;
        State(0, LSInactive);
    }
}
