#pragma once
// Prints, after the usual console report, every benchmark's mean time as a
// multiple of a baseline benchmark's from the same run: real time, and
// processor time, which a machine busy with other work disturbs less.
#include <benchmark/benchmark.h>

#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter(std::string baselineName, std::string baselineText)
        : baselineName_(std::move(baselineName)), baselineText_(std::move(baselineText)) {}
    // Each benchmark against its own baseline, named from the benchmark's name.
    RatioReporter(std::function<std::string(const std::string&)> baselineOf, std::string baselineText)
        : baselineOf_(std::move(baselineOf)), baselineText_(std::move(baselineText)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            Times& times = timesByName_[run.run_name.str()];
            times.Real += run.GetAdjustedRealTime();
            times.Cpu += run.GetAdjustedCPUTime();
            ++times.Runs;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::cout << "\nmean time / " << baselineText_ << " (real, cpu):\n";
        for (const auto& [name, times] : timesByName_) {
            const auto baseline = timesByName_.find(baselineOf_ ? baselineOf_(name) : baselineName_);
            if (baseline == timesByName_.end()) continue;
            const Times& base = baseline->second;
            std::cout << "  " << name << ": " << (times.Real / times.Runs) / (base.Real / base.Runs) << ", "
                      << (times.Cpu / times.Runs) / (base.Cpu / base.Runs) << "\n";
        }
    }

private:
    struct Times {
        double Real = 0;
        double Cpu = 0;
        int Runs = 0;
    };
    std::string baselineName_;
    std::function<std::string(const std::string&)> baselineOf_;
    std::string baselineText_;
    std::map<std::string, Times> timesByName_;
};
