// Frames per second of the producer for a changed SCREEN 12 page and a changed 32-bit
// 640 x 480 page (one pixel differs each frame), beside a plain memcpy of the same
// 1.2 MB frame. A minimal presenter shows each frame so the next one is compared
// against it, as in a running program.
#include <benchmark/benchmark.h>

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

void run_frames(benchmark::State& state, int32_t mode) {
    img_struct* im = page_of_mode(mode);
    size_t last = static_cast<size_t>(width) * height * im->bytes_per_pixel - 1;
    int64_t produced = 0;
    for (auto _ : state) {
        // The last byte changes, so the comparison runs over the whole page.
        im->pixels[last] ^= 1;
        int64_t before = display_frame_order_next.load();
        display();
        present();
        for (int32_t i = 0; i < display_frame_count; i++)
            produced += display_frame_slot(i)->state.load() == FRAME_SHOWN && display_frame_slot(i)->order.load() == before;
    }
    if (produced != state.iterations()) state.SkipWithError("a changed page produced no frame");
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(frame_bytes));
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

void BM_FrameScreen12Changed(benchmark::State& state) { run_frames(state, 12); }
void BM_Frame32BitChanged(benchmark::State& state) { run_frames(state, 32); }

}  // namespace

BENCHMARK(BM_MemcpyFrame);
BENCHMARK(BM_FrameScreen12Changed);
BENCHMARK(BM_Frame32BitChanged);
