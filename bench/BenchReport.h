#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Console output as usual, and each benchmark's median CPU time per iteration,
// in seconds, kept by name (like bytes_per_second, and steadier than wall time on a
// shared machine). Without repetitions the single run counts.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!run.error_occurred && (single || median)) {
                seconds[run.run_name.function_name] =
                    run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

inline void PrintRatio(const CollectingReporter& reporter, const char* label,
                       const std::string& ours, const std::string& theirs) {
    const auto o = reporter.seconds.find(ours);
    const auto t = reporter.seconds.find(theirs);
    if (o != reporter.seconds.end() && t != reporter.seconds.end() && o->second > 0) {
        std::printf("%s: %.2f\n", label, t->second / o->second);
    }
}
