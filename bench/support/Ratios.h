#pragma once
// Side-by-side benchmarks: the real time of every run kept by name, to print ratios after the runs.

#include <benchmark/benchmark.h>
#include <map>
#include <string>

namespace bench {

// The value of the first name that starts with the prefix ("Ours/Sheet/" also finds "Ours/Sheet");
// 0 when there is none.
inline double FirstWithPrefix(const std::map<std::string, double>& values, const std::string& prefix) {
    for (const auto& [name, value] : values)
        if (name.rfind(prefix, 0) == 0 || (name + "/").rfind(prefix, 0) == 0)
            return value;
    return 0.0;
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            Times[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    double Time(const std::string& prefix) const { return FirstWithPrefix(Times, prefix); }

    std::map<std::string, double> Times;
};

} // namespace bench
