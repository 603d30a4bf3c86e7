// SPDX-License-Identifier: GPL-3.0-or-later

// One call state offered to N rules of mixed kinds, a few of which fire (with
// empty sequences): the matching loop a line runs for each state. Measured with
// the trace writing its file at debug level against the trace switched off, and
// as absolute times for 100, 1,000 and 10,000 rules.
#include "BenchRatios.h"

#include "engine/RulesRun.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "model/Rule.h"
#include "rulesfile/Parameters.h"
#include "trace/Trace.h"

#include <QTemporaryDir>

#include <map>
#include <memory>

namespace {

// Every 50th rule fires for the ringing call from Berlin; the others miss it in
// different ways: other kinds, other numbers, other situations.
std::shared_ptr<TParameters> MakeModel(int ruleCount)
{
    auto model = std::make_shared<TParameters>();
    auto* sequence = new TActionSequence;
    sequence->SetName(QStringLiteral("Leer"));
    model->ActionSequences().AddNewItem(sequence);
    for (int i = 0; i < ruleCount; ++i) {
        auto* rule = new TRule;
        rule->SetName(QStringLiteral("Regel %1").arg(i));
        rule->SetCallOptionInEx({coIntern, coExtern});
        rule->AddNewItem(sequence);
        switch (i % 5) {
        case 0:
            rule->SetCallOptionBase({cobIn});
            rule->SetCallOptionIn({coiIncomingCall});
            rule->SetCallOptionInNumber({coinFromNumber});
            rule->SetFromNumberIn(i % 50 == 0 ? QStringLiteral("+4930*;+4940*") : QStringLiteral("+4989*;0800*"));
            break;
        case 1:
            rule->SetCallOptionBase({cobOut});
            rule->SetCallOptionOut({cooAll});
            break;
        case 2:
            rule->SetCallOptionBase({cobIn});
            rule->SetCallOptionIn({coiCallTerminated});
            break;
        case 3:
            rule->SetCallOptionBase({cobNotification});
            break;
        default:
            rule->SetCallOptionBase({cobTransfer});
            break;
        }
        model->Rules().AddNewItem(rule);
    }
    return model;
}

TOrvixLine& RingingLine()
{
    static TOrvixLine line;
    line.SetLineIndex(0);
    line.SetLineState(QStringLiteral("LSRinging"));
    line.SetCallId(7);
    line.SetIsOutgoingCall(0);
    line.SetIsInternalCall(0);
    line.SetCallerNumber(QStringLiteral("+49301234567"));
    line.SetCallerName(QStringLiteral("Anna Berg"));
    line.SetIncomingExtension(QStringLiteral("21"));
    return line;
}

// The trace as the program configures it, writing into a temporary folder.
class TraceFile
{
public:
    explicit TraceFile(bool on)
    {
        Trace::Configure(QStringLiteral("Kestrun Event Controller for OrvixIt!"),
                         QStringLiteral("file(filename=\"%1\", maxsize=20480, append=true)")
                             .arg(m_folder.filePath(QStringLiteral("trace.sil"))));
        Trace::SetLevel(TraceLevel::Debug);
        Trace::SetEnabled(on);
    }
    ~TraceFile()
    {
        Trace::SetEnabled(false);
        Trace::Configure({}, {});
    }

private:
    QTemporaryDir m_folder;
};

void Dispatch(benchmark::State& state, bool traceOn)
{
    const auto model = MakeModel(int(state.range(0)));
    TraceFile trace(traceOn);
    TOrvixLine& line = RingingLine();
    for (auto _ : state)
        RunRules(*model, line, QStringLiteral("LSRinging"));
}

void BM_DispatchTraceOff(benchmark::State& state)
{
    Dispatch(state, false);
}
BENCHMARK(BM_DispatchTraceOff)->Arg(1000)->Repetitions(3)->Unit(benchmark::kMicrosecond);

void BM_DispatchTraceOn(benchmark::State& state)
{
    Dispatch(state, true);
}
BENCHMARK(BM_DispatchTraceOn)->Arg(1000)->Repetitions(3)->Unit(benchmark::kMicrosecond);

void BM_DispatchByRules(benchmark::State& state)
{
    Dispatch(state, true);
}
BENCHMARK(BM_DispatchByRules)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithGoals(argc, argv,
                                  {{"dispatch_trace_on_vs_off", "BM_DispatchTraceOn", "BM_DispatchTraceOff", 3.0}},
                                  {"BM_DispatchByRules/100", "BM_DispatchByRules/1000", "BM_DispatchByRules/10000"});
}
