// The window statements' own words and their start values.
#include "window/window_words.h"

std::atomic<int32_t> fullscreen_allowedmode{0};
std::atomic<int32_t> fullscreen_allowedsmooth{0};
std::atomic<int32_t> auto_fps{0};

void window_words_reset_for_tests() {
    fullscreen_allowedmode = 0;
    fullscreen_allowedsmooth = 0;
    auto_fps = 0;
}
