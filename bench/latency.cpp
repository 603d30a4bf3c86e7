// From the softphone's notification to the start of the first action of a
// firing rule, through the session bus: the simulator announces a ringing call,
// the event controller reads the line, matches the rule and runs it. The
// baseline is the bare trip of the same announcement to a plain signal handler
// in this process, measured in the same run. The trace writes its file at debug
// level, as in the program.
#include "BenchRatios.h"
#include "SimulatedSoftphone.h"

#include "engine/RulesRun.h"
#include "rulesfile/Parameters.h"
#include "telephony/OrvixEvent.h"

#include <QCoreApplication>

#include <memory>

namespace {

// The first action of the rule: notes when it starts.
class StartMark : public TBaseAction
{
public:
    void ExecuteAction(TActionContext&) override { started = Clock::now(); }
    Clock::time_point started;
};

void BM_SignalRoundTrip(benchmark::State& state)
{
    SimulatedSoftphone& bench = SimulatedSoftphone::Instance();
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
    SimulatedSoftphone& bench = SimulatedSoftphone::Instance();
    auto* action = new StartMark;
    const std::shared_ptr<TParameters> model = IncomingCallModel(action);
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
