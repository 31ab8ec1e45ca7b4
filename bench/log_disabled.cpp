// A log call with logging off (one test of the switch) against an empty loop and a
// call of an empty function: the three figures should sit together.
#include <benchmark/benchmark.h>

#include "log/log.h"

namespace {

__attribute__((noinline)) void empty_call(int32_t n) { benchmark::DoNotOptimize(n); }

void BM_EmptyLoop(benchmark::State& state) {
    int32_t n = 0;
    for (auto _ : state) benchmark::DoNotOptimize(++n);
}

void BM_EmptyCall(benchmark::State& state) {
    int32_t n = 0;
    for (auto _ : state) empty_call(++n);
}

void BM_LogMacroWithLoggingOff(benchmark::State& state) {
    libzv_log_global_init();
    int32_t n = 0;
    for (auto _ : state) libzv_log_info(LOGSCOPE_LIBZV, "entry %d", ++n);
    benchmark::DoNotOptimize(n);
}

void BM_LogCallWithLoggingOff(benchmark::State& state) {
    libzv_log_global_init();
    int32_t n = 0;
    for (auto _ : state) libzv_log(LOGLEVEL_INFO, LOGSCOPE_LIBZV, __FILE__, __func__, __LINE__, "entry %d", ++n);
    benchmark::DoNotOptimize(n);
}

}  // namespace

BENCHMARK(BM_EmptyLoop);
BENCHMARK(BM_EmptyCall);
BENCHMARK(BM_LogMacroWithLoggingOff);
BENCHMARK(BM_LogCallWithLoggingOff);
