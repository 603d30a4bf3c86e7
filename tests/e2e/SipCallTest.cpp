#include "TestActions.h"
#include "TraceCapture.h"

#include "actions/ActionOrvixTakeCall.h"
#include "engine/RulesRun.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "rulesfile/Parameters.h"
#include "telephony/ClientLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/DBusLineManagerService.h"
#include "telephony/LineEvents.h"
#include "telephony/OrvixEvent.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QUdpSocket>

#include <gtest/gtest.h>

namespace {

constexpr int Deadline = 40000;

bool WaitUntil(const std::function<bool()>& condition, int milliseconds = Deadline)
{
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

// A port free for both UDP and TCP on 127.0.0.1 (SIP listens on both), as the system hands it out.
quint16 FreePort()
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        QUdpSocket udp;
        if (!udp.bind(QHostAddress::LocalHost, 0))
            continue;
        QTcpServer tcp;
        if (tcp.listen(QHostAddress::LocalHost, udp.localPort()))
            return udp.localPort();
    }
    ADD_FAILURE() << "no free port";
    return 0;
}

void Stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

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

} // namespace

// A real SIP call: sipp calls baresip, the bridge rings line 0, the event controller runs the
// incoming-call rule, whose take-call action answers through the bridge; sipp sends DTMF and hangs up.
TEST(SipCall, IncomingCallIsTakenByTheRuleAndEndsOnTheLine)
{
    if (QStandardPaths::findExecutable(QStringLiteral("baresip")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("sipp")).isEmpty()) {
        GTEST_SKIP() << "baresip and sipp are not installed (Debian baresip-core and sip-tester; scripts/install-deps)";
    }
    QTemporaryDir folder;
    const QString service =
        QStringLiteral("com.orvixit.Softphone.test.e2e.p%1").arg(QCoreApplication::applicationPid());
    const quint16 sipPort = FreePort();
    const quint16 ctrlPort = FreePort();
    const quint16 sippPort = FreePort();
    const quint16 mediaPort = FreePort();

    QProcess bridge;
    QProcess sipp;
    const auto stopAll = qScopeGuard([&] {
        Stop(sipp);
        Stop(bridge); // ends its baresip
    });
    bridge.setProcessChannelMode(QProcess::MergedChannels);
    bridge.start(QStringLiteral(ORVIX_BARESIP_EXECUTABLE),
                 {"--service", service, "serve", "--lines", "2", "--sip-listen",
                  QStringLiteral("127.0.0.1:%1").arg(sipPort), "--ctrl-port", QString::number(ctrlPort),
                  // 127.0.0.2: a local account domain other than the caller's, so the call is external.
                  "--account", "sip:kestrun@127.0.0.2", "--folder", folder.filePath("bridge")});
    QByteArray bridgeOutput;
    ASSERT_TRUE(WaitUntil([&] {
        bridgeOutput += bridge.readAll();
        return bridgeOutput.contains("baresip started") || bridge.state() == QProcess::NotRunning;
    })) << bridgeOutput.toStdString();
    ASSERT_TRUE(bridgeOutput.contains("baresip started")) << bridgeOutput.toStdString();

    DBusLineManagerService bus(service);
    ASSERT_TRUE(WaitUntil([&] { return bus.IsAvailable(); }));
    LineManagerService::SetInstance(&bus);
    const auto resetService = qScopeGuard([] { LineManagerService::SetInstance(nullptr); });
    TraceCapture trace;
    const std::shared_ptr<TParameters> rules = TakeCallRules();
    TOrvixEventController controller(&bus);
    controller.SetRuleRunner([rules](TOrvixLine& line, const QString& state) { RunRules(*rules, line, state); });

    sipp.setProcessChannelMode(QProcess::MergedChannels);
    sipp.start(QStringLiteral("sipp"),
               {"-sf", QStringLiteral(KESTRUN_TEST_DATA "/e2e/incoming-call.xml"), "-s", "kestrun", "-m", "1", "-l",
                "1", "-i", "127.0.0.1", "-p", QString::number(sippPort), "-mp", QString::number(mediaPort), "-timeout",
                "40", "-timeout_error", "-nostdin", QStringLiteral("127.0.0.1:%1").arg(sipPort)});
    ASSERT_TRUE(sipp.waitForStarted(Deadline));

    ASSERT_TRUE(WaitUntil([&] { return trace.Has("Rule::ExecuteRule:Executing rule"); }));
    EXPECT_EQ(trace.LastValue("OrvixLine::GetLineInfos:CallerName"), "Bernd Weber");
    EXPECT_EQ(trace.LastValue("OrvixLine::GetLineInfos:CallerNumber"), "+4989123456");

    TClientLineMgr lineMgr(&bus);
    lineMgr.Connect();
    EXPECT_TRUE(WaitUntil([&] { return lineMgr.DispGetLine(0)->DispReceivedDtmfDigits() == "5"; }))
        << "the caller's DTMF INFO reaches the line";
    EXPECT_TRUE(WaitUntil([&] {
        return trace.Has("OrvixEvent::ClientLineMgrNotification:EventMsg: CLMgrLineStateChangedMessageEx "
                         "EventParam: 3072 LineIndex: 0 LineState: LSTerminated");
    })) << "the caller's BYE ends the call on line 0";

    ASSERT_TRUE(sipp.waitForFinished(Deadline));
    EXPECT_EQ(sipp.exitCode(), 0) << "sipp saw the 200 OK and the whole call: "
                                  << sipp.readAll().right(2000).toStdString();
    EXPECT_TRUE(trace.Has("OrvixLine::GetLineInfos:Line state"));
}
