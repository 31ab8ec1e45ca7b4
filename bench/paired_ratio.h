// Times a piece of work and its bare baseline in the same iterations, alternating
// which goes first, so that both see the same machine load and warm caches. The
// reported time is the work's; the counter named for the ratio is work / baseline.
// Registered with ->UseManualTime(); ->Repetitions(7) gives medians of seven runs.
#pragma once
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace paired {

// Seven repetitions, aggregates shown: every figure read is a median of seven runs.
inline void medians(benchmark::internal::Benchmark* b) {
    b->UseManualTime()->Repetitions(7)->DisplayAggregatesOnly(true);
}

template <class Work, class Baseline>
void run(benchmark::State& state, const std::string& ratio_name, Work work, Baseline baseline) {
    using clock = std::chrono::steady_clock;
    double work_s = 0, baseline_s = 0;
    bool work_first = true;
    for (auto _ : state) {
        double w, b;
        if (work_first) {
            auto t0 = clock::now();
            work();
            auto t1 = clock::now();
            baseline();
            auto t2 = clock::now();
            w = std::chrono::duration<double>(t1 - t0).count();
            b = std::chrono::duration<double>(t2 - t1).count();
        } else {
            auto t0 = clock::now();
            baseline();
            auto t1 = clock::now();
            work();
            auto t2 = clock::now();
            b = std::chrono::duration<double>(t1 - t0).count();
            w = std::chrono::duration<double>(t2 - t1).count();
        }
        work_first = !work_first;
        work_s += w;
        baseline_s += b;
        state.SetIterationTime(w);
    }
    state.counters[ratio_name] = baseline_s > 0 ? work_s / baseline_s : 0;
}

}  // namespace paired
