// Software frame producer: turns the display page into frames for the window.
#pragma once
#include <atomic>
#include <cstdint>

// Non-zero while the housekeeping loop produces frames on its own.
extern std::atomic<int32_t> autodisplay;

// One production step, on the housekeeping thread.
void display();
