// SPDX-License-Identifier: GPL-3.0-or-later

// Blocking a caller the whole way: the simulated softphone on the session bus,
// the program with its rules, and a rule whose "Anrufer sperren" blocks the
// caller; the caller's next call is rejected on the softphone while it rings.
#include "LineSimTestSupport.h"
#include "LinesimCommand.h"
#include "TestActions.h"
#include "TraceCapture.h"

#include "actions/ActionOrvixBlockCaller.h"
#include "model/ActionSequence.h"
#include "model/Rule.h"
#include "platform/DataPaths.h"
#include "program/Program.h"
#include "rulesfile/Parameters.h"
#include "telephony/ClientLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/DBusLineManagerService.h"
#include "telephony/LineEvents.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>

#include <gtest/gtest.h>

using namespace linesim_test;

TEST(BlockCallerOverBus, TheBlockedCallersNextCallIsRejectedWhileItRings)
{
    const QString service = uniqueServiceName("block");
    DBusLineManagerService bus(service);
    QProcess simulator;
    simulator.start(QStringLiteral(ORVIX_LINESIM_EXECUTABLE),
                    {QStringLiteral("--service"), service, QStringLiteral("serve"), QStringLiteral("--terminated-ms"),
                     QStringLiteral("100")});
    const auto stop = qScopeGuard([&simulator] {
        simulator.terminate();
        simulator.waitForFinished(Deadline);
    });
    ASSERT_TRUE(simulator.waitForStarted(Deadline));
    ASSERT_TRUE(waitUntil([&bus] { return bus.IsAvailable(); }));
    // A rule's run acts on the call through the process's softphone.
    LineManagerService::SetInstance(&bus);
    const auto unset = qScopeGuard([] { LineManagerService::SetInstance(nullptr); });

    TParameters rules;
    auto* sequence = new TActionSequence;
    sequence->SetName(QStringLiteral("Sperren"));
    sequence->AddNewItem(new TActionOrvixBlockCaller);
    rules.ActionSequences().AddNewItem(sequence);
    rules.Rules().AddNewItem(IncomingRule(QStringLiteral("Werbung"), sequence));
    ASSERT_TRUE(QDir().mkpath(UserDataPath()));
    ASSERT_TRUE(rules.SaveObjectsToXMLFile(DataPathRulesFile()));
    TraceCapture trace;
    TProgram program(&bus);
    program.Start();
    const auto line0 = [&bus] {
        TClientLineMgr lineMgr(&bus);
        lineMgr.Connect();
        return lineMgr.DispGetLine(0)->DispState();
    };

    const QStringList call {"incoming", "--line", "0", "--number", "0301234567", "--name", "Werbung", "--external"};
    RunLinesimCommand(service, call, Deadline);
    ASSERT_TRUE(waitUntil([&program] { return program.Model()->Rules().Count() == 2; }));
    EXPECT_EQ(program.Model()->Rules().Item<TRule>(0)->FromNumberIn(), QStringLiteral("+49301234567"));
    EXPECT_EQ(line0(), LSRinging) << "blocking alone does not end the call";
    RunLinesimCommand(service, {"hangup", "--line", "0"}, Deadline);
    ASSERT_TRUE(waitUntil([&] { return line0() == LSInactive; }));

    RunLinesimCommand(service, call, Deadline);
    EXPECT_TRUE(
        waitUntil([&] { return trace.Has(QStringLiteral("ActionOrvixEndCall::ExecuteAction:Ending call...")); }));
    EXPECT_TRUE(waitUntil([&] { return line0() != LSRinging; }));
    program.Shutdown();
}
