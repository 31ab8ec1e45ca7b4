// Pixel writes per second on a 32-bit image: pset with blending (several alphas) and
// without, beside a plain loop that stores the same words into a buffer of that size.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "draw/pset.h"
#include "image/image_modes.h"
#include "image/image_table.h"
#include "palette/palette.h"

namespace {

constexpr int32_t width = 640, height = 480;

img_struct* target(bool blend_off) {
    static int32_t index = 0;
    if (!index) {
        image_table_global_init();
        palette_global_init();
        index = imgnew(width, height, 32);
        set_write_page(index);
    }
    img_struct* im = img_get(index);
    im->blend_off = blend_off;
    return im;
}

// The reference: the same words stored in row order, one call-free store each.
void BM_PlainStoreLoop(benchmark::State& state) {
    std::vector<uint8_t> buffer(static_cast<size_t>(width) * height * 4);
    uint32_t colour = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) {
        uint8_t* p = buffer.data();
        for (int32_t y = 0; y < height; y++)
            for (int32_t x = 0; x < width; x++, p += 4) memcpy(p, &colour, 4);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}

void run_pset(benchmark::State& state, bool blend_off) {
    target(blend_off);
    uint32_t colour = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) {
        for (int32_t y = 0; y < height; y++)
            for (int32_t x = 0; x < width; x++) pset(x, y, colour);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}

void BM_PsetBlended(benchmark::State& state) { run_pset(state, false); }
void BM_PsetDontBlend(benchmark::State& state) { run_pset(state, true); }

}  // namespace

// Colours: opaque (alpha 255), half (128, no table), table blend (100).
BENCHMARK(BM_PlainStoreLoop)->Arg(0xFF336699);
BENCHMARK(BM_PsetBlended)->Arg(0xFF336699)->Arg(0x80336699)->Arg(0x64336699);
BENCHMARK(BM_PsetDontBlend)->Arg(0x64336699);
