// The 2D environment: screen placement, letterboxing, scaling and the one
// screen-to-window mapping.
#include "display/presenter_environment.h"

#include <cfloat>
#include <cstdlib>

#include "draw/rounding.h"

// Every product and quotient here is single precision, so that the mapping is the
// same bit for bit wherever it is used.
static_assert(FLT_EVAL_METHOD == 0);

std::atomic<int32_t> environment__window_width{640};
std::atomic<int32_t> environment__window_height{400};
std::atomic<int32_t> environment_2d__screen_width{640};
std::atomic<int32_t> environment_2d__screen_height{400};
std::atomic<int32_t> environment_2d__screen_x1{0};
std::atomic<int32_t> environment_2d__screen_y1{0};
std::atomic<int32_t> environment_2d__screen_x2{639};
std::atomic<int32_t> environment_2d__screen_y2{399};
std::atomic<int32_t> environment_2d__screen_scaled_width{640};
std::atomic<int32_t> environment_2d__screen_scaled_height{400};
std::atomic<float> environment_2d__screen_x_scale{1.0f};
std::atomic<float> environment_2d__screen_y_scale{1.0f};
std::atomic<int32_t> environment_2d__screen_smooth{0};
std::atomic<int32_t> environment_2d__letterbox{0};

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Sums of mapped coordinates wrap like the int32 words they are kept in.
int32_t wrap32(int64_t v) { return static_cast<int32_t>(v); }

}  // namespace

environment_2d prepare_environment_2d(int32_t window_width, int32_t window_height, int32_t frame_width,
                                      int32_t frame_height, int32_t full_screen, int32_t fullscreen_smooth,
                                      int32_t resize_auto) {
    environment_2d e{};
    bool stretch = false, square = false;
    if (full_screen > 0) {
        stretch = true;
        square = full_screen == 2;
        e.smooth = fullscreen_smooth;
    } else if (resize_auto > 0) {
        stretch = true;
        e.smooth = resize_auto == 2;
    }
    // Sizes are at least one pixel, so that no aspect divides by zero.
    if (window_width < 1) window_width = 1;
    if (window_height < 1) window_height = 1;
    if (frame_width < 1) frame_width = 1;
    if (frame_height < 1) frame_height = 1;

    float frame_aspect = static_cast<float>(frame_width) / static_cast<float>(frame_height);
    float window_aspect = static_cast<float>(window_width) / static_cast<float>(window_height);
    if (window_width == frame_width && window_height == frame_height) {
        e.x2 = frame_width - 1;
        e.y2 = frame_height - 1;
        e.smooth = 0;
    } else if (!stretch) {
        e.x2 = frame_width - 1;
        e.y2 = frame_height - 1;
    } else if (!square || window_aspect == frame_aspect) {
        e.x2 = window_width - 1;
        e.y2 = window_height - 1;
    } else if (window_aspect > frame_aspect) {
        int32_t size = truncate_float_to_int32(static_cast<float>(window_height) * frame_aspect);
        e.x1 = window_width / 2 - size / 2;
        e.x2 = e.x1 + size - 1;
        e.y2 = window_height - 1;
        e.letterbox = 1;
    } else {
        int32_t size = truncate_float_to_int32(static_cast<float>(window_width) / frame_aspect);
        e.y1 = window_height / 2 - size / 2;
        e.y2 = e.y1 + size - 1;
        e.x2 = window_width - 1;
        e.letterbox = 2;
    }
    e.scaled_width = e.x2 - e.x1 + 1;
    e.scaled_height = e.y2 - e.y1 + 1;
    e.x_scale = static_cast<float>(e.scaled_width) / static_cast<float>(frame_width);
    e.y_scale = static_cast<float>(e.scaled_height) / static_cast<float>(frame_height);
    return e;
}

void environment_2d_publish(const environment_2d& e) {
    environment_2d__screen_x1.store(e.x1, relaxed);
    environment_2d__screen_y1.store(e.y1, relaxed);
    environment_2d__screen_x2.store(e.x2, relaxed);
    environment_2d__screen_y2.store(e.y2, relaxed);
    environment_2d__screen_scaled_width.store(e.scaled_width, relaxed);
    environment_2d__screen_scaled_height.store(e.scaled_height, relaxed);
    environment_2d__screen_x_scale.store(e.x_scale, relaxed);
    environment_2d__screen_y_scale.store(e.y_scale, relaxed);
    environment_2d__screen_smooth.store(e.smooth, relaxed);
    environment_2d__letterbox.store(e.letterbox, relaxed);
}

void environment_2d_reset() {
    environment__window_width.store(640, relaxed);
    environment__window_height.store(400, relaxed);
    environment_2d__screen_width.store(640, relaxed);
    environment_2d__screen_height.store(400, relaxed);
    environment_2d_publish({0, 0, 639, 399, 640, 400, 1.0f, 1.0f, 0, 0});
}

int32_t environment_2d__get_window_x1_coord(int32_t x) {
    return wrap32(int64_t{round_float_to_int32(static_cast<float>(x) * environment_2d__screen_x_scale.load(relaxed))} +
                  environment_2d__screen_x1.load(relaxed));
}

int32_t environment_2d__get_window_x2_coord(int32_t x) {
    float scaled = (static_cast<float>(x) + 1.0f) * environment_2d__screen_x_scale.load(relaxed);
    return wrap32(int64_t{round_float_to_int32(scaled - 1.0f)} + environment_2d__screen_x1.load(relaxed));
}

int32_t environment_2d__get_window_y1_coord(int32_t y) {
    return wrap32(int64_t{round_float_to_int32(static_cast<float>(y) * environment_2d__screen_y_scale.load(relaxed))} +
                  environment_2d__screen_y1.load(relaxed));
}

int32_t environment_2d__get_window_y2_coord(int32_t y) {
    float scaled = (static_cast<float>(y) + 1.0f) * environment_2d__screen_y_scale.load(relaxed);
    return wrap32(int64_t{round_float_to_int32(scaled - 1.0f)} + environment_2d__screen_y1.load(relaxed));
}

window_rect environment_2d__screen_to_window_rect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    float xs = environment_2d__screen_x_scale.load(relaxed);
    float ys = environment_2d__screen_y_scale.load(relaxed);
    window_rect r;
    r.left = wrap32(int64_t{round_float_to_int32(static_cast<float>(x1) * xs)} + environment_2d__screen_x1.load(relaxed));
    r.top = wrap32(int64_t{round_float_to_int32(static_cast<float>(y1) * ys)} + environment_2d__screen_y1.load(relaxed));
    float dx = static_cast<float>(std::llabs(static_cast<int64_t>(x2) - x1) + 1);
    float dy = static_cast<float>(std::llabs(static_cast<int64_t>(y2) - y1) + 1);
    int32_t width = truncate_float_to_int32(dx * xs + 0.99f);
    int32_t height = truncate_float_to_int32(dy * ys + 0.99f);
    r.right = wrap32(int64_t{r.left} + width - 1);
    r.bottom = wrap32(int64_t{r.top} + height - 1);
    return r;
}
