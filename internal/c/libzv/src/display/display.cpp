// The frame producer's call: slot choice, order stamps, the screen-change handshake
// and the dispatch to the text, palette and 32-bit conversions.
#include "display/display.h"

#include <cstdint>
#include <cstdlib>

#include "core/runtime_flags.h"
#include "display/producer_internal.h"
#include "font/font_tables.h"
#include "image/image_table.h"
#include "platform/alert.h"
#include "screen/lock_display.h"

std::atomic<int32_t> autodisplay{1};
std::atomic<int32_t> display_called{0};
std::atomic<int32_t> force_display_update{0};
std::atomic<int32_t> screen_last_valid{0};
std::atomic<int32_t> x_monitor{0};
std::atomic<int32_t> y_monitor{0};
std::atomic<int32_t> displayorder_screen{1};

std::atomic<int64_t> display_frame_order_next{1};
std::atomic<int64_t> last_hardware_display_frame_order{0};
std::atomic<int64_t> last_rendered_hardware_display_frame_order{0};

std::atomic<int64_t> display_calls_started{0};
std::atomic<int64_t> display_calls_finished{0};

namespace {

display_frame_record display_frame[display_frame_count];

std::atomic<void (*)()> test_hook{nullptr};

// Cell size of a font in pixels; 0 for a number outside the font tables.
void font_cell_size(int32_t font_number, int32_t* fw, int32_t* fh) {
    bool known = font_number >= 0 && font_number < font_table_capacity;
    *fw = known ? fontwidth[font_number].load(std::memory_order_relaxed) : 0;
    *fh = known ? fontheight[font_number].load(std::memory_order_relaxed) : 0;
}

// Step 4: the oldest ready slot, replaced by any free slot (the highest index wins).
// The state moves to 2 by compare-exchange, since the presenter may move a ready
// slot at the same time; a lost race chooses again.
display_frame_record* take_slot() {
    for (;;) {
        int64_t limit = display_frame_order_next.load(std::memory_order_relaxed);
        int32_t chosen = -1, from = 0;
        int64_t oldest = 0;
        for (int32_t i = 0; i < display_frame_count; i++) {
            if (display_frame[i].state.load(std::memory_order_acquire) != FRAME_READY) continue;
            int64_t order = display_frame[i].order.load(std::memory_order_relaxed);
            if (order < limit && (chosen < 0 || order < oldest)) {
                chosen = i;
                oldest = order;
                from = FRAME_READY;
            }
        }
        for (int32_t i = 0; i < display_frame_count; i++) {
            if (display_frame[i].state.load(std::memory_order_acquire) == FRAME_FREE) {
                chosen = i;
                from = FRAME_FREE;
            }
        }
        if (chosen < 0) return nullptr;
        if (display_frame_transition(&display_frame[chosen], from, FRAME_WRITING)) return &display_frame[chosen];
    }
}

// The end of every call that found a slot or a hidden screen.
void finish_call(int64_t call) {
    display_called.store(1, std::memory_order_release);
    display_calls_finished.store(call, std::memory_order_release);
}

}  // namespace

display_frame_record* display_frame_slot(int32_t i) { return &display_frame[i]; }

void display_global_init() {
    for (auto& slot : display_frame) {
        slot.state.store(FRAME_FREE);
        slot.order.store(0);
        slot.pixels = nullptr;
        slot.w = slot.h = 0;
        slot.bytes_allocated = 0;
    }
    display_frame_order_next.store(1);
    last_hardware_display_frame_order.store(0);
    last_rendered_hardware_display_frame_order.store(0);
    text_frames_reset();
    palette_frames_reset();
    frame_slots_content_reset();
}

void display_reset_for_tests() {
    for (auto& slot : display_frame) free(slot.pixels);
    autodisplay.store(1);
    display_called.store(0);
    force_display_update.store(0);
    screen_last_valid.store(0);
    x_monitor.store(0);
    y_monitor.store(0);
    displayorder_screen.store(1);
    display_calls_started.store(0);
    display_calls_finished.store(0);
    test_hook.store(nullptr);
    display_global_init();
}

void display_set_test_hook(void (*hook)()) { test_hook.store(hook); }

void display() {
    int64_t call = display_calls_started.fetch_add(1, std::memory_order_acq_rel) + 1;
    // Only a request that was there before this call's conversion is answered by it.
    int32_t auto_at_entry = autodisplay.load(std::memory_order_acquire);

    // A screen change waiting for the producer is granted on entry and on leaving.
    lock_display_grant();
    if (screen_hide.load(std::memory_order_acquire)) {
        finish_call(call);
        return;
    }

    if (!lock_display_busy()) {
        display_frame_record* slot = take_slot();
        if (!slot) {
            gui_alert("Software frame buffer: Failed to find available frame", "Error", "ok");
            return;
        }
        int64_t order = display_frame_order_next.fetch_add(1, std::memory_order_acq_rel);
        slot->order.store(order, std::memory_order_relaxed);

        bool produced = false;
        // Records never move: one read of the display page serves the whole call.
        const img_struct* page = display_page();
        if (page && page->valid) {
            int32_t fw = 0, fh = 0;
            int64_t w = page->width, h = page->height;
            if (page->text) {
                font_cell_size(page->font, &fw, &fh);
                w *= fw;
                h *= fh;
            }
            // A frame's sides are int32 (only a loaded font could go beyond).
            if (w > INT32_MAX || h > INT32_MAX) w = h = 0;
            x_monitor.store(static_cast<int32_t>(w), std::memory_order_relaxed);
            y_monitor.store(static_cast<int32_t>(h), std::memory_order_relaxed);
            if (w > 0 && h > 0) {
                if (page->text)
                    produced = produce_text_frame(page, slot, fw, fh);
                else if (page->bits_per_pixel == 32)
                    produced = produce_32bit_frame(page, slot);
                else
                    produced = produce_palette_frame(const_cast<img_struct*>(page), slot);
            }
        }

        if (void (*hook)() = test_hook.load()) hook();
        if (produced) {
            force_display_update.store(0, std::memory_order_relaxed);
            screen_last_valid.store(1, std::memory_order_relaxed);
            slot->state.store(FRAME_READY, std::memory_order_release);
        } else {
            slot->state.store(FRAME_FREE, std::memory_order_release);
        }
        // The order is consumed either way: hardware commands stamped with it are
        // shown over the previous software frame.
        last_hardware_display_frame_order.store(order, std::memory_order_release);
    }

    lock_display_grant();
    if (auto_at_entry == -1) {
        int32_t expected = -1;
        autodisplay.compare_exchange_strong(expected, 0, std::memory_order_acq_rel);
    }
    finish_call(call);
}
