// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipCallSync.h"
#include "BaresipEventMapper.h"
#include "BaresipTestSupport.h"
#include "LineCalls.h"
#include "ListenerOwner.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTcpServer>

#include <gtest/gtest.h>

using namespace baresip_test;

// What baresip 1.0 answered to "listcalls" and "callstat" with two calls ringing.
TEST(BaresipCallSync, ReadsBaresipsCallList)
{
    EXPECT_EQ(
        BaresipCallSync::parseCallList("\n--- Active calls (2) ---\n"
                                       "  [line 1]  0:00:00   INCOMING             sip:089123456@127.0.0.1:25070\n"
                                       "> [line 2]  0:00:00   INCOMING             sip:089123456@127.0.0.1:25070\n\n"),
        (QList<int> {1, 2}));
    EXPECT_TRUE(BaresipCallSync::parseCallList("\n--- Active calls (0) ---\n\n").isEmpty());
}

TEST(BaresipCallSync, ReadsACallsStatus)
{
    const std::optional<BaresipEvent> call =
        BaresipCallSync::parseCallStatus("\n===== Call debug (INCOMING) =====\n"
                                         " local_uri:  <sip:kestrun@127.0.0.1:25060>\n"
                                         " peer_uri:  J\uFFFDrgen M\uFFFDller <sip:089123456@127.0.0.1:25070>\n"
                                         " af=AF_INET id=1-10792@127.0.0.1\n"
                                         " direction: Incoming\n"
                                         "SDP session\n  local attributes:\n    tool='baresip 1.0.0'\n");
    ASSERT_TRUE(call.has_value());
    EXPECT_EQ(call->type, "CALL_INCOMING");
    EXPECT_EQ(call->callId, "1-10792@127.0.0.1");
    EXPECT_EQ(call->direction, "incoming");
    EXPECT_EQ(call->peerUri, "sip:089123456@127.0.0.1:25070");
    EXPECT_EQ(call->peerName, QString::fromUtf8("J\uFFFDrgen M\uFFFDller"));

    const struct
    {
        const char* state;
        const char* type;
    } states[] = {
        {"RINGING", "CALL_RINGING"}, {"EARLY", "CALL_PROGRESS"}, {"ESTABLISHED", "CALL_ESTABLISHED"}, {"OUTGOING", ""}};
    for (const auto& s : states) {
        const auto status = BaresipCallSync::parseCallStatus(
            QStringLiteral("===== Call debug (%1) =====\n peer_uri:  <sip:0301234@h>\n af=AF_INET id=x-1\n"
                           " direction: Outgoing\n")
                .arg(QLatin1String(s.state)));
        ASSERT_TRUE(status.has_value()) << s.state;
        EXPECT_EQ(status->type, s.type) << s.state;
        EXPECT_EQ(status->direction, "outgoing");
        EXPECT_TRUE(status->peerName.isEmpty());
    }
    EXPECT_FALSE(BaresipCallSync::parseCallStatus("call not found\n").has_value());
}

// After the connection was away: a call that ended meanwhile leaves its line, one that was taken
// meanwhile is active, one that came meanwhile rings, one dialing goes on untouched.
TEST(BaresipCallSync, LinesCatchUpWithBaresipsCalls)
{
    SoftphoneModel model {3};
    LineCalls calls {3};
    BaresipEventMapper mapper {model, calls, QStringLiteral("sip:kestrun@pbx.example.org")};
    const auto event = [](const char* type, const char* id, const char* direction = "incoming") {
        BaresipEvent e;
        e.type = QLatin1String(type);
        e.callId = QLatin1String(id);
        e.direction = QLatin1String(direction);
        e.peerUri = QStringLiteral("sip:0891234@192.0.2.7");
        return e;
    };
    mapper.apply(event("CALL_INCOMING", "ended"));
    mapper.apply(event("CALL_INCOMING", "taken"));
    mapper.apply(event("CALL_RINGING", "out", "outgoing"));

    BaresipEvent dialing = event("", "out", "outgoing");
    mapper.reconcile({event("CALL_ESTABLISHED", "taken"), event("CALL_INCOMING", "new"), dialing});
    EXPECT_EQ(calls.lineOf("ended"), -1);
    EXPECT_EQ(model.GetLine(1)["DispState"], int(SoftphoneModel::LSActive));
    EXPECT_EQ(calls.lineOf("new"), 0) << "the line the ended call left";
    EXPECT_EQ(model.GetLine(0)["DispState"], int(SoftphoneModel::LSRinging));
    EXPECT_EQ(model.GetLine(2)["DispState"], int(SoftphoneModel::LSAlerting));
    EXPECT_EQ(calls.lineOf("out"), 2);
}

TEST(ListenerOwner, OnlyTheProcessThatListensOwnsThePort)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    const qint64 self = QCoreApplication::applicationPid();
    EXPECT_TRUE(listensOn(self, server.serverPort()));

    QProcess other;
    other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(other.waitForStarted());
    EXPECT_FALSE(listensOn(other.processId(), server.serverPort()));
    other.kill();
    other.waitForFinished();

    const quint16 port = server.serverPort();
    server.close();
    EXPECT_FALSE(listensOn(self, port)) << "nothing listens any more";
}
