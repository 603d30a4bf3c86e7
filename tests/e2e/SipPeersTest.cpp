// SPDX-License-Identifier: GPL-3.0-or-later

#include "E2eSupport.h"

#include "NetstringReader.h"
#include "telephony/LineEvents.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

using namespace e2e;

namespace {

using SipPeers = BridgeTest;

// More lines than baresip's own call limit of four.
class ManyLines : public BridgeTest
{
protected:
    static constexpr int Lines = 6;
    void SetUp() override { StartBridge(Lines); }
};

// Something else listens on the control port the bridge is told to use, and plays baresip.
class FakeOnControlPort : public BridgeTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fake.listen(QHostAddress::LocalHost, FreePort()));
        QObject::connect(&fake, &QTcpServer::newConnection, &fake, [this] {
            QTcpSocket* client = fake.nextPendingConnection();
            ++connections;
            client->write(NetstringReader::encode(
                R"({"event":true,"type":"CALL_INCOMING","class":"call","accountaor":"sip:kestrun@127.0.0.2",)"
                R"("direction":"incoming","peeruri":"sip:110@127.0.0.1","peerdisplayname":"Polizei Notruf",)"
                R"("id":"fake-1","param":"sip:110@127.0.0.1"})"));
        });
        StartBridge(2, {"--ctrl-port", QString::number(fake.serverPort())}, false);
    }

    QTcpServer fake;
    int connections = 0;
};

int LineState(DBusLineManagerService& bus, int lineIndex)
{
    return bus.GetLine(lineIndex)["DispState"].toInt();
}

} // namespace

// A caller whose display name is Latin-1, not UTF-8: the call rings on a line, with the
// bytes that are not UTF-8 replaced, and can be taken.
TEST_F(SipPeers, DisplayNameInLatin1RingsTheLine)
{
    SippCall sipp(ScenarioVariant(m_folder, "incoming-call.xml", "\"Bernd Weber\"", "\"J\xFCrgen M\xFCller\""),
                  bridge->sipPort);
    ASSERT_TRUE(WaitUntil([&] { return bus->GetLine(0)["DispState"].toInt() == LSRinging; })) << sipp.Output();
    EXPECT_EQ(bus->GetLine(0)["DispPeerName"].toString(), QString::fromUtf8("J\uFFFDrgen M\uFFFDller"));
    EXPECT_EQ(bus->GetLine(0)["DispPeerNumber"].toString(), "089123456");
    bus->HookOff(0);
    ASSERT_TRUE(sipp.WaitForEnd());
    EXPECT_EQ(sipp.ExitCode(), 0) << "the call was answered and ended normally: " << sipp.Output();
}

TEST_F(ManyLines, EveryLineRingsAtOnce)
{
    SippCall sipp(Scenario("incoming-call.xml"), bridge->sipPort, Lines);
    const auto ringing = [&] {
        int count = 0;
        for (int i = 0; i < Lines; ++i)
            count += bus->GetLine(i)["DispState"].toInt() == LSRinging ? 1 : 0;
        return count;
    };
    EXPECT_TRUE(WaitUntil([&] { return ringing() == Lines; }))
        << ringing() << " lines ring; sipp: " << sipp.Output() << "\nbridge: " << bridge->Output().toStdString();
}

// Another local client connects to baresip's control port; baresip drops the bridge's connection for
// it, and the client takes the ringing call. The bridge takes the connection back and asks baresip for
// its calls: the call goes on, now taken, and ends when the caller hangs up.
TEST_F(SipPeers, SecondControlClientEndsNoCall)
{
    SippCall sipp(Scenario("incoming-call.xml"), bridge->sipPort);
    ASSERT_TRUE(WaitUntil([&] { return LineState(*bus, 0) == LSRinging; })) << sipp.Output();
    const quint16 port = bridge->CtrlPort();
    ASSERT_NE(port, 0);

    QTcpSocket intruder;
    intruder.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(intruder.waitForConnected(10000));
    intruder.write(NetstringReader::encode(R"({"command":"accept","token":"intruder"})"));
    ASSERT_TRUE(bridge->WaitForOutput("another client took baresip's control connection"));
    ASSERT_TRUE(bridge->WaitForOutput("took the control connection back"));
    EXPECT_TRUE(WaitUntil([&] { return LineState(*bus, 0) == LSActive; }))
        << "baresip told the bridge the call is established";
    EXPECT_FALSE(bridge->Output().contains("line 0: LSTerminated")) << "the call was never ended on its line";

    ASSERT_TRUE(sipp.WaitForEnd());
    EXPECT_EQ(sipp.ExitCode(), 0) << sipp.Output();
    EXPECT_TRUE(bridge->WaitForOutput("line 0: LSTerminated")) << "the caller's BYE still reaches the line";
}

// The bridge talks only to the baresip it started: whatever else answers on the port is not believed.
TEST_F(FakeOnControlPort, IsNeverBelieved)
{
    ASSERT_TRUE(WaitUntil([&] { return bus->IsAvailable(); }));
    ASSERT_TRUE(bridge->WaitForOutput("not from the baresip started here")) << bridge->Output().toStdString();
    EXPECT_GT(connections, 0);
    EXPECT_EQ(LineState(*bus, 0), LSInactive) << "the fake's call rings no line";
    EXPECT_FALSE(bridge->Output().contains("LSRinging"));
}
