// SPDX-License-Identifier: GPL-3.0-or-later

// From the softphone's notification to the start of the first action of a
// firing rule, through the session bus: the simulator announces a ringing call,
// the event controller reads the line, matches the rule and runs it. The
// baseline is the bare trip of the same announcement to a plain signal handler
// in this process, measured in the same run. The trace writes its file at debug
// level, as in the program.
#include "BenchRatios.h"
#include "EventToAction.h"
#include "SimulatedSoftphone.h"

#include <QCoreApplication>

namespace {

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
    TimeEventToAction(state, SimulatedSoftphone::Instance(), Service);
}
BENCHMARK(BM_NotificationToAction)->UseManualTime()->Iterations(200)->Repetitions(3)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return RunBenchmarksWithGoals(
        argc, argv, {{"notification_to_action_vs_signal", "BM_NotificationToAction", "BM_SignalRoundTrip", 3.0}});
}
