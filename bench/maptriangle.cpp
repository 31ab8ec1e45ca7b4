// Textured triangles per second: _MAPTRIANGLE of a 256 x 256 source onto a 32-bit
// 640 x 480 image (stored and blended, plain and tiled), beside a plain nearest-texel
// loop over the same pixels as the reference.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "draw/blend.h"
#include "draw/maptriangle.h"
#include "font/font_tables.h"
#include "image/alpha_statements.h"
#include "image/image_statements.h"
#include "image/image_table.h"
#include "palette/palette.h"
#include "screen/screen.h"

namespace {

constexpr int32_t side = 256;

struct images {
    int32_t source, opaque_dest, blend_dest;
};

const images& setup() {
    static images set{};
    if (!set.source) {
        palette_global_init();
        font_metrics_global_init();
        image_table_global_init();
        zvg_screen(12, 0, 0, 0, 0, 1);
        set.source = func__newimage(side, side, 32, 1);
        img_struct* s = img_get(-set.source);
        for (int32_t i = 0; i < side * side; i++) {
            uint32_t v = 0x80000000u | uint32_t(i * 2654435761u >> 8);
            std::memcpy(s->pixels + size_t(i) * 4, &v, 4);
        }
        set.opaque_dest = func__newimage(640, 480, 32, 1);
        sub__dontblend(set.opaque_dest, 1);
        set.blend_dest = func__newimage(640, 480, 32, 1);
    }
    return set;
}

// Half of a 255 x 255 square: about 32,900 pixels per triangle.
constexpr int64_t pixels_per_triangle = 256 * 257 / 2;

void report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations());
    state.counters["pixels/s"] =
        benchmark::Counter(double(pixels_per_triangle) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void map(int32_t source, int32_t dest, float scale) {
    float m = 255 * scale;
    sub__maptriangle(0, 0, 0, m, 0, 0, m, source, 100, 100, 0, 355, 100, 0, 100, 355, 0, dest, 0, 2 | 32);
}

void BM_MapTriangleStored(benchmark::State& state) {
    const images& s = setup();
    for (auto _ : state) {
        map(s.source, s.opaque_dest, 1);
        benchmark::ClobberMemory();
    }
    report(state);
}
BENCHMARK(BM_MapTriangleStored);

void BM_MapTriangleBlended(benchmark::State& state) {
    const images& s = setup();
    for (auto _ : state) {
        map(s.source, s.blend_dest, 1);
        benchmark::ClobberMemory();
    }
    report(state);
}
BENCHMARK(BM_MapTriangleBlended);

void BM_MapTriangleTiled(benchmark::State& state) {
    const images& s = setup();
    for (auto _ : state) {
        map(s.source, s.opaque_dest, 3);
        benchmark::ClobberMemory();
    }
    report(state);
}
BENCHMARK(BM_MapTriangleTiled);

// Reference: the same triangle's rows copied texel by texel in 16.16 steps.
void BM_ReferenceNearestTexelLoop(benchmark::State& state) {
    const images& s = setup();
    const img_struct* src = img_get(-s.source);
    img_struct* dst = img_get(-s.opaque_dest);
    for (auto _ : state) {
        for (int32_t row = 0; row < 256; row++) {
            int64_t u = 0x8000, v = int64_t(row) * 65536 + 0x8000;
            for (int32_t x = 0; x < 256 - row; x++, u += 65536) {
                std::memcpy(dst->pixels + (size_t(100 + row) * 640 + 100 + x) * 4,
                            src->pixels + (size_t(v >> 16) * side + size_t(u >> 16)) * 4, 4);
            }
        }
        benchmark::ClobberMemory();
    }
    report(state);
}
BENCHMARK(BM_ReferenceNearestTexelLoop);

}  // namespace
