// Request and state words of the window and their start values.
#include "window/window_words.h"

std::atomic<int32_t> full_screen{0};
std::atomic<int32_t> full_screen_set{-1};
std::atomic<int32_t> fullscreen_smooth{0};
std::atomic<int32_t> fullscreen_allowedmode{0};
std::atomic<int32_t> fullscreen_allowedsmooth{0};
std::atomic<int32_t> resize_snapback{1};
std::atomic<int32_t> resize_auto{0};
std::atomic<int32_t> resize_event{0};
std::atomic<int32_t> resize_event_x{0};
std::atomic<int32_t> resize_event_y{0};
std::atomic<int32_t> environment_2d__screen_scaled_width{640};
std::atomic<int32_t> environment_2d__screen_scaled_height{400};
std::atomic<double> max_fps{60.0};
std::atomic<int32_t> auto_fps{0};

void window_words_reset_for_tests() {
    full_screen = 0;
    full_screen_set = -1;
    fullscreen_smooth = 0;
    fullscreen_allowedmode = 0;
    fullscreen_allowedsmooth = 0;
    resize_snapback = 1;
    resize_auto = 0;
    resize_event = 0;
    resize_event_x = 0;
    resize_event_y = 0;
    environment_2d__screen_scaled_width = 640;
    environment_2d__screen_scaled_height = 400;
    max_fps = 60.0;
    auto_fps = 0;
}
