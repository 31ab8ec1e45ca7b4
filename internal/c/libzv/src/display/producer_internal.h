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
// Every producer path that writes a slot fits it first. A slot's content is a tag
// that a path may give the pixels it wrote (frame_slot_set_content), so that a
// later frame of that path rewrites only what changed since; fitting sets it to 0
// (unknown) and, when content is given, returns the tag held before (0 when the
// buffer was replaced).
bool frame_slot_fit(display_frame_record* slot, int32_t w, int32_t h, int64_t* content = nullptr);
int64_t frame_slot_content(const display_frame_record* slot);
void frame_slot_set_content(display_frame_record* slot, int64_t content);
void frame_slots_content_reset();
// The slot in state 3 or 4 with the highest order, or null.
display_frame_record* newest_frame();

// One row of palette indices to frame pixels through paldata, by instruction set
// (the producer takes the best the processor has).
void palette_row_plain(const uint8_t* in, uint32_t* out, int32_t n);
void palette_row_avx2(const uint8_t* in, uint32_t* out, int32_t n);
void palette_row_avx512(const uint8_t* in, uint32_t* out, int32_t n);

// Conversion state kept between calls, back to its start (start-up and tests).
void text_frames_reset();
void palette_frames_reset();

// The program thread draws into page buffers while the producer reads them; a torn
// frame is allowed. Every read of a page's pixel or cell bytes goes through these two.
bool display_page_buffer_equal(const void* page_bytes, const void* copy, size_t n);
void display_page_buffer_copy(void* to, const void* page_bytes, size_t n);
