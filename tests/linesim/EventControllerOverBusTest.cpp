// SPDX-License-Identifier: GPL-3.0-or-later

#include "LineSimTestSupport.h"
#include "LinesimCommand.h"
#include "TraceCapture.h"

#include "telephony/ClientLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/DBusLineManagerService.h"
#include "telephony/LineEvents.h"
#include "telephony/LineManagerError.h"
#include "telephony/OrvixEvent.h"

#include <QDBusConnection>
#include <QProcess>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <csignal>

using namespace linesim_test;

namespace {

// The event controller against the simulator program on the session bus: the
// path a real call takes, signal and calls included.
class EventControllerOverBus : public ::testing::Test
{
protected:
    void SetUp() override { StartSimulator(); }

    void TearDown() override { StopSimulator(); }

    void StartSimulator()
    {
        simulator.start(QStringLiteral(ORVIX_LINESIM_EXECUTABLE),
                        {QStringLiteral("--service"), service, QStringLiteral("serve"),
                         QStringLiteral("--terminated-ms"), QStringLiteral("300")});
        ASSERT_TRUE(simulator.waitForStarted(Deadline));
        ASSERT_TRUE(waitUntil([this] { return bus.IsAvailable(); }));
    }

    void StopSimulator()
    {
        if (simulator.state() == QProcess::NotRunning)
            return;
        simulator.terminate();
        simulator.waitForFinished(Deadline);
    }

    // Runs a simulator command line against this test's simulator.
    void Command(const QStringList& arguments) { RunLinesimCommand(service, arguments, Deadline); }

    bool WaitForTrace(const QString& title)
    {
        return waitUntil([&] { return trace.Has(title); });
    }

    TraceCapture trace;
    QString service = uniqueServiceName("controller");
    DBusLineManagerService bus {service};
    QProcess simulator;
};

} // namespace

TEST_F(EventControllerOverBus, CallFlowsFromTheSimulatorIntoTheLineObject)
{
    TOrvixEventController controller(&bus);
    QStringList offered;
    controller.SetRuleRunner([&offered](TOrvixLine&, const QString& state) { offered.append(state); });

    Command({"incoming", "--line", "0", "--number", "0301234567", "--name", "Anna Berg", "--external"});
    ASSERT_TRUE(WaitForTrace("OrvixEvent::ClientLineMgrNotification:EventMsg: CLMgrLineStateChangedMessageEx "
                             "EventParam: 768 LineIndex: 0 LineState: LSRinging"));
    ASSERT_TRUE(waitUntil([&] { return offered.size() == 1; }));
    const auto line = controller.RegisteredLine(0);
    EXPECT_EQ(line->CallerName(), QStringLiteral("Anna Berg"));
    EXPECT_EQ(line->CallerNumber(), QStringLiteral("+49301234567"));
    EXPECT_EQ(line->IsInternalCall(), 0);
    EXPECT_GT(line->CallId(), 0);

    Command({"answer", "--line", "0"});
    Command({"hangup", "--line", "0"});
    ASSERT_TRUE(WaitForTrace("OrvixLine::GetLineInfos:Clearing line"));
    EXPECT_EQ(offered, (QStringList {"LSRinging", "LSActive", "LSTerminated"}));
    EXPECT_GT(line->ConnectionStartDateTime(), 0);
    EXPECT_GE(line->ConnectionFinishedDateTime(), line->ConnectionStartDateTime());
}

// A call the program places goes out through the softphone like one the user dials there:
// outgoing states, the dialled number as the called number, and a refused text stays a refusal.
TEST_F(EventControllerOverBus, PlacedCallGoesOutAsAnOutgoingCall)
{
    TOrvixEventController controller(&bus);
    QStringList offered;
    controller.SetRuleRunner([&offered](TOrvixLine&, const QString& state) { offered.append(state); });
    Command({"incoming", "--line", "0", "--number", "0301234567"});
    ASSERT_TRUE(waitUntil([&] { return offered.size() == 1; }));

    TClientLineMgr manager(&bus);
    manager.Connect();
    EXPECT_EQ(manager.DispMakeCall(QStringLiteral("+4940123456")), 1);
    ASSERT_TRUE(waitUntil([&] { return offered.size() == 3; }));
    EXPECT_EQ(offered, (QStringList {"LSRinging", "LSDialing", "LSAlerting"}));
    const auto line = controller.RegisteredLine(1);
    EXPECT_EQ(line->IsOutgoingCall(), 1);
    EXPECT_EQ(line->CalledNumber(), QStringLiteral("+4940123456"));
    EXPECT_EQ(manager.DispGetLine(1)->DispAcknowledgedDialstring(), QStringLiteral("+4940123456"));

    try {
        manager.DispMakeCall(QStringLiteral("+49 40;x=1"));
        FAIL() << "a text with blanks and parameters is no dial string";
    } catch (const ELineManagerError& error) {
        EXPECT_EQ(error.ErrorName(), QStringLiteral("com.orvixit.Softphone.Error.InvalidArgument"));
    }
}

TEST_F(EventControllerOverBus, SoftphoneThatComesBackIsPickedUpAgain)
{
    TOrvixEventController controller(&bus);
    StopSimulator();
    ASSERT_TRUE(waitUntil([this] { return !bus.IsAvailable(); }));
    StartSimulator();

    Command({"incoming", "--line", "1", "--number", "0409876", "--name", "Bert"});
    EXPECT_TRUE(WaitForTrace("OrvixEvent::ClientLineMgrNotification:EventMsg: CLMgrLineStateChangedMessageEx "
                             "EventParam: 769 LineIndex: 1 LineState: LSRinging"));
    EXPECT_TRUE(WaitForTrace("OrvixLine::GetLineInfos:CallerName"));
}

TEST_F(EventControllerOverBus, RefusedOperationComesBackAsOurError)
{
    TClientLineMgr manager(&bus);
    manager.Connect();
    try {
        manager.DispGetLine(9);
        FAIL() << "line 9 does not exist";
    } catch (const ELineManagerError& error) {
        EXPECT_EQ(error.ErrorName(), QStringLiteral("com.orvixit.Softphone.Error.NoSuchLine"));
    }
}

// A softphone that hangs holds every call until the time-out: the notification is given up
// after a short one, named in the trace, and the line keeps what it had.
TEST_F(EventControllerOverBus, HungSoftphoneIsGivenUpAfterAShortTimeOut)
{
    TOrvixEventController controller(&bus);
    ASSERT_EQ(::kill(pid_t(simulator.processId()), SIGSTOP), 0);
    const auto resume = qScopeGuard([this] { ::kill(pid_t(simulator.processId()), SIGCONT); });

    controller.ClientLineMgrNotification(nullptr, CLMgrLineStateChangedMessageEx, (LSRinging << 8) | 0);

    const QString answer = trace.LastValue(QStringLiteral("DBusLineManagerService::Call:No answer from the softphone"));
    EXPECT_TRUE(answer.startsWith(QStringLiteral("GetLine"))) << answer.toStdString();
    EXPECT_TRUE(trace.LastValue(QStringLiteral("OrvixEvent::ClientLineMgrNotification")).contains(u"GetLine"));
    const auto line = controller.RegisteredLine(0);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->CallId(), -1);
}
