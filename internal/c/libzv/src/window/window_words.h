// The window statements' own words: Alt+Enter's full-screen limits and _FPS _AUTO.
// The full-screen, resize and pacing words they write belong to the presenter.
#pragma once
#include <atomic>
#include <cstdint>

// Alt+Enter's limits: mode -1 no full screen, 0 any, 1 stretched only, 2 square
// pixels only; smooth -1 never, 0 either, 1 always.
extern std::atomic<int32_t> fullscreen_allowedmode;
extern std::atomic<int32_t> fullscreen_allowedsmooth;
// Written by _FPS _AUTO; nothing reads it.
extern std::atomic<int32_t> auto_fps;

void window_words_reset_for_tests();
