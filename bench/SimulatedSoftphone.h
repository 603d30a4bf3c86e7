// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The simulated softphone (orvix-linesim) of the benchmarks that play calls
// through the session bus, and a plain receiver of its notifications, which
// those benchmarks take as their baseline. The trace writes its file at debug
// level, as in the program.

#include "model/ActionSequence.h"
#include "model/BaseAction.h"
#include "model/Rule.h"
#include "rulesfile/Parameters.h"
#include "telephony/DBusLineManagerService.h"
#include "trace/Trace.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>

using Clock = std::chrono::steady_clock;

inline const QString Service =
    QStringLiteral("com.orvixit.Softphone.bench.p%1").arg(QCoreApplication::applicationPid());

// A plain receiver of the notification, the baseline.
class SignalMark : public QObject
{
    Q_OBJECT

public slots:
    void Notified(int eventMsg, int eventParam)
    {
        if (eventMsg == 28 && ((eventParam >> 8) & 0xFF) == 3) {
            ringing = Clock::now();
            if (onRinging)
                onRinging();
        }
        if (eventMsg == 28 && ((eventParam >> 8) & 0xFF) == 0)
            idle = true;
    }

public:
    Clock::time_point ringing;
    bool idle = false;
    // Runs when the ringing arrives (a baseline's own reaction to it).
    std::function<void()> onRinging;
};

inline bool WaitFor(const std::function<bool()>& condition)
{
    QDeadlineTimer deadline(10000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The trace writes its file at debug level, as in the program, from the first softphone's start to the
// end of the benchmark program.
class DebugTraceFile
{
public:
    static void Start() { static DebugTraceFile trace; }

private:
    DebugTraceFile()
    {
        Trace::Configure(QStringLiteral("Kestrun Event Controller for OrvixIt!"),
                         QStringLiteral("file(filename=\"%1\", maxsize=20480, append=true)")
                             .arg(m_folder.filePath(QStringLiteral("trace.sil"))));
        Trace::SetLevel(TraceLevel::Debug);
        Trace::SetEnabled(true);
    }
    ~DebugTraceFile() { Trace::SetEnabled(false); }

    QTemporaryDir m_folder;
};

// The simulator program and the controls of one call.
class SimulatedSoftphone
{
public:
    static SimulatedSoftphone& Instance()
    {
        static SimulatedSoftphone bench;
        return bench;
    }

    QDBusInterface& Simulator() { return *m_simulator; }
    DBusLineManagerService& Bus() { return *m_bus; }

    // Rings line 0 and returns when the line is idle again after a hang-up.
    template <typename Arrived>
    std::chrono::duration<double> OneCall(SignalMark& mark, Arrived&& arrived)
    {
        mark.idle = false;
        const auto sent = Clock::now();
        m_simulator->asyncCall(QStringLiteral("Incoming"), 0, QStringLiteral("0301234567"), QStringLiteral("Anna Berg"),
                               QStringLiteral("21"), QString(), 0);
        Clock::time_point at;
        if (!WaitFor([&] { return arrived(at) && at >= sent; }))
            throw std::runtime_error("the call did not arrive");
        m_simulator->call(QStringLiteral("Hangup"), 0);
        if (!WaitFor([&] { return mark.idle; }))
            throw std::runtime_error("the line did not go idle");
        return at - sent;
    }

private:
    SimulatedSoftphone()
    {
        m_softphone.start(QStringLiteral(ORVIX_LINESIM_EXECUTABLE),
                          {QStringLiteral("--service"), Service, QStringLiteral("serve"),
                           QStringLiteral("--terminated-ms"), QStringLiteral("0")});
        m_bus = std::make_unique<DBusLineManagerService>(Service);
        if (!m_softphone.waitForStarted() || !WaitFor([this] { return m_bus->IsAvailable(); }))
            throw std::runtime_error("orvix-linesim did not start (is there a session bus?)");
        m_simulator = std::make_unique<QDBusInterface>(Service, QStringLiteral("/com/orvixit/Softphone/Simulator"),
                                                       QStringLiteral("com.orvixit.Softphone.Simulator"),
                                                       QDBusConnection::sessionBus());
        DebugTraceFile::Start();
    }

    ~SimulatedSoftphone()
    {
        m_softphone.terminate();
        m_softphone.waitForFinished();
    }

    QProcess m_softphone;
    std::unique_ptr<DBusLineManagerService> m_bus;
    std::unique_ptr<QDBusInterface> m_simulator;
};

// Lets the mark hear the line manager of the softphone on that bus name.
inline void Connect(SignalMark& mark, const QString& service = Service)
{
    QDBusConnection::sessionBus().connect(service, QStringLiteral("/com/orvixit/Softphone/LineManager"),
                                          QStringLiteral("com.orvixit.Softphone.LineManager"),
                                          QStringLiteral("LineMgrNotification"), &mark, SLOT(Notified(int, int)));
}

// A model in which every incoming call runs one sequence holding the action.
inline std::shared_ptr<TParameters> IncomingCallModel(TBaseAction* action)
{
    auto model = std::make_shared<TParameters>();
    auto* sequence = new TActionSequence;
    sequence->AddNewItem(action);
    model->ActionSequences().AddNewItem(sequence);
    auto* rule = new TRule;
    rule->SetCallOptionBase({cobIn});
    rule->SetCallOptionInEx({coIntern, coExtern});
    rule->SetCallOptionIn({coiIncomingCall});
    rule->AddNewItem(sequence);
    model->Rules().AddNewItem(rule);
    return model;
}
