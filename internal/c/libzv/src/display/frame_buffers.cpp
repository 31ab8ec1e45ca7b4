// Frame buffers of the producer: slot sizing, the newest frame, and the reads of page
// buffers that the program thread may be drawing into.
#include <cstdlib>
#include <cstring>

#include "display/producer_internal.h"

namespace {

// What each slot's pixels hold, as frame_slot_fit describes; producer only.
int64_t slot_content[display_frame_count];

int64_t& content_of(const display_frame_record* slot) { return slot_content[slot - display_frame_slot(0)]; }

}  // namespace

bool frame_slot_fit(display_frame_record* slot, int32_t w, int32_t h, int64_t* content) {
    int64_t& held = content_of(slot);
    if (content) *content = held;
    held = 0;
    int64_t bytes = static_cast<int64_t>(w) * h * 4;
    if (bytes > slot->bytes_allocated) {
        if (content) *content = 0;
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

int64_t frame_slot_content(const display_frame_record* slot) { return content_of(slot); }

void frame_slot_set_content(display_frame_record* slot, int64_t content) { content_of(slot) = content; }

void frame_slots_content_reset() {
    for (int64_t& content : slot_content) content = 0;
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

// The program thread draws into page buffers without a lock while the producer reads
// them (a torn frame is allowed and redrawn next time). The race build is told to
// skip exactly these reads, so every other shared word still race-checks clean.
#if defined(__SANITIZE_THREAD__)
extern "C" void AnnotateIgnoreReadsBegin(const char* file, int line);
extern "C" void AnnotateIgnoreReadsEnd(const char* file, int line);
#define ZV_UNLOCKED_READS_BEGIN() AnnotateIgnoreReadsBegin(__FILE__, __LINE__)
#define ZV_UNLOCKED_READS_END() AnnotateIgnoreReadsEnd(__FILE__, __LINE__)
#else
#define ZV_UNLOCKED_READS_BEGIN() ((void)0)
#define ZV_UNLOCKED_READS_END() ((void)0)
#endif

[[gnu::noinline]] bool display_page_buffer_equal(const void* page_bytes, const void* copy, size_t n) {
    ZV_UNLOCKED_READS_BEGIN();
    bool equal = memcmp(page_bytes, copy, n) == 0;
    ZV_UNLOCKED_READS_END();
    return equal;
}

[[gnu::noinline]] void display_page_buffer_copy(void* to, const void* page_bytes, size_t n) {
    ZV_UNLOCKED_READS_BEGIN();
    memcpy(to, page_bytes, n);
    ZV_UNLOCKED_READS_END();
}
