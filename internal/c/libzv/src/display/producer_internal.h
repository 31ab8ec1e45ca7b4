// Shared parts of the frame producer: the per-kind conversions and the state they
// keep between calls. Used only by the producer's own files.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "display/display_frame.h"
#include "image/img_struct.h"

// Producer calls started, and the number of the last one that ran to its end.
extern std::atomic<int64_t> display_calls_started;
extern std::atomic<int64_t> display_calls_finished;

// Palette of the last converted palette or text page: all 256 entries, since pixel
// values above a page's mask index it too.
extern uint32_t paldata[256];

// Each conversion decides whether the page changed since the last frame and, when it
// did, fills the slot (sized with frame_slot_fit) and returns true.
bool produce_text_frame(const img_struct* page, display_frame_record* slot, int32_t fw, int32_t fh);
bool produce_palette_frame(img_struct* page, display_frame_record* slot);
bool produce_32bit_frame(const img_struct* page, display_frame_record* slot);

// Makes room for a w x h frame in the slot (the buffer only grows; the new buffer is
// allocated before the old one is freed) and sets its size. False when memory runs out.
bool frame_slot_fit(display_frame_record* slot, int32_t w, int32_t h);
// The slot in state 3 or 4 with the highest order, or null.
display_frame_record* newest_frame();

// Conversion state kept between calls, back to its start (start-up and tests).
void text_frames_reset();
void palette_frames_reset();

// The program thread draws into page buffers while the producer reads them; a torn
// frame is allowed. Every read of a page's pixel or cell bytes goes through these two.
bool display_page_buffer_equal(const void* page_bytes, const void* copy, size_t n);
void display_page_buffer_copy(void* to, const void* page_bytes, size_t n);
