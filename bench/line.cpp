// LINE and LINE ... BF on SCREEN 12 and SCREEN 13 pages, each timed beside its bare
// baseline on the same page bytes in the same run:
// - lines of 10 and 600 pixels against a plain integer Bresenham loop
//   (ratio_to_bresenham; goals 1.5 and 1.2);
// - filled boxes of 4 x 4 and 32 x 32 pixels against one memset per row
//   (ratio_to_memset_rows; goals 1.8 and 1.15).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "draw/line.h"
#include "font/font_tables.h"
#include "image/image_table.h"
#include "paired_ratio.h"
#include "palette/palette.h"
#include "screen/screen.h"

namespace {

constexpr size_t shapes = 1024;

struct shape {
    int32_t x1, y1, x2, y2;
    uint32_t colour;
};

// A SCREEN page of the mode as the write image.
img_struct* page(int32_t mode) {
    static bool ready = false;
    if (!ready) {
        palette_global_init();
        font_metrics_global_init();
        image_table_global_init();
        ready = true;
    }
    zvg_screen(mode, 0, 0, 0, 0, 1);
    return write_page();
}

// Lines of `pixels` pixels in random directions (boxes when box is set: pixels by
// pixels), every end point inside the width by height page.
std::vector<shape> shapes_of(int32_t width, int32_t height, int32_t pixels, bool box) {
    std::mt19937 rng(static_cast<uint32_t>(2024 + pixels + width));
    std::vector<shape> list;
    int32_t n = pixels - 1;
    while (list.size() < shapes) {
        int32_t x1 = static_cast<int32_t>(rng() % static_cast<uint32_t>(width));
        int32_t y1 = static_cast<int32_t>(rng() % static_cast<uint32_t>(height));
        int32_t minor = static_cast<int32_t>(rng() % static_cast<uint32_t>(2 * n + 1)) - n;
        int32_t major = rng() & 1 ? n : -n;
        int32_t dx = major, dy = minor;
        if (box) dy = rng() & 1 ? n : -n;
        else if (rng() & 1) std::swap(dx, dy);
        int32_t x2 = x1 + dx, y2 = y1 + dy;
        if (x2 < 0 || x2 >= width || y2 < 0 || y2 >= height) continue;
        list.push_back({x1, y1, x2, y2, static_cast<uint32_t>(rng() % 15 + 1)});
    }
    return list;
}

void line_pass(const std::vector<shape>& list, int32_t box) {
    for (const shape& s : list)
        sub_line(static_cast<float>(s.x1), static_cast<float>(s.y1), static_cast<float>(s.x2),
                 static_cast<float>(s.y2), s.colour, box, 0, 1 | 8);
    benchmark::ClobberMemory();
}

// The baseline: integer Bresenham storing bytes straight into the page.
void bresenham_pass(const std::vector<shape>& list, uint8_t* pixels, size_t width) {
    for (const shape& s : list) {
        int32_t x = s.x1, y = s.y1;
        int32_t dx = std::abs(s.x2 - x), sx = x < s.x2 ? 1 : -1;
        int32_t dy = -std::abs(s.y2 - y), sy = y < s.y2 ? 1 : -1;
        int32_t err = dx + dy;
        uint8_t c = static_cast<uint8_t>(s.colour);
        for (;;) {
            pixels[static_cast<size_t>(y) * width + static_cast<size_t>(x)] = c;
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

// The baseline: one memset per row of each box.
void memset_rows_pass(const std::vector<shape>& list, uint8_t* pixels, size_t width) {
    for (const shape& s : list) {
        int32_t x1 = std::min(s.x1, s.x2), x2 = std::max(s.x1, s.x2);
        int32_t y1 = std::min(s.y1, s.y2), y2 = std::max(s.y1, s.y2);
        for (int32_t y = y1; y <= y2; y++)
            memset(pixels + static_cast<size_t>(y) * width + static_cast<size_t>(x1), static_cast<int>(s.colour),
                   static_cast<size_t>(x2 - x1) + 1);
    }
    benchmark::ClobberMemory();
}

// range(0): pixels per line (or box side); range(1): the SCREEN mode.
void BM_Line(benchmark::State& state) {
    img_struct* im = page(static_cast<int32_t>(state.range(1)));
    auto list = shapes_of(im->width, im->height, static_cast<int32_t>(state.range(0)), false);
    paired::run(
        state, "ratio_to_bresenham", [&] { line_pass(list, 0); },
        [&] { bresenham_pass(list, im->pixels, static_cast<size_t>(im->width)); });
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(list.size()));
}

void BM_LineBoxFill(benchmark::State& state) {
    img_struct* im = page(static_cast<int32_t>(state.range(1)));
    auto list = shapes_of(im->width, im->height, static_cast<int32_t>(state.range(0)), true);
    paired::run(
        state, "ratio_to_memset_rows", [&] { line_pass(list, 2); },
        [&] { memset_rows_pass(list, im->pixels, static_cast<size_t>(im->width)); });
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(list.size()));
}

}  // namespace

BENCHMARK(BM_Line)->Args({10, 12})->Args({10, 13})->Args({600, 12})->Apply(paired::medians);
BENCHMARK(BM_LineBoxFill)->Args({4, 12})->Args({4, 13})->Args({32, 12})->Args({32, 13})->Apply(paired::medians);
