// SPDX-License-Identifier: GPL-3.0-or-later

// From the softphone's report of an incoming call to the start of the first
// action of a firing rule, through orvix-baresip: a recorded "incoming call"
// event of baresip goes out of a stand-in for baresip's control socket (reached
// through baresip-relay.py, which the bridge starts as its baresip), the bridge
// reads the frame, rings line 0 and announces it on the session bus, the
// event controller reads the line, matches the rule and runs it. The baseline is
// the same call started in orvix-linesim, measured in the same run; both
// softphones are programs of their own behind the session bus.
#include "BenchRatios.h"
#include "EventToAction.h"
#include "SimulatedSoftphone.h"

#include "NetstringReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcessEnvironment>
#include <QTcpServer>
#include <QTcpSocket>

#include <stdexcept>

namespace {

// orvix-baresip attached to a stand-in for baresip's control socket, which replays recorded frames. The
// bridge talks only to a baresip it started, so it starts baresip-relay.py, which passes the frames on.
class BridgedSoftphone
{
public:
    static inline const QString Service =
        QStringLiteral("com.orvixit.Softphone.bench.bridge.p%1").arg(QCoreApplication::applicationPid());

    static BridgedSoftphone& Instance()
    {
        static BridgedSoftphone bench;
        return bench;
    }

    DBusLineManagerService& Bus() { return *m_bus; }

    // baresip reports a new incoming call; returns when the line is idle again after baresip reported its end.
    template <typename Arrived>
    std::chrono::duration<double> OneCall(SignalMark& mark, Arrived&& arrived)
    {
        const QByteArray callId = "bench-" + QByteArray::number(++m_calls);
        mark.idle = false;
        const auto sent = Clock::now();
        Send(m_incoming, callId);
        Clock::time_point at;
        if (!WaitFor([&] { return arrived(at) && at >= sent; }))
            throw std::runtime_error("the call did not arrive");
        Send(m_closed, callId);
        if (!WaitFor([&] { return mark.idle; }))
            throw std::runtime_error("the line did not go idle");
        return at - sent;
    }

private:
    // The Call-ID in the recording; each replayed call gets one of its own.
    static constexpr const char* RecordedCallId = "1-5901@127.0.0.1";

    BridgedSoftphone()
    {
        QFile recording(QStringLiteral(BARESIP_RECORDING));
        if (!recording.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read " BARESIP_RECORDING);
        for (const QByteArray& frame : NetstringReader().feed(recording.readAll()).frames) {
            if (frame.contains("\"type\":\"CALL_INCOMING\""))
                m_incoming = frame;
            else if (frame.contains("\"type\":\"CALL_CLOSED\""))
                m_closed = frame;
        }
        if (m_incoming.isEmpty() || m_closed.isEmpty())
            throw std::runtime_error("the recording lacks an incoming call or its end");

        if (!m_ctrlSocket.listen(QHostAddress::LocalHost, 0))
            throw std::runtime_error("cannot listen on 127.0.0.1");
        m_bridge.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("BENCH_CTRL_PORT"), QString::number(m_ctrlSocket.serverPort()));
        m_bridge.setProcessEnvironment(environment);
        m_bridge.start(QStringLiteral(ORVIX_BARESIP_EXECUTABLE),
                       {QStringLiteral("--service"), Service, QStringLiteral("serve"), QStringLiteral("--baresip"),
                        QStringLiteral(BARESIP_RELAY), QStringLiteral("--terminated-ms"), QStringLiteral("0"),
                        QStringLiteral("--folder"), m_folder.path()});
        if (!WaitFor([this] { return m_ctrlSocket.hasPendingConnections(); })) {
            throw std::runtime_error("orvix-baresip did not attach (is baresip-core installed?): " +
                                     m_bridge.readAll().toStdString());
        }
        m_peer = m_ctrlSocket.nextPendingConnection();
        m_bus = std::make_unique<DBusLineManagerService>(Service);
        if (!WaitFor([this] { return m_bus->IsAvailable(); }))
            throw std::runtime_error("orvix-baresip is not on the session bus");
        DebugTraceFile::Start();
    }

    ~BridgedSoftphone()
    {
        m_bridge.terminate();
        m_bridge.waitForFinished();
    }

    void Send(QByteArray frame, const QByteArray& callId)
    {
        m_peer->write(NetstringReader::encode(frame.replace(RecordedCallId, callId)));
        m_peer->flush();
    }

    QTemporaryDir m_folder;
    QTcpServer m_ctrlSocket;
    QTcpSocket* m_peer = nullptr;
    // After the control socket: the bridge ends first, before it could miss its baresip and start one.
    QProcess m_bridge;
    std::unique_ptr<DBusLineManagerService> m_bus;
    QByteArray m_incoming;
    QByteArray m_closed;
    int m_calls = 0;
};

void BM_SimulatorEventToAction(benchmark::State& state)
{
    TimeEventToAction(state, SimulatedSoftphone::Instance(), Service);
}
BENCHMARK(BM_SimulatorEventToAction)->UseManualTime()->Iterations(200)->Repetitions(3)->Unit(benchmark::kMicrosecond);

void BM_BridgeEventToAction(benchmark::State& state)
{
    BridgedSoftphone* bridge = nullptr;
    try {
        bridge = &BridgedSoftphone::Instance();
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    TimeEventToAction(state, *bridge, BridgedSoftphone::Service);
}
BENCHMARK(BM_BridgeEventToAction)->UseManualTime()->Iterations(200)->Repetitions(3)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return RunBenchmarksWithGoals(
        argc, argv,
        {{"bridge_event_to_action_vs_simulator", "BM_BridgeEventToAction", "BM_SimulatorEventToAction", 1.5}});
}
