// From the softphone's notification to the start of the first action of a
// firing rule, through the session bus: the simulator announces a ringing call,
// the event controller reads the line, matches the rule and runs it. The
// baseline is the bare trip of the same announcement to a plain signal handler
// in this process, measured in the same run. The trace writes its file at debug
// level, as in the program.
#include "BenchRatios.h"

#include "engine/RulesRun.h"
#include "model/ActionSequence.h"
#include "model/BaseAction.h"
#include "model/Rule.h"
#include "rulesfile/Parameters.h"
#include "telephony/DBusLineManagerService.h"
#include "telephony/OrvixEvent.h"
#include "trace/Trace.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

const QString Service = QStringLiteral("com.orvixit.Softphone.bench.p%1").arg(QCoreApplication::applicationPid());

// The first action of the rule: notes when it starts.
class StartMark : public TBaseAction
{
public:
    void ExecuteAction(TActionContext&) override { started = Clock::now(); }
    Clock::time_point started;
};

// A plain receiver of the notification, the baseline.
class SignalMark : public QObject
{
    Q_OBJECT

public slots:
    void Notified(int eventMsg, int eventParam)
    {
        if (eventMsg == 28 && ((eventParam >> 8) & 0xFF) == 3)
            ringing = Clock::now();
        if (eventMsg == 28 && ((eventParam >> 8) & 0xFF) == 0)
            idle = true;
    }

public:
    Clock::time_point ringing;
    bool idle = false;
};

bool WaitFor(const std::function<bool()>& condition)
{
    QDeadlineTimer deadline(10000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The simulator program, the trace file, and the controls of one call.
class Bench
{
public:
    static Bench& Instance()
    {
        static Bench bench;
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
    Bench()
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
        Trace::Configure(QStringLiteral("Kestrun Event Controller for OrvixIt!"),
                         QStringLiteral("file(filename=\"%1\", maxsize=20480, append=true)")
                             .arg(m_folder.filePath(QStringLiteral("trace.sil"))));
        Trace::SetLevel(TraceLevel::Debug);
        Trace::SetEnabled(true);
    }

    ~Bench()
    {
        Trace::SetEnabled(false);
        m_softphone.terminate();
        m_softphone.waitForFinished();
    }

    QTemporaryDir m_folder;
    QProcess m_softphone;
    std::unique_ptr<DBusLineManagerService> m_bus;
    std::unique_ptr<QDBusInterface> m_simulator;
};

void Connect(SignalMark& mark)
{
    QDBusConnection::sessionBus().connect(Service, QStringLiteral("/com/orvixit/Softphone/LineManager"),
                                          QStringLiteral("com.orvixit.Softphone.LineManager"),
                                          QStringLiteral("LineMgrNotification"), &mark, SLOT(Notified(int, int)));
}

void BM_SignalRoundTrip(benchmark::State& state)
{
    Bench& bench = Bench::Instance();
    SignalMark mark;
    Connect(mark);
    for (auto _ : state) {
        const auto elapsed = bench.OneCall(mark, [&mark](Clock::time_point& at) {
            at = mark.ringing;
            return at.time_since_epoch().count() != 0;
        });
        state.SetIterationTime(elapsed.count());
        mark.ringing = {};
    }
}
BENCHMARK(BM_SignalRoundTrip)->UseManualTime()->Iterations(200)->Repetitions(3)->Unit(benchmark::kMicrosecond);

void BM_NotificationToAction(benchmark::State& state)
{
    Bench& bench = Bench::Instance();
    auto model = std::make_shared<TParameters>();
    auto* sequence = new TActionSequence;
    auto* action = new StartMark;
    sequence->AddNewItem(action);
    model->ActionSequences().AddNewItem(sequence);
    auto* rule = new TRule;
    rule->SetCallOptionBase({cobIn});
    rule->SetCallOptionInEx({coIntern, coExtern});
    rule->SetCallOptionIn({coiIncomingCall});
    rule->AddNewItem(sequence);
    model->Rules().AddNewItem(rule);
    TOrvixEventController controller(&bench.Bus());
    controller.SetRuleRunner(
        [model](TOrvixLine& line, const QString& lineState) { RunRules(*model, line, lineState); });

    SignalMark mark;
    Connect(mark);
    for (auto _ : state) {
        action->started = {};
        const auto elapsed = bench.OneCall(mark, [action](Clock::time_point& at) {
            at = action->started;
            return at.time_since_epoch().count() != 0;
        });
        state.SetIterationTime(elapsed.count());
    }
}
BENCHMARK(BM_NotificationToAction)->UseManualTime()->Iterations(200)->Repetitions(3)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return RunBenchmarksWithGoals(
        argc, argv, {{"notification_to_action_vs_signal", "BM_NotificationToAction", "BM_SignalRoundTrip", 3.0}});
}

#include "latency.moc"
