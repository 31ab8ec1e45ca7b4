// PSET over every pixel of an 8-bit SCREEN 13 page and of a 32-bit 640 x 480 page,
// each timed beside a bare baseline in the same run: a non-inlined function that
// bounds-checks (x, y) and stores one pixel (ratio_to_checked_store; goal 2 for the
// unblended writes). The pixel primitive `pset` and the blended writes are shown
// against the same baseline for comparison.
#include <benchmark/benchmark.h>

#include <cstring>

#include "draw/point.h"
#include "draw/pset.h"
#include "font/font_tables.h"
#include "image/image_modes.h"
#include "image/image_table.h"
#include "paired_ratio.h"
#include "palette/palette.h"
#include "screen/screen.h"

namespace {

// A SCREEN 13 page (bits 8) or a 32-bit 640 x 480 screen (bits 32) as the write
// image, blending on or off.
img_struct* page(int32_t bits, bool blend_off) {
    static bool ready = false;
    if (!ready) {
        palette_global_init();
        font_metrics_global_init();
        image_table_global_init();
        ready = true;
    }
    if (bits == 8) {
        zvg_screen(13, 0, 0, 0, 0, 1);
    } else {
        static int32_t index = imgnew(640, 480, 32);
        zvg_screen(-index, 0, 0, 0, 0, 1);
    }
    img_struct* im = write_page();
    im->blend_off = blend_off;
    return im;
}

[[gnu::noinline]] void checked_store(img_struct* im, int32_t x, int32_t y, uint32_t col) {
    if (x < 0 || x >= im->width || y < 0 || y >= im->height) return;
    size_t at = static_cast<size_t>(y) * static_cast<size_t>(im->width) + static_cast<size_t>(x);
    if (im->bytes_per_pixel == 1)
        im->pixels[at] = static_cast<uint8_t>(col);
    else
        memcpy(im->pixels + at * 4, &col, 4);
}

template <class Write>
void every_pixel(const img_struct* im, Write write) {
    for (int32_t y = 0; y < im->height; y++)
        for (int32_t x = 0; x < im->width; x++) write(x, y);
    benchmark::ClobberMemory();
}

// range(0): bits per pixel; range(1): the colour; range(2): 1 for _DONTBLEND.
void run(benchmark::State& state, bool statement) {
    img_struct* im = page(static_cast<int32_t>(state.range(0)), state.range(2) != 0);
    uint32_t colour = static_cast<uint32_t>(state.range(1));
    auto work = [&] {
        if (statement)
            every_pixel(im, [=](int32_t x, int32_t y) {
                sub_pset(static_cast<float>(x), static_cast<float>(y), colour, 2);
            });
        else
            every_pixel(im, [=](int32_t x, int32_t y) { pset(x, y, colour); });
    };
    paired::run(state, "ratio_to_checked_store", work,
                [&] { every_pixel(im, [=](int32_t x, int32_t y) { checked_store(im, x, y, colour); }); });
    state.SetItemsProcessed(state.iterations() * im->width * im->height);
}

// PSET (x, y), colour: the statement.
void BM_Pset(benchmark::State& state) { run(state, true); }
// pset(x, y, colour): the pixel primitive that the drawing statements share.
void BM_PsetPrimitive(benchmark::State& state) { run(state, false); }

// Unblended: SCREEN 13; 32-bit with _DONTBLEND; 32-bit with an opaque colour.
// Blended (for comparison): alpha 128 (averaging) and alpha 100 (the tables).
void pages(benchmark::internal::Benchmark* b) {
    b->Args({8, 0x2B, 0})->Args({32, 0x64336699, 1})->Args({32, 0xFF336699, 0});
    b->Args({32, 0x80336699, 0})->Args({32, 0x64336699, 0});
    paired::medians(b);
}

}  // namespace

BENCHMARK(BM_Pset)->Apply(pages);
BENCHMARK(BM_PsetPrimitive)->Apply(pages);
