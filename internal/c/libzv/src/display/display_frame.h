// Frame slots: the three records through which the producer hands 32-bit frames to
// the presenter, and the order words that tie hardware commands to frames.
#pragma once
#include <atomic>
#include <cstdint>

// Slot states. The producer moves 1 -> 2 -> 3 (produced) or 2 -> 1 (nothing to
// produce) and may take back a ready slot (3 -> 2); the presenter moves 3 -> 4 and
// older ready or shown slots to 1.
constexpr int32_t FRAME_FREE = 1;
constexpr int32_t FRAME_WRITING = 2;
constexpr int32_t FRAME_READY = 3;
constexpr int32_t FRAME_SHOWN = 4;

constexpr int32_t display_frame_count = 3;

// One frame slot. The state is the hand-off: the producer writes pixels, width,
// height and order while it holds the slot in state 2 and then stores 3 with release;
// readers load the state with acquire (or win a compare-exchange) before they read
// the rest. Pixels are 0xAARRGGBB words, rows from the top, no padding. Only the
// producer allocates buffers; they only grow.
struct display_frame_record {
    std::atomic<int32_t> state;
    std::atomic<int64_t> order;  // frame order stamp; compared as signed
    uint32_t* pixels;
    int32_t w, h;
    int64_t bytes_allocated;  // capacity of pixels in bytes
};

// Slot i (0 to 2). Records never move.
display_frame_record* display_frame_slot(int32_t i);

// Transitions that two threads may attempt on one slot: true when this caller made it.
inline bool display_frame_transition(display_frame_record* slot, int32_t from, int32_t to) {
    return slot->state.compare_exchange_strong(from, to, std::memory_order_acq_rel, std::memory_order_acquire);
}

// The order the next produced frame receives (starts at 1); hardware commands are
// stamped with it.
extern std::atomic<int64_t> display_frame_order_next;
// The order consumed by the last producer call, whether or not it produced pixels.
extern std::atomic<int64_t> last_hardware_display_frame_order;
// The presenter's: the frame order whose hardware commands it has replayed last.
extern std::atomic<int64_t> last_rendered_hardware_display_frame_order;
