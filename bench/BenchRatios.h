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
            double& best = m_seconds.try_emplace(run.run_name.function_name, std::numeric_limits<double>::max())
                               .first->second;
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

private:
    std::map<std::string, double> m_seconds;
};

// The main of a benchmark program with goals.
inline int RunBenchmarksWithGoals(int argc, char** argv, const std::vector<BenchGoal>& goals)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    BenchRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.PrintGoals(goals) ? 0 : 1;
}
