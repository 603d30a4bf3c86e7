// SPDX-License-Identifier: GPL-3.0-or-later

#include "E2eSupport.h"
#include "TestActions.h"
#include "TraceCapture.h"

#include "actions/ActionOrvixTakeCall.h"
#include "engine/RulesRun.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "rulesfile/Parameters.h"
#include "telephony/ClientLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/LineEvents.h"
#include "telephony/OrvixEvent.h"

#include <QScopeGuard>

#include <gtest/gtest.h>

using namespace e2e;

namespace {

// An incoming-call rule whose only action takes the call.
std::shared_ptr<TParameters> TakeCallRules()
{
    auto model = std::make_shared<TParameters>();
    auto* sequence = new TActionSequence;
    sequence->SetName(QStringLiteral("Annehmen"));
    sequence->AddNewItem(new TActionOrvixTakeCall);
    model->ActionSequences().AddNewItem(sequence);
    model->Rules().AddNewItem(IncomingRule(QStringLiteral("Kunde ruft an"), sequence));
    return model;
}

// The entries the event controller writes when line 0 reaches the state.
bool LineZeroReached(const TraceCapture& trace, const char* state)
{
    const QString ending = QStringLiteral("LineIndex: 0 LineState: ") + QLatin1String(state);
    return !trace.Titles()
                .filter(QStringLiteral("OrvixEvent::ClientLineMgrNotification:"))
                .filter(QRegularExpression(QRegularExpression::escape(ending) + u'$'))
                .isEmpty();
}

using SipCall = BridgeTest;

} // namespace

// A real SIP call: sipp calls baresip, the bridge rings line 0, the event controller runs the
// incoming-call rule, whose take-call action answers through the bridge; sipp sends DTMF and hangs up.
TEST_F(SipCall, IncomingCallIsTakenByTheRuleAndEndsOnTheLine)
{
    LineManagerService::SetInstance(bus.get());
    const auto resetService = qScopeGuard([] { LineManagerService::SetInstance(nullptr); });
    TraceCapture trace;
    const std::shared_ptr<TParameters> rules = TakeCallRules();
    TOrvixEventController controller(bus.get());
    controller.SetRuleRunner([rules](TOrvixLine& line, const QString& state) { RunRules(*rules, line, state); });
    TClientLineMgr lineMgr(bus.get());
    lineMgr.Connect();

    SippCall sipp(Scenario("incoming-call.xml"), bridge->sipPort);
    ASSERT_TRUE(WaitUntil([&] { return trace.Has("Rule::ExecuteRule:Executing rule"); })) << sipp.Output();
    EXPECT_TRUE(LineZeroReached(trace, "LSRinging"));
    const QString ruleLine = trace.LastValue("Rule::ExecuteRule:OrvixLine");
    EXPECT_TRUE(ruleLine.contains("CallerName=Bernd Weber")) << ruleLine.toStdString();
    EXPECT_TRUE(ruleLine.contains("CallerNumber=+4989123456")) << ruleLine.toStdString();

    EXPECT_TRUE(WaitUntil([&] { return LineZeroReached(trace, "LSActive"); })) << "the take-call action answered";
    EXPECT_TRUE(trace.Has("ActionOrvixTakeCall::ExecuteAction:Direct Call"));
    EXPECT_TRUE(WaitUntil([&] { return lineMgr.DispGetLine(0)->DispReceivedDtmfDigits() == "5"; }))
        << "the caller's DTMF INFO reaches the line";
    EXPECT_TRUE(WaitUntil([&] { return LineZeroReached(trace, "LSTerminated"); }))
        << "the caller's BYE ends the call on line 0";

    ASSERT_TRUE(sipp.WaitForEnd());
    EXPECT_EQ(sipp.ExitCode(), 0) << "sipp saw the 200 OK and the whole call: " << sipp.Output();
}
