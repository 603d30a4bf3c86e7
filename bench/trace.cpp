// SPDX-License-Identifier: GPL-3.0-or-later

// What an entry costs the caller: next to nothing while the trace is off, and a
// formatted, flushed line in a file while it is on.
#include "trace/Trace.h"

#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

class TraceFixture : public benchmark::Fixture
{
public:
    void SetUp(benchmark::State& state) override
    {
        const bool on = state.range(0) != 0;
        if (on)
            Trace::Configure(u"Kestrun Bench"_s,
                             u"file(filename=\"%1\", maxsize=1MB)"_s.arg(m_folder.filePath(u"bench.sil"_s)));
        Trace::SetLevel(TraceLevel::Debug);
        Trace::SetEnabled(on);
        state.SetLabel(on ? "on, file" : "off");
    }

    void TearDown(benchmark::State&) override
    {
        Trace::SetEnabled(false);
        Trace::Configure({}, {});
    }

private:
    QTemporaryDir m_folder;
};

BENCHMARK_DEFINE_F(TraceFixture, Value)(benchmark::State& state)
{
    qint64 count = 0;
    for (auto _ : state)
        Trace::Value(u"Bench::Value:Count", ++count);
}

BENCHMARK_DEFINE_F(TraceFixture, Object)(benchmark::State& state)
{
    QTimer timer;
    timer.setInterval(250);
    for (auto _ : state)
        Trace::Object(u"Bench::Object:Timer", &timer);
}

BENCHMARK_REGISTER_F(TraceFixture, Value)->Arg(0)->Arg(1);
BENCHMARK_REGISTER_F(TraceFixture, Object)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
