// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipControl.h"
#include "BaresipEventMapper.h"
#include "BaresipLineManager.h"
#include "BaresipTestSupport.h"
#include "LineCalls.h"
#include "LineSimError.h"
#include "SoftphoneService.h"
#include "WaitUntil.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

using namespace baresip_test;

namespace {

// Everything here answers within the test process: ten seconds is plenty.
bool Eventually(const std::function<bool()>& condition)
{
    return WaitUntil(condition, 10000);
}

// Plays baresip's control socket: records each command the bridge sends and answers when told.
class FakeCtrlPeer
{
public:
    FakeCtrlPeer()
    {
        EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            client = server.nextPendingConnection();
            QObject::connect(client, &QTcpSocket::readyRead, client, [this] {
                for (const QByteArray& frame : reader.feed(client->readAll()).frames)
                    commands.append(QJsonDocument::fromJson(frame).object());
            });
        });
    }

    quint16 port() const { return server.serverPort(); }
    void Send(const QByteArray& bytes)
    {
        client->write(bytes);
        client->flush();
    }
    void Answer(const QJsonObject& command, const QString& data = {}, bool ok = true)
    {
        Send(NetstringReader::encode(
            QJsonDocument(QJsonObject {{"response", true}, {"ok", ok}, {"data", data}, {"token", command["token"]}})
                .toJson(QJsonDocument::Compact)));
    }
    void Refuse(const QJsonObject& command, const QString& data) { Answer(command, data, false); }
    // "callfind a-1" and so on.
    QStringList Sent() const
    {
        QStringList sent;
        for (const QJsonObject& command : commands)
            sent.append(QString(command["command"].toString() + u' ' + command["params"].toString()).trimmed());
        return sent;
    }

    QTcpServer server;
    QTcpSocket* client = nullptr;
    NetstringReader reader;
    QList<QJsonObject> commands;
};

QByteArray IncomingFrame(const QString& callId)
{
    return NetstringReader::encode(QJsonDocument(QJsonObject {{"event", true},
                                                              {"type", "CALL_INCOMING"},
                                                              {"direction", "incoming"},
                                                              {"peeruri", "sip:0891234@192.0.2.7"},
                                                              {"id", callId}})
                                       .toJson(QJsonDocument::Compact));
}

// The bridge's parts over a fake control socket, two calls ringing (a-1 on line 0, b-2 on line 1).
class CommandSelection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QObject::connect(&control, &BaresipControl::eventReceived, &mapper, &BaresipEventMapper::apply);
        control.connectTo(peer.port());
        ASSERT_TRUE(Eventually([this] { return peer.client && control.isConnected(); }));
        peer.Send(IncomingFrame("a-1") + IncomingFrame("b-2"));
        ASSERT_TRUE(Eventually([this] { return model.lineState(1) == SoftphoneModel::LSRinging; }));
    }

    bool WaitForSent(int count)
    {
        return Eventually([&] { return peer.commands.size() >= count; });
    }

    FakeCtrlPeer peer;
    SoftphoneModel model {2};
    LineCalls calls {2};
    BaresipControl control;
    BaresipEventMapper mapper {model, calls, QStringLiteral("sip:kestrun@pbx.example.org")};
    BaresipLineManager lines {model, calls, control};
};

} // namespace

TEST_F(CommandSelection, TakingACallSelectsItFirstAndWaitsForEachAnswer)
{
    lines.HookOff(1);
    ASSERT_TRUE(WaitForSent(1));
    QTest::qWait(100);
    EXPECT_EQ(peer.Sent(), QStringList {"callfind b-2"}) << "nothing more before baresip answered";

    peer.Answer(peer.commands[0]);
    ASSERT_TRUE(WaitForSent(2));
    EXPECT_EQ(peer.Sent(), (QStringList {"callfind b-2", "accept"}));
    EXPECT_NE(peer.commands[0]["token"], peer.commands[1]["token"]);
}

TEST_F(CommandSelection, CommandsQueueBehindEachOther)
{
    lines.HookOn(0);
    lines.HookOff(1);
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(WaitForSent(i + 1));
        peer.Answer(peer.commands[i]);
    }
    EXPECT_EQ(peer.Sent(), (QStringList {"callfind a-1", "hangup", "callfind b-2", "accept"}));
}

TEST_F(CommandSelection, NoCommandWhenBaresipHasNoSuchCall)
{
    QSignalSpy failed(&control, &BaresipControl::commandFailed);
    lines.HookOff(0);
    ASSERT_TRUE(WaitForSent(1));
    peer.Answer(peer.commands[0], "call not found (id=a-1)\n");
    ASSERT_TRUE(Eventually([&] { return failed.size() == 1; }));
    EXPECT_EQ(failed[0][0], "accept");
    QTest::qWait(100);
    EXPECT_EQ(peer.Sent(), QStringList {"callfind a-1"});
}

TEST_F(CommandSelection, DialSendsTheDigitsIntoTheActiveCall)
{
    peer.Send(NetstringReader::encode(R"({"event":true,"type":"CALL_ESTABLISHED","id":"b-2"})"));
    ASSERT_TRUE(Eventually([this] { return model.lineState(1) == SoftphoneModel::LSActive; }));
    lines.Dial(1, "12#a");
    ASSERT_TRUE(WaitForSent(1));
    peer.Answer(peer.commands[0]);
    ASSERT_TRUE(WaitForSent(2));
    EXPECT_EQ(peer.Sent(), (QStringList {"callfind b-2", "sndcode 12#A"}));
    EXPECT_EQ(model.GetLine(1)[SoftphoneModel::SentDtmfKey], QStringList {"12#A"});
}

TEST_F(CommandSelection, RefusedOperationsSendNothing)
{
    struct Case
    {
        std::function<void()> operation;
        SoftphoneError::Kind kind;
        const char* why;
    };
    const Case cases[] = {
        {[this] { lines.Dial(0, "1"); }, SoftphoneError::Kind::InvalidState, "DTMF into a ringing call"},
        {[this] { lines.HookOff(5); }, SoftphoneError::Kind::NoSuchLine, "a line that does not exist"},
        {[this] {
             peer.Send(NetstringReader::encode(R"({"event":true,"type":"CALL_ESTABLISHED","id":"a-1"})"));
             ASSERT_TRUE(Eventually([this] { return model.lineState(0) == SoftphoneModel::LSActive; }));
             lines.Dial(0, "1x");
         },
         SoftphoneError::Kind::InvalidArgument, "a digit DTMF does not have"},
        {[this] {
             peer.Send(NetstringReader::encode(R"({"event":true,"type":"CALL_CLOSED","id":"b-2"})"));
             ASSERT_TRUE(Eventually([this] { return calls.isFree(1); }));
             lines.HookOn(1);
         },
         SoftphoneError::Kind::NoCall, "a line whose call ended"},
    };
    for (const Case& c : cases) {
        try {
            c.operation();
            ADD_FAILURE() << c.why << ": not refused";
        } catch (const SoftphoneError& error) {
            EXPECT_EQ(error.kind(), c.kind) << c.why;
        }
    }
    QTest::qWait(100);
    EXPECT_TRUE(peer.commands.isEmpty());
}

TEST_F(CommandSelection, MalformedFrameNextToAnEventInOneRead)
{
    QSignalSpy rejected(&control, &BaresipControl::frameRejected);
    peer.Send("12:{\"event\":tr;" + NetstringReader::encode(R"({"event":true,"type":"CALL_ESTABLISHED","id":"a-1"})") +
              "8:not json,");
    ASSERT_TRUE(Eventually([this] { return model.lineState(0) == SoftphoneModel::LSActive; }));
    ASSERT_TRUE(Eventually([&] { return rejected.size() == 2; }));
}

TEST_F(CommandSelection, UnansweredCommandGivesWayAfterTheTimeOut)
{
    QSignalSpy failed(&control, &BaresipControl::commandFailed);
    control.setResponseTimeoutMs(200);
    lines.HookOff(0);
    lines.HookOff(1);
    ASSERT_TRUE(Eventually([&] { return failed.size() == 1; }));
    ASSERT_TRUE(WaitForSent(2));
    EXPECT_EQ(peer.Sent(), (QStringList {"callfind a-1", "callfind b-2"}));
}

TEST_F(CommandSelection, LostConnectionFailsWhatWasWaiting)
{
    QSignalSpy failed(&control, &BaresipControl::commandFailed);
    QSignalSpy closed(&control, &BaresipControl::closed);
    lines.HookOff(0);
    lines.HookOff(1);
    ASSERT_TRUE(WaitForSent(1));
    peer.client->abort();
    ASSERT_TRUE(Eventually([&] { return closed.size() == 1; }));
    EXPECT_EQ(failed.size(), 2);
}

// baresip turns a command down, or the call is gone when it is selected: the caller hears of it.
TEST_F(CommandSelection, RefusedCommandsReachTheCaller)
{
    peer.Send(NetstringReader::encode(R"({"event":true,"type":"CALL_ESTABLISHED","id":"b-2"})"));
    ASSERT_TRUE(Eventually([this] { return model.lineState(1) == SoftphoneModel::LSActive; }));
    const struct
    {
        std::function<void(const LineManager::Outcome&)> operation;
        bool callFound;
        const char* answer;
        const char* message;
    } cases[] = {
        {[this](const LineManager::Outcome& outcome) { lines.requestHookOff(0, outcome); }, true,
         "ua_answer failed (Operation not permitted)\n", "cannot take the call: ua_answer failed"},
        {[this](const LineManager::Outcome& outcome) { lines.requestHookOff(0, outcome); }, false,
         "call not found (id=a-1)\n", "cannot take the call: baresip has no call a-1"},
        {[this](const LineManager::Outcome& outcome) { lines.requestHookOn(1, outcome); }, true, "no active call\n",
         "cannot end the call: no active call"},
        {[this](const LineManager::Outcome& outcome) { lines.requestDial(1, "5", outcome); }, true,
         "sndcode failed (Bad message)\n", "cannot dial: sndcode failed"},
    };
    for (const auto& c : cases) {
        std::optional<std::optional<SoftphoneError>> outcome;
        const qsizetype sent = peer.commands.size() + 1;
        c.operation([&](const std::optional<SoftphoneError>& refusal) { outcome = refusal; });
        ASSERT_TRUE(WaitForSent(sent));
        if (c.callFound) {
            peer.Answer(peer.commands.last(), "setting current call: x\n");
            ASSERT_TRUE(WaitForSent(sent + 1));
            peer.Refuse(peer.commands.last(), c.answer);
        } else {
            peer.Answer(peer.commands.last(), c.answer);
        }
        ASSERT_TRUE(Eventually([&] { return outcome.has_value(); })) << c.message;
        ASSERT_TRUE(outcome->has_value()) << c.message << ": reported as done";
        EXPECT_EQ((*outcome)->kind(), SoftphoneError::Kind::Refused) << c.message;
        EXPECT_TRUE((*outcome)->message().startsWith(c.message)) << (*outcome)->message().toStdString();
    }

    std::optional<std::optional<SoftphoneError>> taken;
    const qsizetype sent = peer.commands.size();
    lines.requestHookOff(0, [&](const std::optional<SoftphoneError>& refusal) { taken = refusal; });
    ASSERT_TRUE(WaitForSent(sent + 1));
    peer.Answer(peer.commands.last());
    ASSERT_TRUE(WaitForSent(sent + 2));
    peer.Answer(peer.commands.last());
    ASSERT_TRUE(Eventually([&] { return taken.has_value(); }));
    EXPECT_FALSE(taken->has_value()) << "a command baresip took is done";
}

// The program calls HookOff on the bus: the reply waits for baresip's answer, and a refusal is an error.
TEST_F(CommandSelection, BusCallerGetsBaresipsRefusal)
{
    const QString service = QStringLiteral("com.orvixit.Softphone.test.cmd%1").arg(QCoreApplication::applicationPid());
    ServiceHost host(lines, QDBusConnection::sessionBus(), service);
    host.start();
    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "refusal-client");
    const auto hookOff = [&] {
        QDBusMessage call = QDBusMessage::createMethodCall(service, QLatin1String(SoftphoneBus::LineManagerPath),
                                                           "com.orvixit.Softphone.LineManager", "HookOff");
        call << 0;
        return client.asyncCall(call, 10000);
    };

    QDBusPendingCall refused = hookOff();
    ASSERT_TRUE(WaitForSent(1));
    peer.Answer(peer.commands[0]);
    ASSERT_TRUE(WaitForSent(2));
    EXPECT_FALSE(refused.isFinished()) << "no reply before baresip answered";
    peer.Refuse(peer.commands[1], "ua_answer failed\n");
    ASSERT_TRUE(Eventually([&] { return refused.isFinished(); }));
    EXPECT_TRUE(refused.isError());
    EXPECT_EQ(refused.error().name(), "com.orvixit.Softphone.Error.Refused");

    QDBusPendingCall taken = hookOff();
    ASSERT_TRUE(WaitForSent(3));
    peer.Answer(peer.commands[2]);
    ASSERT_TRUE(WaitForSent(4));
    peer.Answer(peer.commands[3]);
    ASSERT_TRUE(Eventually([&] { return taken.isFinished(); }));
    EXPECT_FALSE(taken.isError()) << taken.error().message().toStdString();
    QDBusConnection::disconnectFromBus("refusal-client");
}
