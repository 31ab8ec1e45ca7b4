// Frame buffers of the producer: slot sizing, the newest frame, and the reads of page
// buffers that the program thread may be drawing into.
#include <cstdlib>
#include <cstring>

#include "display/producer_internal.h"

bool frame_slot_fit(display_frame_record* slot, int32_t w, int32_t h) {
    int64_t bytes = static_cast<int64_t>(w) * h * 4;
    if (bytes > slot->bytes_allocated) {
        auto* grown = static_cast<uint32_t*>(malloc(static_cast<size_t>(bytes)));
        if (!grown) return false;
        free(slot->pixels);
        slot->pixels = grown;
        slot->bytes_allocated = bytes;
    }
    slot->w = w;
    slot->h = h;
    return true;
}

display_frame_record* newest_frame() {
    display_frame_record* newest = nullptr;
    int64_t newest_order = 0;
    for (int32_t i = 0; i < display_frame_count; i++) {
        display_frame_record* slot = display_frame_slot(i);
        int32_t state = slot->state.load(std::memory_order_acquire);
        if (state != FRAME_READY && state != FRAME_SHOWN) continue;
        int64_t order = slot->order.load(std::memory_order_relaxed);
        if (!newest || order > newest_order) {
            newest = slot;
            newest_order = order;
        }
    }
    return newest;
}

// Kept out of line so that race reports name them (the suppressions of the race
// build allow exactly these reads).
[[gnu::noinline]] bool display_page_buffer_equal(const void* page_bytes, const void* copy, size_t n) {
    return memcmp(page_bytes, copy, n) == 0;
}

[[gnu::noinline]] void display_page_buffer_copy(void* to, const void* page_bytes, size_t n) {
    memcpy(to, page_bytes, n);
}
