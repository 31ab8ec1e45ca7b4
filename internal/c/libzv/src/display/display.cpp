// Frame production.
#include "display/display.h"

std::atomic<int32_t> autodisplay{1};
std::atomic<int32_t> screen_last_valid{0};
std::atomic<int64_t> display_frame_order_next{1};

void display() {}
