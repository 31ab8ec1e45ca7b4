// WIDTH on the text screen: a geometry beyond the cell bound (refused with error 7
// before anything is allocated) and the largest one within it, beside the reference
// of an ordinary rebuild (80 x 43, then back to 80 x 25). Peak memory is printed too.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdint>

#include "error/error.h"
#include "font/font_tables.h"
#include "image/image_table.h"
#include "memory/cmem.h"
#include "palette/palette.h"
#include "screen/screen.h"
#include "screen/width.h"

namespace {

void text_screen() {
    static bool ready = false;
    if (!ready) {
        cmem_global_init();
        image_table_global_init();
        palette_global_init();
        font_metrics_global_init();
        ready = true;
    }
    zvg_screen(0, 0, 0, 0, 0, 1);
    zvsub_width(0, 80, 25, 0, 0, 3);
    clear_error();
}

double peak_mib() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Reference: a real rebuild of the eight pages of an ordinary screen.
void BM_WidthOrdinaryRebuild(benchmark::State& state) {
    text_screen();
    for (auto _ : state) {
        zvsub_width(0, 80, 43, 0, 0, 3);
        zvsub_width(0, 80, 25, 0, 0, 3);
    }
    if (new_error.load()) state.SkipWithError("the rebuild raised an error");
    state.counters["peak_MiB"] = peak_mib();
}
BENCHMARK(BM_WidthOrdinaryRebuild)->Unit(benchmark::kMicrosecond);

void BM_WidthBeyondTheBound(benchmark::State& state) {
    text_screen();
    int32_t errors = 0;
    for (auto _ : state) {
        zvsub_width(0, 32767, 32767, 0, 0, 3);
        errors += new_error.load() == 7;
        clear_error();
    }
    if (errors != int32_t(state.iterations())) state.SkipWithError("WIDTH 32767, 32767 was not error 7");
    state.counters["peak_MiB"] = peak_mib();
}
BENCHMARK(BM_WidthBeyondTheBound)->Unit(benchmark::kMicrosecond);

// The largest square screen within the bound: one 32 MiB page, the others left to use.
void BM_WidthLargestWithinTheBound(benchmark::State& state) {
    text_screen();
    for (auto _ : state) {
        zvsub_width(0, 4096, 4096, 0, 0, 3);
        state.PauseTiming();
        zvsub_width(0, 80, 25, 0, 0, 3);
        state.ResumeTiming();
    }
    state.counters["peak_MiB"] = peak_mib();
}
BENCHMARK(BM_WidthLargestWithinTheBound)->Unit(benchmark::kMillisecond);

}  // namespace
