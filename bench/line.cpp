// Random LINEs and filled boxes per second on a SCREEN 12 page, beside a plain
// Bresenham loop and memset rows on the same page buffer.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "draw/line.h"
#include "font/font_tables.h"
#include "image/image_table.h"
#include "palette/palette.h"
#include "screen/screen.h"

namespace {

constexpr int32_t width = 640, height = 480;
constexpr size_t shapes = 4096;

struct shape {
    int32_t x1, y1, x2, y2;
    uint32_t colour;
};

// One SCREEN 12 page and a fixed set of random end points inside it.
const std::vector<shape>& setup() {
    static std::vector<shape> list;
    if (list.empty()) {
        palette_global_init();
        font_metrics_global_init();
        image_table_global_init();
        zvg_screen(12, 0, 0, 0, 0, 1);
        std::mt19937 rng(2024);
        for (size_t i = 0; i < shapes; i++)
            list.push_back({static_cast<int32_t>(rng() % width), static_cast<int32_t>(rng() % height),
                            static_cast<int32_t>(rng() % width), static_cast<int32_t>(rng() % height),
                            static_cast<uint32_t>(rng() % 16)});
    }
    return list;
}

int64_t line_pixels(const shape& s) { return std::max(std::abs(s.x2 - s.x1), std::abs(s.y2 - s.y1)) + 1; }
int64_t box_pixels(const shape& s) { return (std::abs(s.x2 - s.x1) + 1LL) * (std::abs(s.y2 - s.y1) + 1LL); }

void report(benchmark::State& state, int64_t (*pixels)(const shape&)) {
    int64_t total = 0;
    for (const shape& s : setup()) total += pixels(s);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(shapes));
    state.counters["pixels/s"] = benchmark::Counter(
        static_cast<double>(total) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_LineScreen12(benchmark::State& state) {
    const auto& list = setup();
    for (auto _ : state) {
        for (const shape& s : list)
            sub_line(static_cast<float>(s.x1), static_cast<float>(s.y1), static_cast<float>(s.x2),
                     static_cast<float>(s.y2), s.colour, 0, 0, 1 | 8);
        benchmark::ClobberMemory();
    }
    report(state, line_pixels);
}

// The reference: integer Bresenham storing bytes straight into the page.
void BM_PlainBresenham(benchmark::State& state) {
    const auto& list = setup();
    uint8_t* pixels = write_page()->pixels;
    for (auto _ : state) {
        for (const shape& s : list) {
            int32_t x = s.x1, y = s.y1;
            int32_t dx = std::abs(s.x2 - x), sx = x < s.x2 ? 1 : -1;
            int32_t dy = -std::abs(s.y2 - y), sy = y < s.y2 ? 1 : -1;
            int32_t err = dx + dy;
            uint8_t c = static_cast<uint8_t>(s.colour);
            for (;;) {
                pixels[static_cast<size_t>(y) * width + x] = c;
                if (x == s.x2 && y == s.y2) break;
                int32_t e2 = 2 * err;
                if (e2 >= dy) {
                    err += dy;
                    x += sx;
                }
                if (e2 <= dx) {
                    err += dx;
                    y += sy;
                }
            }
        }
        benchmark::ClobberMemory();
    }
    report(state, line_pixels);
}

void BM_FilledBoxScreen12(benchmark::State& state) {
    const auto& list = setup();
    for (auto _ : state) {
        for (const shape& s : list)
            sub_line(static_cast<float>(s.x1), static_cast<float>(s.y1), static_cast<float>(s.x2),
                     static_cast<float>(s.y2), s.colour, 2, 0, 1 | 8);
        benchmark::ClobberMemory();
    }
    report(state, box_pixels);
}

// The reference: one memset per row of each box.
void BM_PlainMemsetRows(benchmark::State& state) {
    const auto& list = setup();
    uint8_t* pixels = write_page()->pixels;
    for (auto _ : state) {
        for (const shape& s : list) {
            int32_t x1 = std::min(s.x1, s.x2), x2 = std::max(s.x1, s.x2);
            int32_t y1 = std::min(s.y1, s.y2), y2 = std::max(s.y1, s.y2);
            for (int32_t y = y1; y <= y2; y++)
                memset(pixels + static_cast<size_t>(y) * width + x1, static_cast<int>(s.colour),
                       static_cast<size_t>(x2 - x1) + 1);
        }
        benchmark::ClobberMemory();
    }
    report(state, box_pixels);
}

}  // namespace

BENCHMARK(BM_PlainBresenham);
BENCHMARK(BM_LineScreen12);
BENCHMARK(BM_PlainMemsetRows);
BENCHMARK(BM_FilledBoxScreen12);
