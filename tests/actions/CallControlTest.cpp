// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeLineManager.h"
#include "TestActions.h"
#include "TraceCapture.h"
#include "actions/ActionOrvixDTMF.h"
#include "actions/ActionOrvixEndCall.h"
#include "actions/ActionOrvixTakeCall.h"
#include "actions/ActionStopper.h"
#include "model/OrvixLine.h"
#include "telephony/ClientLineMgr.h"

#include <gtest/gtest.h>

namespace {

constexpr int LineIndex = 1;
constexpr int CallId = 7;

enum class TKind
{
    Take,
    End,
    Dtmf
};

std::unique_ptr<TBaseAction> MakeAction(TKind kind)
{
    switch (kind) {
    case TKind::Take:
        return std::make_unique<TActionOrvixTakeCall>();
    case TKind::End:
        return std::make_unique<TActionOrvixEndCall>();
    case TKind::Dtmf: {
        auto dtmf = std::make_unique<TActionOrvixDTMF>();
        dtmf->SetDtmfSigns(QStringLiteral("12#"));
        return dtmf;
    }
    }
    return nullptr;
}

// The softphone installed for the whole process, with line 1 holding call 7 in
// the state a test sets, and the incoming call's snapshot that a rule run gets
// (without a line-manager connection of its own, as no window was opened).
class CallControl : public ::testing::Test
{
protected:
    CallControl()
    {
        LineManagerService::SetInstance(&softphone);
        softphone.lines[LineIndex] = IncomingCall(CallId, QStringLiteral("0301234"), QStringLiteral("Weber"));
        snapshot->SetLineIndex(LineIndex);
        snapshot->SetCallId(CallId);
        snapshot->SetIsOutgoingCall(0);
    }
    ~CallControl() override { LineManagerService::SetInstance(nullptr); }

    void SetLine(int state, int callId = CallId)
    {
        softphone.lines[LineIndex][QStringLiteral("DispState")] = state;
        softphone.lines[LineIndex][QStringLiteral("DispCallId")] = callId;
    }

    // Runs the action alone in a sequence, followed by a stopper that skips the
    // next action on failure: whether "after" ran tells the outcome.
    bool RunSucceeds(TBaseAction* action)
    {
        log.clear();
        TActionSequence sequence;
        sequence.AddNewItem(action);
        auto* stopper = new TActionStopper;
        stopper->SetBlockOnSuccess(false);
        sequence.AddNewItem(stopper);
        sequence.AddNewItem(new RecordingAction(QStringLiteral("after"), log));
        sequence.ExecuteActions(snapshot);
        sequence.RemoveItem(action);
        return log.contains(QStringLiteral("after"));
    }

    FakeLineManager softphone;
    std::shared_ptr<TOrvixLine> snapshot = std::make_shared<TOrvixLine>();
    QStringList log;
};

struct TStateCase
{
    TKind kind;
    int state;
    int callId;
    bool canExecute;
};

class CallControlStates : public CallControl, public ::testing::WithParamInterface<TStateCase>
{
};

} // namespace

TEST_P(CallControlStates, CanExecuteFollowsTheLiveLine)
{
    const TStateCase& c = GetParam();
    SetLine(c.state, c.callId);
    EXPECT_EQ(MakeAction(c.kind)->CanExecute(*snapshot), c.canExecute);
}

INSTANTIATE_TEST_SUITE_P(Table, CallControlStates,
                         ::testing::Values(TStateCase {TKind::Take, LSRinging, CallId, true},
                                           TStateCase {TKind::Take, LSRinging, CallId + 1, false},
                                           TStateCase {TKind::Take, LSActive, CallId, false},
                                           TStateCase {TKind::End, LSActive, CallId, true},
                                           TStateCase {TKind::End, LSDialing, CallId, true},
                                           TStateCase {TKind::End, LSAlerting, CallId, false},
                                           TStateCase {TKind::End, LSRinging, CallId, true},
                                           TStateCase {TKind::End, LSActive, CallId + 1, false},
                                           TStateCase {TKind::Dtmf, LSActive, CallId, true},
                                           TStateCase {TKind::Dtmf, LSDialing, CallId, false},
                                           TStateCase {TKind::Dtmf, LSActive, CallId + 1, false}));

TEST_F(CallControl, EachActsOnTheLineOnlyInItsState)
{
    struct TCase
    {
        TKind kind;
        int state;
        QStringList operations;
    };
    const QList<TCase> cases {
        {TKind::Take, LSRinging, {QStringLiteral("HookOff 1")}}, {TKind::Take, LSActive, {}},
        {TKind::End, LSActive, {QStringLiteral("HookOn 1")}},    {TKind::End, LSAlerting, {}},
        {TKind::Dtmf, LSActive, {QStringLiteral("Dial 12# 1")}}, {TKind::Dtmf, LSRinging, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.state);
        softphone.operations.clear();
        SetLine(c.state);
        auto action = MakeAction(c.kind);
        // Not being able to act is no failure: the sequence goes on as before.
        EXPECT_TRUE(RunSucceeds(action.get()));
        EXPECT_EQ(softphone.operations, c.operations);
    }
}

TEST_F(CallControl, TakingAnActiveCallOnlyWarns)
{
    TraceCapture trace;
    SetLine(LSActive);
    TActionOrvixTakeCall take;
    RunSucceeds(&take);
    EXPECT_TRUE(trace.Has(QStringLiteral("ActionOrvixTakeCall::ExecuteAction:Cannot take call")));
    EXPECT_TRUE(softphone.operations.isEmpty());
}

TEST_F(CallControl, WithoutSoftphoneNothingCanExecute)
{
    softphone.available = false;
    SetLine(LSRinging);
    EXPECT_FALSE(TActionOrvixTakeCall().CanExecute(*snapshot));
}

TEST_F(CallControl, TheSnapshotsOwnConnectionIsUsedWhenItHasOne)
{
    FakeLineManager windowSoftphone;
    windowSoftphone.lines[LineIndex] = IncomingCall(CallId, QString(), QString());
    auto lineMgr = std::make_shared<TClientLineMgr>(&windowSoftphone);
    lineMgr->Connect();
    snapshot->FollowLine(lineMgr);
    SetLine(LSActive);

    TActionOrvixTakeCall take;
    EXPECT_TRUE(take.CanExecute(*snapshot));
    RunSucceeds(&take);
    EXPECT_EQ(windowSoftphone.operations, QStringList {QStringLiteral("HookOff 1")});
    EXPECT_TRUE(softphone.operations.isEmpty());
}

TEST_F(CallControl, InTheRuleTestAllCanExecuteAndNoneActs)
{
    TraceCapture trace;
    softphone.available = false;
    snapshot->SetIsTestMode(true);
    for (TKind kind : {TKind::Take, TKind::End, TKind::Dtmf}) {
        auto action = MakeAction(kind);
        EXPECT_TRUE(action->CanExecute(*snapshot));
        EXPECT_TRUE(RunSucceeds(action.get()));
    }
    EXPECT_TRUE(trace.Has(QStringLiteral("ActionOrvixTakeCall::ExecuteAction:test mode: not executed")));
    EXPECT_TRUE(trace.Has(QStringLiteral("ActionOrvixDTMF::ExecuteAction:test mode: not executed")));
    EXPECT_TRUE(softphone.operations.isEmpty());
}

TEST_F(CallControl, AGroupCallCanBePickedUpWhileItIsSignalled)
{
    snapshot->SetLineIndex(-1);
    snapshot->SetIsNotificationCall(true);
    softphone.failGetLine = QStringLiteral("com.orvixit.Softphone.Error.NoSuchLine");
    TActionOrvixTakeCall take;
    EXPECT_FALSE(take.CanExecute(*snapshot));

    softphone.notificationCall = {{QStringLiteral("DispNotificationCallPeerNumber"), QStringLiteral("0301234")}};
    EXPECT_TRUE(take.CanExecute(*snapshot));
    RunSucceeds(&take);
    EXPECT_EQ(softphone.operations, QStringList {QStringLiteral("Pickup -1")});
}

namespace {

// A softphone whose call ends just before it is answered or hung up.
class VanishingCallLineManager : public FakeLineManager
{
public:
    void HookOff(int /*lineIndex*/) override { throw ELineManagerError(NoCall, QStringLiteral("HookOff")); }
    void HookOn(int /*lineIndex*/) override { throw ELineManagerError(NoCall, QStringLiteral("HookOn")); }

private:
    const QString NoCall = QStringLiteral("com.orvixit.Softphone.Error.NoCall");
};

} // namespace

TEST_F(CallControl, ACallThatEndsBeforeTheActFailsTheActionNotTheRun)
{
    VanishingCallLineManager vanishing;
    vanishing.lines[LineIndex] = IncomingCall(CallId, QString(), QString());
    LineManagerService::SetInstance(&vanishing);
    TraceCapture trace;

    TActionOrvixTakeCall take;
    EXPECT_FALSE(RunSucceeds(&take));
    EXPECT_TRUE(trace.Has(QStringLiteral("ActionOrvixTakeCall::ExecuteAction")));
}

TEST_F(CallControl, InvalidDtmfSignsAreTracedAndNotSent)
{
    TraceCapture trace;
    SetLine(LSActive);
    for (const QString& signs : {QString(), QStringLiteral("12x"), QStringLiteral("1 2")}) {
        TActionOrvixDTMF dtmf;
        dtmf.SetDtmfSigns(signs);
        EXPECT_FALSE(RunSucceeds(&dtmf)) << signs.toStdString();
    }
    EXPECT_EQ(trace.Count(QStringLiteral("ActionOrvixDTMF::ExecuteAction:Invalid DTMF signs")), 3);
    EXPECT_TRUE(softphone.operations.isEmpty());
    EXPECT_TRUE(TActionOrvixDTMF::IsValidDtmfSigns(u"0123456789*#ABCD"));
}
