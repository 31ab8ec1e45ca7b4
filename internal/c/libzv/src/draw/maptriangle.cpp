// _MAPTRIANGLE: argument checks, the 16.16 conversion of source coordinates with
// wrap-around, and the hardware triangle commands.
#include "draw/maptriangle.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "draw/depthbuffer.h"
#include "draw/maptriangle_raster.h"
#include "draw/rounding.h"
#include "error/error.h"
#include "image/hardware_queue.h"
#include "image/image_handle.h"
#include "image/image_table.h"

namespace {

constexpr int32_t P_SEAMLESS = 1, P_SOURCE = 2, P_DEPTHS = 4 | 8 | 16, P_DESTINATION = 32;
constexpr int64_t ONE = 65536;
// Raw 16.16 source coordinates allowed, and destination coordinates.
constexpr int64_t raw_min = -16384 * ONE + 90, raw_max = 16383 * ONE - 90;
constexpr int32_t dest_limit = 16383;

bool alpha_disabled(const hardware_img_struct* hw) {
    return hw && std::atomic_ref<const int32_t>(hw->alpha_disabled).load(std::memory_order_relaxed) != 0;
}

void hardware_triangle(int32_t cull, const float s[6], const hardware_img_struct* src_hw, int32_t src_index,
                       const float d[9], int32_t destination, int32_t smooth, int32_t passed) {
    flush_old_hardware_commands();
    int32_t to = (passed & P_DESTINATION) ? destination : 0;
    int32_t dst_code;
    const hardware_img_struct* dst_hw = nullptr;
    if (to < 0) {
        // A freed image stays listed until the renderer drops it: only valid ones.
        dst_hw = get_hardware_img(to);
        if (!dst_hw) {
            error(ERR_INVALID_HANDLE);
            return;
        }
        dst_code = get_hardware_img_index(to);
    } else if (to == 0 || to == 1) {
        dst_code = to == 0 ? 0 : -1;
    } else {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    bool depth = passed & P_DEPTHS;
    if ((passed & P_SEAMLESS) && !depth) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    int32_t handle = hardware_command_new();
    if (!handle) return;
    hardware_graphics_command* c = hardware_command_at(handle);
    c->command = depth ? HARDWARE_COMMAND_TRIANGLE_3D : HARDWARE_COMMAND_TRIANGLE_2D;
    c->src_img = src_index;
    c->dst_img = dst_code;
    c->src_x1 = s[0];
    c->src_y1 = s[1];
    c->src_x2 = s[2];
    c->src_y2 = s[3];
    c->src_x3 = s[4];
    c->src_y3 = s[5];
    c->dst_x1 = d[0];
    c->dst_y1 = d[1];
    c->dst_x2 = d[3];
    c->dst_y2 = d[4];
    c->dst_x3 = d[6];
    c->dst_y3 = d[7];
    if (depth) {
        c->dst_z1 = d[2];
        c->dst_z2 = d[5];
        c->dst_z3 = d[8];
        c->cull_mode = cull == 1 || cull == 2 ? cull : 0;
        c->depthbuffer_mode = depthbuffer_mode_of(dst_code);
    }
    c->smooth = smooth;
    c->use_alpha = alpha_disabled(src_hw) || alpha_disabled(dst_hw) ? 0 : 1;
    c->remove = 0;
    c->next_command = 0;
    hardware_command_queue(handle);
}

// One source coordinate in 16.16, centred on its texel; false when out of range
// (NaN included).
bool source_fixed(float coordinate, int64_t& out) {
    double scaled = double(coordinate) * 65536.0;
    if (!(scaled > double(raw_min) - 1.0 && scaled < double(raw_max) + 1.0)) return false;
    out = static_cast<int64_t>(std::trunc(scaled)) + 0x8000;
    return true;
}

// Moves three coordinates by one whole multiple of size so the smallest lies in
// 0 .. size - 1.
void shift_into(int64_t (&values)[3], int64_t size) {
    int64_t lowest = std::min({values[0], values[1], values[2]});
    int64_t k = lowest >= 0 ? lowest / size : -((-lowest + size - 1) / size);
    for (int64_t& v : values) v -= k * size;
}

bool inside(const int64_t (&values)[3], int64_t lo, int64_t hi) {
    return std::all_of(values, values + 3, [&](int64_t v) { return v >= lo && v <= hi; });
}

void software_triangle(const float s[6], int32_t source, const float d[9], int32_t destination, int32_t passed) {
    if (passed & P_DEPTHS) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    int32_t dx[3], dy[3];
    for (int i = 0; i < 3; i++) {
        dx[i] = round_float_to_int32(d[i * 3]);
        dy[i] = round_float_to_int32(d[i * 3 + 1]);
    }
    int32_t si = image_index_or_read(source, passed & P_SOURCE);
    if (!si) return;
    int32_t di = image_index_or_write(destination, passed & P_DESTINATION);
    if (!di) return;
    const img_struct* src = img_get(si);
    img_struct* dst = img_get(di);
    if (src->text || dst->text || src->bytes_per_pixel != dst->bytes_per_pixel) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    bool seamless = passed & P_SEAMLESS;

    int64_t u[3], v[3];
    for (int i = 0; i < 3; i++)
        if (!source_fixed(s[i * 2], u[i]) || !source_fixed(s[i * 2 + 1], v[i])) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return;
        }
    int64_t width = int64_t(src->width) * ONE, height = int64_t(src->height) * ONE;
    bool wrap = !inside(u, 16, width - 17) || !inside(v, 16, height - 17);
    if (wrap) {
        shift_into(u, width);
        shift_into(v, height);
        wrap = !inside(u, 16, width - 17) || !inside(v, 16, height - 17);
    }

    for (int i = 0; i < 3; i++)
        if (dx[i] < -dest_limit || dx[i] > dest_limit || dy[i] < -dest_limit || dy[i] > dest_limit) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return;
        }
    auto all = [&](auto test) { return test(0) && test(1) && test(2); };
    if (all([&](int i) { return dy[i] < 0; }) || all([&](int i) { return dy[i] >= dst->height; }) ||
        all([&](int i) { return dx[i] < 0; }) || all([&](int i) { return dx[i] >= dst->width; }))
        return;

    maptriangle_vertex corners[3];
    for (int i = 0; i < 3; i++) corners[i] = {dx[i], dy[i], u[i], v[i]};
    maptriangle_raster(src, dst, corners, seamless, wrap);
}

}  // namespace

void sub__maptriangle(int32_t cull, float sx1, float sy1, float sx2, float sy2, float sx3, float sy3, int32_t source,
                      float dx1, float dy1, float dz1, float dx2, float dy2, float dz2, float dx3, float dy3,
                      float dz3, int32_t destination, int32_t smooth, int32_t passed) {
    if (new_error_is_set()) return;
    const float s[6] = {sx1, sy1, sx2, sy2, sx3, sy3};
    const float d[9] = {dx1, dy1, dz1, dx2, dy2, dz2, dx3, dy3, dz3};
    if ((passed & P_SOURCE) && hardware_img_handle_in_range(source)) {
        // A freed image stays listed until the renderer drops it: only valid ones.
        const hardware_img_struct* hw = get_hardware_img(source);
        if (!hw) {
            error(ERR_INVALID_HANDLE);
            return;
        }
        hardware_triangle(cull, s, hw, get_hardware_img_index(source), d, destination, smooth, passed);
        return;
    }
    software_triangle(s, source, d, destination, passed);
}
