// _PUTIMAGE: corner resolution, clipping, same-size and stretched copies, hardware puts.
#include "draw/putimage.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "draw/blend.h"
#include "draw/coordinates.h"
#include "draw/graphics_open.h"
#include "draw/rounding.h"
#include "error/error.h"
#include "image/hardware_queue.h"
#include "image/image_handle.h"
#include "image/image_statements.h"
#include "image/image_table.h"

namespace {

constexpr int32_t P_D1 = 1, P_D1_STEP = 2, P_D2 = 4, P_SRC = 8, P_D2_STEP = 16, P_DST = 32, P_S1 = 64,
                  P_SMOOTH = 128, P_S1_STEP = 256, P_S2 = 512, P_S2_STEP = 1024;

// One side of the blit: its size and, for software images and the hardware layers,
// the coordinate settings and cursor (null for a hardware image).
struct side {
    int64_t w, h;
    img_graphics_state* g;
};

// A corner in program coordinates as a pixel, in 64 bits so that the clip
// arithmetic cannot overflow.
int64_t map_corner(const img_graphics_state* g, double v, bool is_x) {
    if (!g || g->clipping_or_scaling == 0) return round_double_to_int32(v);
    int64_t offset = is_x ? map_origin_x(*g) : map_origin_y(*g);
    if (g->clipping_or_scaling == 2) {
        double scaled = v * (is_x ? g->scaling_x : g->scaling_y) + (is_x ? g->scaling_offset_x : g->scaling_offset_y);
        return static_cast<int64_t>(round_float_to_int32(static_cast<float>(scaled))) + offset;
    }
    return static_cast<int64_t>(round_double_to_int32(v)) + offset;
}

struct rect {
    int64_t x1, y1, x2, y2;
};

// Stores one source pixel on the destination by the pixel rule of the two depths.
inline void put_pixel(const img_struct* s, img_struct* d, int64_t sx, int64_t sy, int64_t dx, int64_t dy,
                      bool blend) {
    size_t si = static_cast<size_t>(sy) * s->width + static_cast<size_t>(sx);
    size_t di = static_cast<size_t>(dy) * d->width + static_cast<size_t>(dx);
    if (s->bytes_per_pixel == 4) {
        uint32_t col;
        memcpy(&col, s->pixels + si * 4, 4);
        if (blend) {
            uint32_t old;
            memcpy(&old, d->pixels + di * 4, 4);
            col = blend_pixel(old, col);
        }
        memcpy(d->pixels + di * 4, &col, 4);
        return;
    }
    uint8_t index = s->pixels[si];
    if (s->clear_color >= 0 && index == s->clear_color) return;
    if (d->bytes_per_pixel == 1) {
        d->pixels[di] = index;
        return;
    }
    uint32_t col = s->palette[index];
    memcpy(d->pixels + di * 4, &col, 4);
}

// Clips one axis of a same-size copy against the destination, then the source; the
// two spans keep equal lengths, and a mirrored axis trims the opposite end.
void clip_same_size_axis(int64_t& d1, int64_t& d2, int64_t& s1, int64_t& s2, bool flip, int64_t dsize,
                         int64_t ssize) {
    if (d1 < 0) {
        if (flip) s2 += d1;
        else s1 -= d1;
        d1 = 0;
    }
    if (d2 >= dsize) {
        int64_t n = d2 - dsize + 1;
        if (flip) s1 += n;
        else s2 -= n;
        d2 = dsize - 1;
    }
    if (s1 < 0) {
        if (flip) d2 += s1;
        else d1 -= s1;
        s1 = 0;
    }
    if (s2 >= ssize) {
        int64_t n = s2 - ssize + 1;
        if (flip) d1 += n;
        else d2 -= n;
        s2 = ssize - 1;
    }
}

void same_size_copy(const img_struct* s, img_struct* d, rect sr, rect dr, bool flipx, bool flipy) {
    clip_same_size_axis(dr.x1, dr.x2, sr.x1, sr.x2, flipx, d->width, s->width);
    clip_same_size_axis(dr.y1, dr.y2, sr.y1, sr.y2, flipy, d->height, s->height);
    if (dr.x2 < dr.x1 || dr.y2 < dr.y1) return;

    bool blend = s->bytes_per_pixel == 4 && !s->blend_off && !d->blend_off;
    bool rows_as_blocks = !flipx && s->bytes_per_pixel == d->bytes_per_pixel &&
                          (s->bytes_per_pixel == 4 ? !blend : s->clear_color < 0);
    int64_t cols = dr.x2 - dr.x1 + 1;
    for (int64_t k = 0; k <= dr.y2 - dr.y1; k++) {
        int64_t sy = flipy ? sr.y2 - k : sr.y1 + k;
        int64_t dy = dr.y1 + k;
        if (rows_as_blocks) {
            size_t bpp = s->bytes_per_pixel;
            memcpy(d->pixels + (static_cast<size_t>(dy) * d->width + static_cast<size_t>(dr.x1)) * bpp,
                   s->pixels + (static_cast<size_t>(sy) * s->width + static_cast<size_t>(sr.x1)) * bpp,
                   static_cast<size_t>(cols) * bpp);
            continue;
        }
        for (int64_t j = 0; j < cols; j++) put_pixel(s, d, flipx ? sr.x2 - j : sr.x1 + j, sy, dr.x1 + j, dy, blend);
    }
}

// Clips one axis of a stretched copy; false when nothing of it remains.
bool clip_stretch_axis(double& f1, double& f2, double step, int64_t len, int64_t& d1, int64_t& d2, bool flip,
                       int64_t dsize, int64_t ssize) {
    if (d1 < 0) {
        if (flip) f2 += static_cast<double>(d1) * step;
        else f1 += static_cast<double>(-d1) * step;
        d1 = 0;
    }
    if (d2 >= dsize) {
        double n = static_cast<double>(d2 - dsize + 1);
        if (flip) f1 += n * step;
        else f2 -= n * step;
        d2 = dsize - 1;
    }
    if (len == 0) {
        // A zero-length span samples only its start: outside the source, draw nothing.
        int64_t at = std::llrint(f1);
        return at >= 0 && at < ssize;
    }
    // Counts far beyond any image are capped so that the conversion stays defined.
    auto count = [](double v) { return static_cast<int64_t>(std::min(v, 1e15)) + 1; };
    if (f1 < -0.4999999) {
        int64_t n = count((-f1 - 0.499999) / step);
        if (flip) d2 -= n;
        else d1 += n;
        f1 += static_cast<double>(n) * step;
    }
    if (f2 > static_cast<double>(ssize) - 0.5000001) {
        int64_t n = count((f2 - (static_cast<double>(ssize) - 0.500001)) / step);
        if (flip) d1 += n;
        else d2 -= n;
        f2 -= static_cast<double>(n) * step;
    }
    return d2 >= d1;
}

void stretched_copy(const img_struct* s, img_struct* d, rect sr, rect dr, bool flipx, bool flipy) {
    int64_t len = dr.x2 - dr.x1, rows = dr.y2 - dr.y1;
    double fx1 = static_cast<double>(sr.x1) - 0.499999, fx2 = static_cast<double>(sr.x2) + 0.499999;
    double fy1 = static_cast<double>(sr.y1) - 0.499999, fy2 = static_cast<double>(sr.y2) + 0.499999;
    double xstep = len ? (fx2 - fx1) / static_cast<double>(len) : 0;
    double ystep = rows ? (fy2 - fy1) / static_cast<double>(rows) : 0;
    if (!clip_stretch_axis(fx1, fx2, xstep, len, dr.x1, dr.x2, flipx, d->width, s->width)) return;
    if (!clip_stretch_axis(fy1, fy2, ystep, rows, dr.y1, dr.y2, flipy, d->height, s->height)) return;
    if (dr.x2 < dr.x1 || dr.y2 < dr.y1) return;

    bool blend = s->bytes_per_pixel == 4 && !s->blend_off && !d->blend_off;
    int64_t sw1 = s->width - 1, sh1 = s->height - 1;
    double fy = fy1;
    for (int64_t k = 0; k <= dr.y2 - dr.y1; k++, fy += ystep) {
        int64_t sy = std::clamp<int64_t>(std::llrint(fy), 0, sh1);
        int64_t dy = flipy ? dr.y2 - k : dr.y1 + k;
        double fx = fx1;
        for (int64_t j = 0; j <= dr.x2 - dr.x1; j++, fx += xstep) {
            int64_t sx = std::clamp<int64_t>(std::llrint(fx), 0, sw1);
            put_pixel(s, d, sx, sy, flipx ? dr.x2 - j : dr.x1 + j, dy, blend);
        }
    }
}

void queue_hardware_put(int32_t src_index, int32_t dst_code, const hardware_img_struct* src_hw,
                        const hardware_img_struct* dst_hw, rect sr, rect dr, bool smooth) {
    int32_t handle = hardware_command_new();
    if (!handle) return;
    hardware_graphics_command* c = hardware_command_at(handle);
    c->command = HARDWARE_COMMAND_PUT;
    c->src_img = src_index;
    c->dst_img = dst_code;
    c->src_x1 = static_cast<float>(sr.x1);
    c->src_y1 = static_cast<float>(sr.y1);
    c->src_x2 = static_cast<float>(sr.x2);
    c->src_y2 = static_cast<float>(sr.y2);
    c->dst_x1 = static_cast<float>(dr.x1);
    c->dst_y1 = static_cast<float>(dr.y1);
    c->dst_x2 = static_cast<float>(dr.x2);
    c->dst_y2 = static_cast<float>(dr.y2);
    c->smooth = smooth ? 1 : 0;
    auto disabled = [](const hardware_img_struct* hw) {
        return hw && std::atomic_ref<const int32_t>(hw->alpha_disabled).load(std::memory_order_relaxed) != 0;
    };
    c->use_alpha = disabled(src_hw) || disabled(dst_hw) ? 0 : 1;
    c->remove = 0;
    c->next_command = 0;
    hardware_command_queue(handle);
}

// The two images of a blit: software images, or a hardware source onto a hardware
// image or a hardware layer.
struct blit_images {
    side src{}, dst{};
    img_struct* s = nullptr;
    img_struct* d = nullptr;
    hardware_img_struct* src_hw = nullptr;
    hardware_img_struct* dst_hw = nullptr;
    int32_t dst_code = 0;  // hardware destination: its index, 0 or -1 for the layers
    int32_t self = 0;      // a software image put onto itself: its index
};

// Resolves source and destination; false when the statement ends here (an error was
// raised), or when b.self is set.
bool find_images(int32_t source, int32_t destination, int32_t passed, blit_images& b) {
    if ((passed & P_SRC) && source != 0) b.src_hw = get_hardware_img(source);
    if (b.src_hw) {
        flush_old_hardware_commands();
        int32_t to = (passed & P_DST) ? destination : 0;
        if (to < 0) {
            b.dst_hw = get_hardware_img(to);
            if (!b.dst_hw) {
                error(ERR_INVALID_HANDLE);
                return false;
            }
            b.dst_code = get_hardware_img_index(to);
            b.dst = {b.dst_hw->w, b.dst_hw->h, nullptr};
        } else {
            if (to > 1) {
                error(ERR_ILLEGAL_FUNCTION_CALL);
                return false;
            }
            b.dst_code = to == 0 ? 0 : -1;
            img_struct* display = display_page();
            b.dst = {display->width, display->height, &display->graphics};
        }
        b.src = {b.src_hw->w, b.src_hw->h, nullptr};
        return true;
    }
    int32_t si = image_index_or_read(source, passed & P_SRC);
    if (!si) return false;
    int32_t di = image_index_or_write(destination, passed & P_DST);
    if (!di) return false;
    b.s = img_get(si);
    b.d = img_get(di);
    if (b.s->text || b.d->text || (b.s->bytes_per_pixel == 4 && b.d->bytes_per_pixel == 1)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return false;
    }
    if (si == di) {
        b.self = si;
        return false;
    }
    b.src = {b.s->width, b.s->height, &b.s->graphics};
    b.dst = {b.d->width, b.d->height, &b.d->graphics};
    return true;
}

// The corners as the program gave them (program coordinates, before STEP).
struct blit_corners {
    double x1, y1, x2, y2, sx1, sy1, sx2, sy2;
};

// The pixel rectangles of a blit, as given (a reversed pair of corners mirrors).
struct blit_plan {
    rect sr{}, dr{};
    bool stretched = false;
};

// STEP and the graphics cursors, the corners on the pixel grid, and the corners left
// out taken from the image sizes. False after error 5.
bool plan_blit(blit_corners c, int32_t passed, const side& src, const side& dst, blit_plan& p) {
    // STEP, then the graphics cursors (before any corner error, as the legacy order has it).
    if (dst.g) step_from_cursor(passed & P_D1_STEP, *dst.g, c.x1, c.y1);
    if (passed & P_D2_STEP) c.x2 += c.x1, c.y2 += c.y1;
    if (src.g) step_from_cursor(passed & P_S1_STEP, *src.g, c.sx1, c.sy1);
    if (passed & P_S2_STEP) c.sx2 += c.sx1, c.sy2 += c.sy1;
    if (dst.g) {
        double cx, cy;
        if (passed & P_D2) cx = c.x2, cy = c.y2;
        else if (!(passed & P_D1)) cx = static_cast<double>(dst.w), cy = static_cast<double>(dst.h);
        else if (passed & P_S2) cx = c.x1 + std::fabs(c.sx2 - c.sx1), cy = c.y1 + std::fabs(c.sy2 - c.sy1);
        else
            cx = c.x1 + std::fabs(static_cast<double>(src.w) - c.sx1),
            cy = c.y1 + std::fabs(static_cast<double>(src.h) - c.sy1);
        dst.g->x = static_cast<float>(cx);
        dst.g->y = static_cast<float>(cy);
    }
    if (src.g) {
        src.g->x = static_cast<float>((passed & P_S2) ? c.sx2 : static_cast<double>(src.w));
        src.g->y = static_cast<float>((passed & P_S2) ? c.sy2 : static_cast<double>(src.h));
    }

    rect& dr = p.dr;
    rect& sr = p.sr;
    if (passed & P_D1) dr.x1 = map_corner(dst.g, c.x1, true), dr.y1 = map_corner(dst.g, c.y1, false);
    if (passed & P_D2) dr.x2 = map_corner(dst.g, c.x2, true), dr.y2 = map_corner(dst.g, c.y2, false);
    if (passed & P_S1) sr.x1 = map_corner(src.g, c.sx1, true), sr.y1 = map_corner(src.g, c.sy1, false);
    if (passed & P_S2) sr.x2 = map_corner(src.g, c.sx2, true), sr.y2 = map_corner(src.g, c.sy2, false);

    bool d1 = passed & P_D1, d2 = passed & P_D2, s1 = passed & P_S1, s2 = passed & P_S2;
    bool& stretched = p.stretched;
    if (!d2 && !s2) {
        if (s1) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return false;
        }
        sr.x2 = src.w - 1, sr.y2 = src.h - 1;
        if (!d1) {
            dr.x2 = dst.w - 1, dr.y2 = dst.h - 1;
            stretched = src.w != dst.w || src.h != dst.h;
        } else {
            dr.x2 = dr.x1 + src.w - 1, dr.y2 = dr.y1 + src.h - 1;
            stretched = false;
        }
    } else if (s2 && !d2) {
        if (!d1) {
            dr.x2 = dst.w - 1, dr.y2 = dst.h - 1;
            stretched = !(std::llabs(sr.x2 - sr.x1) + 1 == dst.w && std::llabs(sr.y2 - sr.y1) + 1 == dst.h);
        } else {
            dr.x2 = dr.x1 + std::llabs(sr.x1 - sr.x2), dr.y2 = dr.y1 + std::llabs(sr.y1 - sr.y2);
            stretched = false;
        }
    } else if (d2 && !s2) {
        if (!s1) {
            sr.x2 = src.w - 1, sr.y2 = src.h - 1;
            stretched = !(std::llabs(dr.x2 - dr.x1) + 1 == src.w && std::llabs(dr.y2 - dr.y1) + 1 == src.h);
        } else {
            sr.x2 = sr.x1 + std::llabs(dr.x1 - dr.x2), sr.y2 = sr.y1 + std::llabs(dr.y1 - dr.y2);
            stretched = false;
        }
    } else {
        stretched = !(std::llabs(dr.x2 - dr.x1) == std::llabs(sr.x2 - sr.x1) &&
                      std::llabs(dr.y2 - dr.y1) == std::llabs(sr.y2 - sr.y1));
    }
    return true;
}

// A software blit: mirroring from the corners' order, then the copy.
void software_blit(const img_struct* s, img_struct* d, blit_plan p) {
    rect& dr = p.dr;
    rect& sr = p.sr;
    bool flipx = (dr.x2 < dr.x1 && sr.x1 < sr.x2) || (sr.x2 < sr.x1 && dr.x1 < dr.x2);
    bool flipy = (dr.y2 < dr.y1 && sr.y1 < sr.y2) || (sr.y2 < sr.y1 && dr.y1 < dr.y2);
    if (dr.x2 < dr.x1) std::swap(dr.x1, dr.x2);
    if (dr.y2 < dr.y1) std::swap(dr.y1, dr.y2);
    if (sr.x2 < sr.x1) std::swap(sr.x1, sr.x2);
    if (sr.y2 < sr.y1) std::swap(sr.y1, sr.y2);
    if (p.stretched) stretched_copy(s, d, sr, dr, flipx, flipy);
    else same_size_copy(s, d, sr, dr, flipx, flipy);
}

}  // namespace

void sub__putimage(double x1, double y1, double x2, double y2, int32_t source, int32_t destination, double sx1,
                   double sy1, double sx2, double sy2, int32_t passed) {
    if (new_error_is_set()) return;
    blit_images b;
    if (!find_images(source, destination, passed, b)) {
        if (!b.self) return;
        // Onto itself: from an untouched copy, which is freed again.
        int32_t copy = func__copyimage(-b.self, 0, 1);
        if (copy >= 0) {
            if (!new_error_is_set()) error(ERR_OUT_OF_MEMORY);
            return;
        }
        sub__putimage(x1, y1, x2, y2, copy, destination, sx1, sy1, sx2, sy2, passed | P_SRC);
        image_release(-copy);
        return;
    }
    blit_plan p;
    if (!plan_blit({x1, y1, x2, y2, sx1, sy1, sx2, sy2}, passed, b.src, b.dst, p)) return;
    if (b.src_hw)
        queue_hardware_put(get_hardware_img_index(source), b.dst_code, b.src_hw, b.dst_hw, p.sr, p.dr,
                           passed & P_SMOOTH);
    else
        software_blit(b.s, b.d, p);
}
