// The image table: records, free slots, the screen-page map and the current images.
// Program thread only, except display_page(), which the frame producer reads.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "image/img_struct.h"

// Records come in chunks that never move, so a record pointer stays valid while the
// table grows.
constexpr int32_t img_chunk_records = 4096;

// Start-up: the first chunk zeroed, the free stack, an empty page map; indices 0 and
// 1 are taken and left invalid so that they never name an image.
void image_table_global_init();
// Frees every image's owned buffers and the table, then runs the start-up again.
void image_table_reset_for_tests();

// A slot with valid = 1: last freed first, else the next never-used one; the table
// grows by a chunk when full (error 502, fatal, when it cannot). 0 on failure.
int32_t newimg();
// Releases a slot (and its _MEMIMAGE lock): 1, or 0 when the index names no valid
// slot. Buffers are the caller's business; see image_release.
int32_t freeimg(uint32_t index);
// Frees the owned pixel buffer and the owned palette, then the slot.
void image_release(int32_t index);

// The record at index (below image_table_size()); never null for such an index.
img_struct* img_get(int32_t index);
int32_t image_table_size();  // nimg: records allocated
int32_t image_table_next();  // nextimg: next never-used index

// Screen pages: page number -> table index, 0 when the page does not exist.
int32_t page_index(int32_t n);
void page_set(int32_t n, int32_t index);  // index 0 forgets the page
// Existing pages in ascending order of their numbers.
std::vector<std::pair<int32_t, int32_t>> page_entries();
void pages_forget_all();

// The write image (drawing, PRINT), the read image (POINT, GET) and the display image.
// The write image's record is read inline: every drawing statement asks for it.
extern img_struct* image_write_record;  // set only by set_write_page
inline img_struct* write_page() { return image_write_record; }
int32_t write_page_index();
void set_write_page(int32_t index);
img_struct* read_page();
int32_t read_page_index();
void set_read_page(int32_t index);
img_struct* display_page();  // any thread
int32_t display_page_index();
void set_display_page(int32_t index);

// Handle of the console image, 0 when the program has none.
int32_t console_image();
void set_console_image(int32_t handle);
