// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Turns a benchmark program's results into the goal lines bench/run prints:
//     rules_load: ratio 1.62 (goal 2.0)
// Each goal compares a benchmark with a baseline measured in the same run. The
// fastest repetition of each counts, which is least disturbed by other work on
// the machine. The usual benchmark table goes to stderr, the goal lines to stdout.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <limits>
#include <map>
#include <string>
#include <vector>

struct BenchGoal
{
    std::string name;
    std::string benchmark;
    std::string baseline;
    double goal;
};

class BenchRatioReporter : public benchmark::ConsoleReporter
{
public:
    BenchRatioReporter() { SetOutputStream(&std::cerr); }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            double& best =
                m_seconds.try_emplace(run.run_name.function_name, std::numeric_limits<double>::max()).first->second;
            double& bestOfRun =
                m_runSeconds.try_emplace(run.run_name.str(), std::numeric_limits<double>::max()).first->second;
            bestOfRun = std::min(bestOfRun, run.real_accumulated_time / double(run.iterations));
            best = std::min(best, run.real_accumulated_time / double(run.iterations));
        }
    }

    // Prints one line per goal; returns false when a figure is missing.
    bool PrintGoals(const std::vector<BenchGoal>& goals) const
    {
        bool complete = true;
        for (const BenchGoal& goal : goals) {
            const auto measured = m_seconds.find(goal.benchmark);
            const auto baseline = m_seconds.find(goal.baseline);
            if (measured == m_seconds.end() || baseline == m_seconds.end() || baseline->second <= 0) {
                std::printf("%s: ratio missing (goal %.1f)\n", goal.name.c_str(), goal.goal);
                complete = false;
                continue;
            }
            std::printf("%s: ratio %.2f (goal %.1f)\n", goal.name.c_str(), measured->second / baseline->second,
                        goal.goal);
        }
        std::fflush(stdout);
        return complete;
    }

    // Prints one line per named run with its time per iteration, e.g.
    //     BM_DispatchByRules/1000: 1234.5 us per iteration
    void PrintFigures(const std::vector<std::string>& runs) const
    {
        for (const std::string& name : runs) {
            const auto found = m_runSeconds.find(name);
            if (found != m_runSeconds.end())
                std::printf("%s: %.1f us per iteration\n", name.c_str(), found->second * 1e6);
        }
        std::fflush(stdout);
    }

private:
    std::map<std::string, double> m_seconds;
    std::map<std::string, double> m_runSeconds;
};

// The main of a benchmark program with goals.
// Figures: runs (with their arguments, e.g. "BM_Dispatch/1000") whose absolute time is printed as well.
inline int RunBenchmarksWithGoals(int argc, char** argv, const std::vector<BenchGoal>& goals,
                                  const std::vector<std::string>& figures = {})
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    BenchRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintFigures(figures);
    return reporter.PrintGoals(goals) ? 0 : 1;
}
