// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the benchmark programs: a console reporter that keeps the median of every
// benchmark, the summary lines scripts/bench.sh collects, and a busy level for the game benches.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "MapText.h"
#include "PlatformState.h"

namespace zorvik::bench {

// Prints as the console reporter does and remembers each benchmark's median CPU time (ms) and
// counters by function name; without repetitions the single run stands for the median.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    struct Result {
        double ms = 0.0;
        std::map<std::string, double> counters;
    };

    MedianReporter() : benchmark::ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        benchmark::ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const std::string name = run.run_name.function_name;
            if (!median && (run.run_type != Run::RT_Iteration || medians_.count(name) != 0))
                continue;
            if (!median && run.repetitions > 1) continue;
            Result r;
            // CPU time: the machine is shared, and wall-clock time mostly measures the waits
            // for a core. Manual timings are taken as this thread's CPU time too.
            const bool manual = run.run_name.str().find("manual_time") != std::string::npos;
            r.ms = (manual ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime()) *
                   Factor(run.time_unit);
            for (const auto& [key, counter] : run.counters)
                r.counters[key] = counter.value;
            medians_[name] = r;
        }
    }

    // The median of the named benchmark; zero when it did not run.
    Result Get(const std::string& name) const {
        auto it = medians_.find(name);
        return it == medians_.end() ? Result{} : it->second;
    }

  private:
    static double Factor(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond:
                return 1e-6;
            case benchmark::kMicrosecond:
                return 1e-3;
            case benchmark::kMillisecond:
                return 1.0;
            default:
                return 1e3;
        }
    }
    std::map<std::string, Result> medians_;
};

// Runs every registered benchmark with five repetitions (unless the command line says
// otherwise) and hands back their medians.
inline MedianReporter RunAll(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    std::string reps = "--benchmark_repetitions=5";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    bool hasReps = false;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0) hasReps = true;
    if (!hasReps) {
        args.push_back(reps.data());
        args.push_back(aggregates.data());
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter;
}

// One line of the summary table: what, the median, its unit, the ratio to the floor (or a
// negative number when there is none) and the target.
inline void Summary(const std::string& what, double value, const std::string& unit, double ratio,
                    const std::string& target) {
    if (ratio >= 0) {
        std::printf("SUMMARY|%s|%.3f %s|%.2f x floor|%s\n", what.c_str(), value, unit.c_str(),
                    ratio, target.c_str());
    } else {
        std::printf("SUMMARY|%s|%.3f %s|-|%s\n", what.c_str(), value, unit.c_str(), target.c_str());
    }
    std::fflush(stdout);
}

// CPU seconds this thread has used, for benchmarks timed by hand.
// The memory floor of a frame: a memset of `filled` bytes and a memcpy of `copied` bytes.
inline void RunMemoryFloor(benchmark::State& st, size_t filled, size_t copied) {
    std::vector<unsigned char> fill(filled), from(copied, 1), to(copied);
    for (auto _ : st) {
        std::memset(fill.data(), 0, filled);
        std::memcpy(to.data(), from.data(), copied);
        benchmark::DoNotOptimize(fill.data());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

inline double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Peak resident memory of this process so far, in MiB.
inline double PeakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The three map files of a busy level: every cell of the camera window holds a tile, stars
// fill the air, and boards, stones, walking and figure enemies sit round the player, who stands
// on a platform in the middle of the map (column 25, row 9) so the camera is not clamped.
struct BusyLevel {
    std::string tiles, solid, items;
};

inline BusyLevel MakeBusyLevel() {
    long tiles[19][51] = {};
    long solid[19][51] = {};
    long items[19][51] = {};
    for (int r = 1; r <= 18; ++r) {
        for (int c = 1; c <= 50; ++c) {
            if (r >= 12) {
                tiles[r][c] = r == 12 ? 1 : 2;
                solid[r][c] = 1;
            } else {
                tiles[r][c] = 3 + (c + r) % 8;  // scenery behind the action, not solid
                if (r <= 8 && (c + r) % 2 == 0) items[r][c] = 40 + ((c / 2) % 3 == 0 ? 11 : 0);
            }
        }
    }
    for (int c = 23; c <= 27; ++c) {  // the player's platform
        tiles[10][c] = 4;
        solid[10][c] = 1;
        items[9][c] = 0;
    }
    items[9][25] = 999;
    // Boards: housings (tile 18) with their platforms (tile 14) linked by number.
    const int boardCols[] = {21, 29, 31};
    for (int i = 0; i < 3; ++i) {
        tiles[11][boardCols[i]] = 18;
        items[11][boardCols[i]] = i + 1;
        tiles[9][boardCols[i] - 1] = 14;
        solid[9][boardCols[i] - 1] = 1;
        items[9][boardCols[i] - 1] = i + 1;
    }
    // Stones resting on the ground, walking enemies and figures between them.
    for (int c : {20, 24, 28, 32})
        items[12][c] = 20 + c % 5;
    for (int c : {22, 26, 30})
        items[11][c] = 41 + c % 4;
    items[11][27] = 47;
    items[11][19] = 56;
    items[11][33] = 57;
    items[8][22] = 53;
    items[8][24] = 52;
    items[11][35] = 900;
    items[11][17] = 55;
    items[11][14] = 54;

    auto text = [](long layer[19][51]) {
        std::string out;
        for (int r = 1; r <= 18; ++r) {
            std::vector<long> row(layer[r] + 1, layer[r] + 51);
            out += maptext::FormatLine(row).value() + "\r\n";
        }
        return out;
    };
    return {text(tiles), text(solid), text(items)};
}

}  // namespace zorvik::bench
