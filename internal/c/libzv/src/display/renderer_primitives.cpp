// The renderer's primitives: textured rectangles (puts), 2D and 3D triangles,
// depth-buffer clears, and the executor that runs replayed hardware commands.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <utility>

#include "display/presenter_environment.h"
#include "display/renderer.h"
#include "display/renderer_internal.h"
#include "draw/rounding.h"
#include "image/hardware_queue.h"

static_assert(FLT_EVAL_METHOD == 0);

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Nearest, ties to even.
float round_even(float v) { return std::nearbyint(v); }

// The destination and the view, or false when the destination cannot be drawn on.
bool destination(int32_t dest, int32_t view) {
    set_render_dest(dest);
    if (renderer_state().dest != dest) return false;
    set_view(view);
    return true;
}

// The source image, or null when it cannot be bound.
hardware_img_struct* source_image(int32_t source) {
    set_render_source(source);
    if (renderer_state().source != source) return nullptr;
    return hardware_img_at(source);
}

// Triangle smoothing: 0 none, 1 both, 2 when shrunk only, 3 when stretched only.
void triangle_smoothing(int32_t smooth) {
    switch (smooth) {
    case 1: set_smooth(1, 1); break;
    case 2: set_smooth(1, 0); break;
    case 3: set_smooth(0, 1); break;
    default: set_smooth(0, 0); break;
    }
}

// The smallest and largest truncated value of three and the factor that widens
// the span by one pixel.
void widen(float a, float b, float c, float* low, float* factor) {
    float ta = std::trunc(a), tb = std::trunc(b), tc = std::trunc(c);
    float lo = std::fmin(ta, std::fmin(tb, tc));
    float hi = std::fmax(ta, std::fmax(tb, tc));
    *low = lo;
    *factor = lo == hi ? 1.0f : (hi - lo + 1.0f) / (hi - lo);
}

void triangle_texcoords(const hardware_img_struct* hw, float sx1, float sy1, float sx2, float sy2, float sx3,
                        float sy3, float t[6]) {
    float tw, th;
    renderer_texture_size(hw, &tw, &th);
    // Texel centres.
    t[0] = (0.5f + sx1) / tw;
    t[1] = (0.5f + sy1) / th;
    t[2] = (0.5f + sx2) / tw;
    t[3] = (0.5f + sy2) / th;
    t[4] = (0.5f + sx3) / tw;
    t[5] = (0.5f + sy3) / th;
}

}  // namespace

void hardware_img_put(int32_t dx1, int32_t dy1, int32_t dx2, int32_t dy2, int32_t source, int32_t dest,
                      int32_t sx1, int32_t sy1, int32_t sx2, int32_t sy2, int32_t use_alpha, int32_t smooth) {
    // The second hardware layer draws onto the window too.
    if (dest < 0) dest = 0;
    // A mirrored put stays mirrored through the source.
    if (dx2 < dx1) {
        std::swap(dx1, dx2);
        std::swap(sx1, sx2);
    }
    if (dy2 < dy1) {
        std::swap(dy1, dy2);
        std::swap(sy1, sy2);
    }
    if (!destination(dest, 1)) return;
    if (dest == 0) {
        window_rect r = environment_2d__screen_to_window_rect(dx1, dy1, dx2, dy2);
        dx1 = r.left;
        dy1 = r.top;
        dx2 = r.right;
        dy2 = r.bottom;
    }
    hardware_img_struct* hw = source_image(source);
    if (!hw) return;
    set_smooth(smooth ? 1 : 0, smooth ? 1 : 0);
    set_alpha(use_alpha ? 1 : 0);
    set_depthbuffer(0);
    set_cull_mode(0);
    set_texture_wrap(0);

    // Far edges are exclusive.
    float x1 = static_cast<float>(dx1), y1 = static_cast<float>(dy1);
    float x2 = static_cast<float>(int64_t{dx2} + 1), y2 = static_cast<float>(int64_t{dy2} + 1);

    // Texture coordinates stay 0.01 texel inside the outer texels.
    float tw, th;
    renderer_texture_size(hw, &tw, &th);
    float fx1 = static_cast<float>(sx1), fx2 = static_cast<float>(sx2);
    float fy1 = static_cast<float>(sy1), fy2 = static_cast<float>(sy2);
    float s1, s2, t1, t2;
    if (sx1 <= sx2) {
        s1 = (fx1 + 0.01f) / tw;
        s2 = (fx2 + 0.99f) / tw;
    } else {
        s1 = (fx1 + 0.99f) / tw;
        s2 = (fx2 + 0.01f) / tw;
    }
    if (sy1 <= sy2) {
        t1 = (fy1 + 0.01f) / th;
        t2 = (fy2 + 0.99f) / th;
    } else {
        t1 = (fy1 + 0.99f) / th;
        t2 = (fy2 + 0.01f) / th;
    }
    const float first[6] = {x1, y1, x2, y1, x1, y2};
    const float first_t[6] = {s1, t1, s2, t1, s1, t2};
    const float second[6] = {x1, y2, x2, y1, x2, y2};
    const float second_t[6] = {s1, t2, s2, t1, s2, t2};
    renderer_append_2d(first, first_t);
    renderer_append_2d(second, second_t);
}

void hardware_img_tri2d(float dx1, float dy1, float dx2, float dy2, float dx3, float dy3, int32_t source,
                        int32_t dest, float sx1, float sy1, float sx2, float sy2, float sx3, float sy3,
                        int32_t use_alpha, int32_t smooth) {
    if (dest < 0) dest = 0;
    if (!destination(dest, 1)) return;

    // Widened by one pixel to cover the pixels at the right and bottom edges.
    float xmin, fx, ymin, fy;
    widen(dx1, dx2, dx3, &xmin, &fx);
    widen(dy1, dy2, dy3, &ymin, &fy);
    float v[6] = {dx1, dy1, dx2, dy2, dx3, dy3};
    if (dest > 0) {
        for (int32_t i = 0; i < 6; i += 2) {
            v[i] = round_even((v[i] - xmin) * fx + xmin);
            v[i + 1] = round_even((v[i + 1] - ymin) * fy + ymin);
        }
    } else {
        float xs = environment_2d__screen_x_scale.load(relaxed), ys = environment_2d__screen_y_scale.load(relaxed);
        float bx = round_even(xmin * xs + static_cast<float>(environment_2d__screen_x1.load(relaxed)));
        float by = round_even(ymin * ys + static_cast<float>(environment_2d__screen_y1.load(relaxed)));
        for (int32_t i = 0; i < 6; i += 2) {
            v[i] = bx + round_even((v[i] - xmin) * xs * fx);
            v[i + 1] = by + round_even((v[i + 1] - ymin) * ys * fy);
        }
    }

    hardware_img_struct* hw = source_image(source);
    if (!hw) return;
    triangle_smoothing(smooth);
    set_texture_wrap(1);
    set_alpha(use_alpha ? 1 : 0);
    set_depthbuffer(0);
    set_cull_mode(0);
    float t[6];
    triangle_texcoords(hw, sx1, sy1, sx2, sy2, sx3, sy3, t);
    renderer_append_2d(v, t);
}

void hardware_img_tri3d(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3, float z3,
                        int32_t source, int32_t dest, float sx1, float sy1, float sx2, float sy2, float sx3,
                        float sy3, int32_t use_alpha, int32_t smooth, int32_t cull_mode, int32_t depth_mode) {
    if (dest < 0) dest = 0;
    if (!destination(dest, 2)) return;
    if (dest > 0) hardware_img_requires_depthbuffer(dest);
    hardware_img_struct* hw = source_image(source);
    if (!hw) return;
    triangle_smoothing(smooth);
    set_texture_wrap(1);
    set_alpha(use_alpha ? 1 : 0);
    set_depthbuffer(depth_mode);
    // Image targets are drawn upside down, which turns the winding round.
    if (dest > 0 && (cull_mode == 1 || cull_mode == 2)) cull_mode = 3 - cull_mode;
    set_cull_mode(cull_mode);
    float t[6];
    triangle_texcoords(hw, sx1, sy1, sx2, sy2, sx3, sy3, t);
    const float v[9] = {x1, y1, z1, x2, y2, z2, x3, y3, z3};
    renderer_append_3d(v, t);
}

void clear_depthbuffer(int32_t dest) {
    hardware_buffer_flush();
    if (dest < 0) dest = 0;
    set_render_dest(dest);
    if (renderer_state().dest != dest) return;
    if (dest > 0) hardware_img_requires_depthbuffer(dest);
    renderer_clear_depth();
}

namespace {

void execute_command(void*, const hardware_graphics_command* c) {
    // Without framebuffer objects there is no way to draw into a hardware image.
    if (c->dst_img > 0 && !framebufferobjects_supported.load(relaxed)) return;
    switch (c->command) {
    case HARDWARE_COMMAND_PUT:
        hardware_img_put(truncate_float_to_int32(c->dst_x1), truncate_float_to_int32(c->dst_y1), truncate_float_to_int32(c->dst_x2),
                         truncate_float_to_int32(c->dst_y2), c->src_img, c->dst_img, truncate_float_to_int32(c->src_x1),
                         truncate_float_to_int32(c->src_y1), truncate_float_to_int32(c->src_x2), truncate_float_to_int32(c->src_y2),
                         c->use_alpha, c->smooth);
        break;
    case HARDWARE_COMMAND_TRIANGLE_2D:
        hardware_img_tri2d(c->dst_x1, c->dst_y1, c->dst_x2, c->dst_y2, c->dst_x3, c->dst_y3, c->src_img, c->dst_img,
                           c->src_x1, c->src_y1, c->src_x2, c->src_y2, c->src_x3, c->src_y3, c->use_alpha, c->smooth);
        break;
    case HARDWARE_COMMAND_TRIANGLE_3D:
        hardware_img_tri3d(c->dst_x1, c->dst_y1, c->dst_z1, c->dst_x2, c->dst_y2, c->dst_z2, c->dst_x3, c->dst_y3,
                           c->dst_z3, c->src_img, c->dst_img, c->src_x1, c->src_y1, c->src_x2, c->src_y2, c->src_x3,
                           c->src_y3, c->use_alpha, c->smooth, c->cull_mode, c->depthbuffer_mode);
        break;
    case HARDWARE_COMMAND_CLEAR_DEPTHBUFFER:
        clear_depthbuffer(c->dst_img);
        break;
    default:
        break;
    }
}

void free_command(void*, int32_t index) { free_hardware_img(index); }

}  // namespace

hardware_command_executor renderer_command_executor() { return {nullptr, execute_command, free_command}; }
