// PAINT: the breadth-first flood shared by the palette, 32-bit and tile engines.
#include "draw/paint.h"

#include <cstdlib>
#include <cstring>

#include "draw/blend.h"
#include "draw/coordinates.h"
#include "draw/graphics_open.h"
#include "error/error.h"
#include "image/image_table.h"

namespace {

// Painted pixels whose neighbours are still to be examined; dir bits 1 left, 2 right,
// 4 up, 8 down. Grows (keeping its capacity) instead of overflowing.
struct front {
    uint16_t* x = nullptr;
    uint16_t* y = nullptr;
    uint8_t* dir = nullptr;
    size_t count = 0, capacity = 0;
};

struct engine_storage {
    front fronts[2];
    uint8_t* visited = nullptr;
    size_t visited_capacity = 0;
};

enum engine { engine_palette, engine_32, engine_32x, engine_tile, engine_count };

// Created on first use and kept for the life of the process.
engine_storage* storage[engine_count];
// The tile engine's pattern buffer, column by column per row, as tall as the tile.
uint8_t* tile_pattern;
size_t tile_pattern_capacity;
size_t initial_capacity = 65536;

constexpr int8_t step_dx[4] = {-1, 1, 0, 0};
constexpr int8_t step_dy[4] = {0, 0, -1, 1};
// A pixel never looks back the way it was reached.
constexpr uint8_t reached_dir[4] = {13, 14, 7, 11};

bool grow(front& f, size_t capacity) {
    auto* nx = static_cast<uint16_t*>(realloc(f.x, capacity * sizeof(uint16_t)));
    if (nx) f.x = nx;
    auto* ny = static_cast<uint16_t*>(realloc(f.y, capacity * sizeof(uint16_t)));
    if (ny) f.y = ny;
    auto* nd = static_cast<uint8_t*>(realloc(f.dir, capacity));
    if (nd) f.dir = nd;
    if (!nx || !ny || !nd) return false;
    f.capacity = capacity;
    return true;
}

bool push(front& f, int32_t x, int32_t y, uint8_t dir) {
    if (f.count == f.capacity && !grow(f, f.capacity * 2)) return false;
    f.x[f.count] = static_cast<uint16_t>(x);
    f.y[f.count] = static_cast<uint16_t>(y);
    f.dir[f.count] = dir;
    f.count++;
    return true;
}

// The engine's storage, ready for an image of `pixels` pixels; null when memory ran out
// (the fill then paints nothing).
engine_storage* prepare(engine e, size_t pixels) {
    if (!storage[e]) {
        auto* s = static_cast<engine_storage*>(calloc(1, sizeof(engine_storage)));
        if (!s) return nullptr;
        storage[e] = s;
    }
    engine_storage* s = storage[e];
    for (front& f : s->fronts)
        if (f.capacity == 0 && !grow(f, initial_capacity)) return nullptr;
    if (s->visited_capacity < pixels) {
        size_t want = pixels > 640 * 480 ? pixels : 640 * 480;
        auto* map = static_cast<uint8_t*>(calloc(want, 1));
        if (!map) return nullptr;
        free(s->visited);
        s->visited = map;
        s->visited_capacity = want;
    }
    s->fronts[0].count = s->fronts[1].count = 0;
    return s;
}

// Floods from the painted start pixel (sx, sy). stops(at) says whether the pixel at
// offset `at` holds the fill back (tested before it is painted); paint(x, y, at)
// paints it. Only the edge of the VIEW in the direction of a step is tested.
template <class Stops, class Paint>
void flood(engine e, const img_struct* im, int32_t sx, int32_t sy, Stops stops, Paint paint) {
    size_t width = im->width;
    size_t pixels = width * im->height;
    engine_storage* s = prepare(e, pixels);
    if (!s) return;
    const img_graphics_state& g = im->graphics;
    uint8_t* visited = s->visited;
    front* current = &s->fronts[0];
    front* next = &s->fronts[1];
    size_t start = static_cast<size_t>(sy) * width + static_cast<size_t>(sx);
    paint(sx, sy, start);
    visited[start] = 1;
    push(*current, sx, sy, 15);
    bool ok = true;
    while (ok && current->count) {
        next->count = 0;
        for (size_t i = 0; ok && i < current->count; i++) {
            int32_t x = current->x[i], y = current->y[i];
            uint8_t dir = current->dir[i];
            for (int d = 0; d < 4; d++) {
                if (!(dir & (1 << d))) continue;
                int32_t nx = x + step_dx[d], ny = y + step_dy[d];
                if ((d == 0 && nx < g.view_x1) || (d == 1 && nx > g.view_x2) || (d == 2 && ny < g.view_y1) ||
                    (d == 3 && ny > g.view_y2))
                    continue;
                size_t at = static_cast<size_t>(ny) * width + static_cast<size_t>(nx);
                if (visited[at]) continue;
                visited[at] = 1;
                if (stops(at)) continue;
                paint(nx, ny, at);
                if (!push(*next, nx, ny, reached_dir[d])) {
                    ok = false;
                    break;
                }
            }
        }
        front* t = current;
        current = next;
        next = t;
    }
    memset(visited, 0, pixels);
}

// The start of a fill: STEP and the graphics cursor, then the mapped pixel. False when
// it lies outside the VIEW rectangle.
bool start_pixel(img_struct* im, float x, float y, int32_t passed, int32_t& px, int32_t& py) {
    img_graphics_state& g = im->graphics;
    step_from_cursor(passed & 1, g, x, y);
    g.x = x;
    g.y = y;
    px = map_x(g, x);
    py = map_y(g, y);
    return in_view(g, px, py);
}

uint32_t pixel32_at(const uint8_t* pixels, size_t at) {
    uint32_t v;
    memcpy(&v, pixels + at * 4, 4);
    return v;
}

void paint32(engine e, float x, float y, uint32_t col, uint32_t border, int32_t passed) {
    img_struct* im = graphics_write_page();
    if (!im) return;
    if (!(passed & 2)) col = im->color;
    if (!(passed & 4)) border = col;
    im->draw_color = col;
    int32_t px, py;
    if (!start_pixel(im, x, y, passed, px, py)) return;
    uint8_t* pixels = im->pixels;
    size_t width = im->width;
    if (pixel32_at(pixels, static_cast<size_t>(py) * width + px) == border) return;
    auto stops = [=](size_t at) { return pixel32_at(pixels, at) == border; };
    if (e == engine_32x) {
        flood(e, im, px, py, stops, [=](int32_t, int32_t, size_t at) { memcpy(pixels + at * 4, &col, 4); });
    } else {
        flood(e, im, px, py, stops, [=](int32_t, int32_t, size_t at) {
            uint32_t v = blend_pixel(pixel32_at(pixels, at), col);
            memcpy(pixels + at * 4, &v, 4);
        });
    }
}

uint8_t tile_byte(const zvs* tile, int64_t i) { return i < tile->length ? tile->text[i] : 0; }

}  // namespace

void getptsize_1bpp(zvs* tile, int32_t* width, int32_t* height) {
    *width = 8;
    *height = tile->length;
}
void getptsize_2bpp(zvs* tile, int32_t* width, int32_t* height) {
    *width = 4;
    *height = tile->length;
}
void getptsize_4bpp(zvs* tile, int32_t* width, int32_t* height) {
    *width = 8;
    *height = static_cast<int32_t>((static_cast<int64_t>(tile->length) + 3) / 4);
}
void getptsize_8bpp(zvs* tile, int32_t* width, int32_t* height) {
    *width = 1;
    *height = tile->length;
}
uint32_t getptcol_1bpp(zvs* tile, int32_t x, int32_t row) { return tile_byte(tile, row) >> (7 - x) & 1; }
uint32_t getptcol_2bpp(zvs* tile, int32_t x, int32_t row) { return tile_byte(tile, row) >> (6 - 2 * x) & 3; }
uint32_t getptcol_4bpp(zvs* tile, int32_t x, int32_t row) {
    uint32_t c = 0;
    for (int i = 0; i < 4; i++) c |= static_cast<uint32_t>(tile_byte(tile, int64_t{row} * 4 + i) >> (7 - x) & 1) << i;
    return c;
}
uint32_t getptcol_8bpp(zvs* tile, int32_t, int32_t row) { return tile_byte(tile, row); }

void sub_paint32(float x, float y, uint32_t col, uint32_t border, int32_t passed) {
    paint32(engine_32, x, y, col, border, passed);
}

void sub_paint32x(float x, float y, uint32_t col, uint32_t border, int32_t passed) {
    paint32(engine_32x, x, y, col, border, passed);
}

void sub_paint(float x, float y, uint32_t col, uint32_t border, zvs*, int32_t passed) {
    img_struct* im = graphics_write_page();
    if (!im) return;
    if (passed & 8) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if (im->bytes_per_pixel == 4) {
        if (im->blend_off)
            sub_paint32x(x, y, col, border, passed);
        else
            sub_paint32(x, y, col, border, passed);
        return;
    }
    if (!(passed & 2)) col = im->color;
    if (!(passed & 4)) border = col;
    col &= im->pixel_mask;
    border &= im->pixel_mask;
    im->draw_color = col;
    int32_t px, py;
    if (!start_pixel(im, x, y, passed, px, py)) return;
    uint8_t* pixels = im->pixels;
    if (pixels[static_cast<size_t>(py) * im->width + px] == border) return;
    auto value = static_cast<uint8_t>(col);
    flood(engine_palette, im, px, py, [=](size_t at) { return pixels[at] == border; },
          [=](int32_t, int32_t, size_t at) { pixels[at] = value; });
}

void sub_paint(float x, float y, zvs* tile, uint32_t border, zvs*, int32_t passed) {
    img_struct* im = graphics_write_page();
    if (!im) return;
    // The tile engine writes one byte per pixel: no tiles on 32-bit images.
    if (im->bytes_per_pixel != 1 || !(passed & 2) || !tile || tile->length == 0) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    void (*size)(zvs*, int32_t*, int32_t*) = getptsize_4bpp;
    uint32_t (*colour)(zvs*, int32_t, int32_t) = getptcol_4bpp;
    switch (im->legacy_mode) {
        case 2:
            size = getptsize_1bpp;
            colour = getptcol_1bpp;
            break;
        case 1:
            size = getptsize_2bpp;
            colour = getptcol_2bpp;
            break;
        case 13:
            size = getptsize_8bpp;
            colour = getptcol_8bpp;
            break;
        default:
            break;
    }
    int32_t tw, th;
    size(tile, &tw, &th);
    // The pattern buffer is as tall as the tile, column by column.
    size_t pattern_size = static_cast<size_t>(tw) * static_cast<size_t>(th);
    if (tile_pattern_capacity < pattern_size) {
        auto* grown = static_cast<uint8_t*>(realloc(tile_pattern, pattern_size));
        if (!grown) return;
        tile_pattern = grown;
        tile_pattern_capacity = pattern_size;
    }
    uint8_t* pattern = tile_pattern;
    for (int32_t tx = 0; tx < tw; tx++)
        for (int32_t row = 0; row < th; row++)
            pattern[static_cast<size_t>(row) * tw + tx] = static_cast<uint8_t>(colour(tile, tx, row));
    if (passed & 4) border &= im->pixel_mask;
    int32_t px, py;
    uint8_t* pixels = im->pixels;
    if (start_pixel(im, x, y, passed, px, py)) {
        uint8_t original = pixels[static_cast<size_t>(py) * im->width + px];
        bool has_border = passed & 4;
        if (!has_border || original != border) {
            // The pattern is anchored at pixel (0, 0) of the image and stored unmasked.
            auto paint = [=](int32_t x, int32_t y, size_t at) {
                pixels[at] = pattern[static_cast<size_t>(y % th) * tw + static_cast<size_t>(x % tw)];
            };
            if (has_border)
                flood(engine_tile, im, px, py, [=](size_t at) { return pixels[at] == border; }, paint);
            else
                flood(engine_tile, im, px, py, [=](size_t at) { return pixels[at] != original; }, paint);
        }
    }
}

void paint_reset_for_tests(size_t initial_front_capacity) {
    for (engine_storage*& s : storage) {
        if (!s) continue;
        for (front& f : s->fronts) {
            free(f.x);
            free(f.y);
            free(f.dir);
        }
        free(s->visited);
        free(s);
        s = nullptr;
    }
    free(tile_pattern);
    tile_pattern = nullptr;
    tile_pattern_capacity = 0;
    initial_capacity = initial_front_capacity;
}

bool paint_visited_clear_for_tests() {
    for (engine_storage* s : storage) {
        if (!s) continue;
        for (size_t i = 0; i < s->visited_capacity; i++)
            if (s->visited[i]) return false;
    }
    return true;
}
