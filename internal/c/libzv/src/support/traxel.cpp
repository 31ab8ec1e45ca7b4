// traxelHandle and unlocktraxelHandle: the debug-link handle.
#include "support/traxel.h"

#include <atomic>

namespace {
std::atomic<int32_t> traxel{-1};
}

int32_t traxelHandle() { return traxel.load(); }

void unlocktraxelHandle() {
    if (traxel.load() > 0) traxel.store(-1);
}

void traxel_set_handle(int32_t handle) { traxel.store(handle); }

void traxel_reset_for_tests() { traxel.store(-1); }
