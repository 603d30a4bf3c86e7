// SPDX-License-Identifier: GPL-3.0-or-later

#include "E2eSupport.h"

#include "telephony/ClientLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/OrvixEvent.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

// sipp as the called party: answers one call with 180 and 200 and waits for the BYE.
class SippPeer
{
public:
    explicit SippPeer(quint16 port)
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral("sipp"),
                        {"-sn", "uas", "-i", "127.0.0.1", "-p", QString::number(port), "-mp",
                         QString::number(FreePort()), "-m", "1", "-timeout", "40", "-timeout_error", "-nostdin"});
    }
    ~SippPeer() { e2e::Stop(m_process); }

    bool WaitForEnd()
    {
        return WaitUntil([this] { return m_process.state() == QProcess::NotRunning; });
    }
    int ExitCode() const { return m_process.exitCode(); }
    std::string Output() { return m_process.readAll().right(3000).toStdString(); }

private:
    QProcess m_process;
};

} // namespace

// The call-back of the history: the program asks the line manager for a call, the bridge has baresip
// dial it, the SIP peer answers, and the event controller follows the line through the outgoing states.
TEST(CallBack, PlacedCallGoesOutThroughBaresipToTheSipPeer)
{
    if (const QString missing = MissingSipTools(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir folder;
    const quint16 peerPort = FreePort();
    SippPeer peer(peerPort);
    BridgeProcess bridge(folder.filePath("bridge"), 2, {}, QStringLiteral("sip:kestrun@127.0.0.1:%1").arg(peerPort));
    ASSERT_TRUE(bridge.WaitForOutput("baresip started")) << bridge.Output().toStdString();
    DBusLineManagerService bus(bridge.service);
    ASSERT_TRUE(WaitUntil([&] { return bus.IsAvailable(); }));

    TOrvixEventController controller(&bus);
    QStringList offered;
    controller.SetRuleRunner([&offered](TOrvixLine&, const QString& state) { offered.append(state); });
    TClientLineMgr lineMgr(&bus);
    lineMgr.Connect();

    EXPECT_EQ(lineMgr.DispMakeCall(QStringLiteral("0301234")), 0);
    ASSERT_TRUE(WaitUntil([&] { return offered.contains(QStringLiteral("LSActive")); }))
        << offered.join(u' ').toStdString() << "\n"
        << peer.Output();
    EXPECT_EQ(offered.first(), QStringLiteral("LSDialing"));
    const auto line = controller.RegisteredLine(0);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->IsOutgoingCall(), 1);
    EXPECT_TRUE(line->CalledNumber().contains(QStringLiteral("0301234")) ||
                line->CallerNumber().contains(QStringLiteral("301234")))
        << line->CalledNumber().toStdString() << " / " << line->CallerNumber().toStdString();

    bus.HookOn(0);
    ASSERT_TRUE(peer.WaitForEnd());
    EXPECT_EQ(peer.ExitCode(), 0) << "the peer saw the whole call, BYE included: " << peer.Output();
}
