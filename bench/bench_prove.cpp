// SPDX-License-Identifier: GPL-3.0-or-later
// The prover on the shipped levels: the first route (the search headed for the exit, stopped at
// the first route) and the whole answer (the search with dead ends and pickups, under the
// prover's own 60 s budget), with the states each searched. Prints the table the README keeps.
#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "Search.h"
#include "TestPaths.h"

namespace {

using namespace zorvik;

std::string LevelPath(int level) {
    return std::string(test::SourceDir()) + "/map/mapa" + std::to_string(level) + ".map";
}

struct Row {
    double firstSeconds = 0.0;
    long firstFrames = 0;
    ProveResult whole;
};
Row rows[13];

void BM_FirstRoute(benchmark::State& st) {
    const int level = static_cast<int>(st.range(0));
    ProveOptions options;
    options.stopAtFirstRoute = true;
    options.seconds = 60.0;
    for (auto _ : st) {
        const double before = bench::ThreadCpuSeconds();
        const ProveResult r = ProveLevel(LevelPath(level), options);
        rows[level].firstSeconds = bench::ThreadCpuSeconds() - before;
        rows[level].firstFrames = r.finishable ? r.routeFrames : -1;
        st.counters["states"] = static_cast<double>(r.states);
    }
}
BENCHMARK(BM_FirstRoute)->DenseRange(1, 12)->Unit(benchmark::kSecond)->Iterations(1);

void BM_WholeAnswer(benchmark::State& st) {
    const int level = static_cast<int>(st.range(0));
    ProveOptions options;
    // Long enough for every shipped level to be searched to its end, so that the row is the
    // whole answer's time rather than the default budget's.
    options.seconds = 600.0;
    for (auto _ : st) {
        rows[level].whole = ProveLevel(LevelPath(level), options);
        st.counters["states"] = static_cast<double>(rows[level].whole.states);
        st.counters["states/s"] =
            static_cast<double>(rows[level].whole.states) / rows[level].whole.seconds;
        st.counters["frames/state"] = static_cast<double>(rows[level].whole.framesPlayed) /
                                      static_cast<double>(rows[level].whole.states);
    }
}
BENCHMARK(BM_WholeAnswer)->DenseRange(1, 12)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    bench::RunAll(argc, argv);
    std::printf(
        "\n| Level | First route | Route frames | Whole answer | States | States/s | "
        "Search | Findings |\n|---|---|---|---|---|---|---|---|\n");
    double worstFirst = 0.0, worstWhole = 0.0;
    for (int level = 1; level <= 12; ++level) {
        const Row& row = rows[level];
        const ProveResult& r = row.whole;
        if (r.states == 0) continue;
        const std::string search = r.budgetStopped    ? "budget"
                                   : r.merged.empty() ? "complete"
                                                      : "merged";
        const size_t findings = r.deadEnds.size() + r.unreachable.size();
        std::printf("| %d | %.1f s | %s | %.1f s | %ld | %.0f | %s | %zu |\n", level,
                    row.firstSeconds, r.finishable ? std::to_string(r.routeFrames).c_str() : "none",
                    r.seconds, r.states, static_cast<double>(r.states) / r.seconds, search.c_str(),
                    findings);
        worstFirst = std::max(worstFirst, row.firstSeconds);
        worstWhole = std::max(worstWhole, r.seconds);
    }
    bench::Summary("prover, first route (worst level)", worstFirst, "s", -1, "<= 2 s");
    bench::Summary("prover, whole answer (worst level)", worstWhole, "s", -1, "<= 30 s");
    return 0;
}
