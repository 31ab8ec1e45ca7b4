// Frame production.
#include "display/display.h"

std::atomic<int32_t> autodisplay{1};

void display() {}
