// SPDX-License-Identifier: GPL-3.0-or-later

#include "E2eSupport.h"

#include "telephony/ClientLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/LineEvents.h"

#include <gtest/gtest.h>

#include <csignal>

using namespace e2e;

using BaresipRestart = BridgeTest;

// baresip dies in the middle of a ringing call: the line goes idle, the bridge starts a new baresip,
// and the next call rings and is taken as before.
TEST_F(BaresipRestart, LinesGoIdleAndTheNextCallWorks)
{
    TClientLineMgr lineMgr(bus.get());
    lineMgr.Connect();
    const auto lineZero = [&] { return lineMgr.DispGetLine(0)->DispState(); };

    SippCall lostCall(Scenario("incoming-call.xml"), bridge->sipPort);
    ASSERT_TRUE(WaitUntil([&] { return lineZero() == LSRinging; })) << lostCall.Output();
    const qint64 firstBaresip = bridge->BaresipPid();
    ASSERT_GT(firstBaresip, 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(firstBaresip), SIGKILL), 0);
    ASSERT_TRUE(bridge->WaitForOutput("lost baresip"));
    // Its INVITE must not reach the next baresip as a new call.
    lostCall.Stop();
    EXPECT_TRUE(bridge->WaitForOutput("line 0: LSTerminated"));
    EXPECT_TRUE(WaitUntil([&] { return lineZero() == LSInactive; }));

    ASSERT_TRUE(bridge->WaitForOutput("baresip started", 2));
    EXPECT_NE(bridge->BaresipPid(), firstBaresip);
    SippCall nextCall(Scenario("incoming-call.xml"), bridge->sipPort);
    ASSERT_TRUE(WaitUntil([&] { return lineZero() == LSRinging; })) << nextCall.Output();
    lineMgr.DispGetLine(0)->DispHookOff();
    ASSERT_TRUE(nextCall.WaitForEnd());
    EXPECT_EQ(nextCall.ExitCode(), 0) << nextCall.Output();
}
