// _FPS: the frame-rate limit of the window.
#pragma once
#include <cstdint>

// mode 1 (_AUTO) changes nothing; mode 2 sets the limit (below 1 error 5, above 200
// counts as 200); other modes error 5.
void sub__fps(double value, int32_t mode);
