// The producer's cost per call on 640 x 480 pages, as a ratio to a plain memcpy of
// the 1.2 MB frame timed in the same iterations (ratio_to_memcpy, from medians, so
// that a busy machine moves both alike):
// - changed: one byte differs each frame (the last, so the comparison runs over the
//   whole page); goals 1.5 for a SCREEN 12 page, 1.3 for a 32-bit page;
// - redrawn: every pixel differs each frame (the whole frame is converted);
// - unchanged: nothing differs (what each call costs while a program waits).
// A minimal presenter shows each frame, so the next one is compared against it as
// in a running program.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "display/display.h"
#include "image/image_modes.h"
#include "image/image_table.h"
#include "palette/palette.h"

namespace {

constexpr int32_t width = 640, height = 480;
constexpr size_t frame_bytes = static_cast<size_t>(width) * height * 4;

img_struct* page_of_mode(int32_t mode) {
    static bool ready = false;
    if (!ready) {
        image_table_global_init();
        palette_global_init();
        ready = true;
    }
    display_reset_for_tests();
    int32_t index = imgnew(width, height, mode);
    set_display_page(index);
    img_struct* im = img_get(index);
    for (size_t i = 0; i < static_cast<size_t>(width) * height * im->bytes_per_pixel; i++)
        im->pixels[i] = static_cast<uint8_t>(i * 13 & (mode == 32 ? 0xFF : 0x0F));
    return im;
}

// The newest ready frame becomes shown; the frame shown before is freed.
void present() {
    display_frame_record* newest = nullptr;
    for (int32_t i = 0; i < display_frame_count; i++) {
        display_frame_record* s = display_frame_slot(i);
        if (s->state.load() == FRAME_READY && (!newest || s->order.load() > newest->order.load())) newest = s;
    }
    if (!newest) return;
    for (int32_t i = 0; i < display_frame_count; i++) {
        display_frame_record* s = display_frame_slot(i);
        if (s != newest && s->state.load() != FRAME_FREE) s->state.store(FRAME_FREE);
    }
    newest->state.store(FRAME_SHOWN);
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

enum class change { last_byte, every_pixel, none };

// Each iteration: the page changed as asked, one producer call and the presenter
// (timed), then one memcpy of the frame (timed apart, for the ratio).
void run_frames(benchmark::State& state, int32_t mode, change what) {
    img_struct* im = page_of_mode(mode);
    size_t page_bytes = static_cast<size_t>(width) * height * im->bytes_per_pixel;
    std::vector<uint32_t> from(frame_bytes / 4, 0xFF336699), to(frame_bytes / 4);
    std::vector<double> producer_s, memcpy_s;
    display();
    present();
    int64_t produced = 0;
    for (auto _ : state) {
        if (what == change::last_byte) im->pixels[page_bytes - 1] ^= 1;
        if (what == change::every_pixel)
            for (size_t i = 0; i < page_bytes; i++) im->pixels[i] ^= 1;
        int64_t before = display_frame_order_next.load();
        auto start = std::chrono::steady_clock::now();
        display();
        present();
        double took = seconds_since(start);
        state.SetIterationTime(took);
        producer_s.push_back(took);
        for (int32_t i = 0; i < display_frame_count; i++)
            produced += display_frame_slot(i)->state.load() == FRAME_SHOWN && display_frame_slot(i)->order.load() == before;

        start = std::chrono::steady_clock::now();
        memcpy(to.data(), from.data(), frame_bytes);
        benchmark::ClobberMemory();
        memcpy_s.push_back(seconds_since(start));
    }
    if (produced != (what == change::none ? 0 : state.iterations()))
        state.SkipWithError("the producer did not make exactly the frames of the changes");
    state.SetItemsProcessed(state.iterations());
    state.counters["memcpy_us"] = median(memcpy_s) * 1e6;
    state.counters["producer_us"] = median(producer_s) * 1e6;
    state.counters["ratio_to_memcpy"] = median(producer_s) / median(memcpy_s);
}

void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<uint32_t> from(frame_bytes / 4, 0xFF336699), to(frame_bytes / 4);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), frame_bytes);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(frame_bytes));
}

void BM_FrameScreen12Changed(benchmark::State& state) { run_frames(state, 12, change::last_byte); }
void BM_Frame32BitChanged(benchmark::State& state) { run_frames(state, 32, change::last_byte); }
void BM_FrameScreen12Redrawn(benchmark::State& state) { run_frames(state, 12, change::every_pixel); }
void BM_Frame32BitRedrawn(benchmark::State& state) { run_frames(state, 32, change::every_pixel); }
void BM_FrameScreen12Unchanged(benchmark::State& state) { run_frames(state, 12, change::none); }
void BM_Frame32BitUnchanged(benchmark::State& state) { run_frames(state, 32, change::none); }

}  // namespace

BENCHMARK(BM_MemcpyFrame);
BENCHMARK(BM_FrameScreen12Changed)->UseManualTime();
BENCHMARK(BM_Frame32BitChanged)->UseManualTime();
BENCHMARK(BM_FrameScreen12Redrawn)->UseManualTime();
BENCHMARK(BM_Frame32BitRedrawn)->UseManualTime();
BENCHMARK(BM_FrameScreen12Unchanged)->UseManualTime();
BENCHMARK(BM_Frame32BitUnchanged)->UseManualTime();
