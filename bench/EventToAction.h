// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// From a softphone's report of a ringing call to the start of the first action
// of a firing rule, through the session bus: the softphone announces the call,
// the event controller reads the line, matches the rule and runs it.

#include "SimulatedSoftphone.h"

#include "engine/RulesRun.h"
#include "rulesfile/Parameters.h"
#include "telephony/OrvixEvent.h"

#include <benchmark/benchmark.h>

#include <memory>

// The first action of the rule: notes when it starts.
class StartMark : public TBaseAction
{
public:
    void ExecuteAction(TActionContext&) override { started = Clock::now(); }
    Clock::time_point started;
};

// One iteration is one call of the softphone (SimulatedSoftphone, or another with its OneCall and Bus)
// whose line manager is on the bus under that name; its time runs to the start of the rule's action.
template <typename Softphone>
void TimeEventToAction(benchmark::State& state, Softphone& softphone, const QString& service)
{
    auto* action = new StartMark;
    const std::shared_ptr<TParameters> model = IncomingCallModel(action);
    TOrvixEventController controller(&softphone.Bus());
    controller.SetRuleRunner(
        [model](TOrvixLine& line, const QString& lineState) { RunRules(*model, line, lineState); });

    SignalMark mark;
    Connect(mark, service);
    for (auto _ : state) {
        action->started = {};
        const auto elapsed = softphone.OneCall(mark, [action](Clock::time_point& at) {
            at = action->started;
            return at.time_since_epoch().count() != 0;
        });
        state.SetIterationTime(elapsed.count());
    }
}
