// Image handles: what a statement's image argument names, and screen pages made on
// demand.
#pragma once
#include <cstdint>

#include "image/img_struct.h"

// A handle is a screen page number (0 and up), a hardware image (only when
// get_hardware_img finds a valid one; statements that accept those test it first),
// or minus a table index.

// Makes screen page n (n >= 0) exist, with page 0's size, mode and font and, for
// palette modes, page 0's palette. Returns its table index; 0 with error 7 when it
// cannot be made.
int32_t validatepage(int32_t n);

// SCREEN leaves some pages of a new page set to their first use. The maker answers the
// index of page n made as SCREEN would have made it, 0 when n is not one of them
// (validatepage then makes it as above), or -1 when memory ran out. nullptr: none.
void set_deferred_page_maker(int32_t (*maker)(int32_t n));

// The image-handle rule for a given handle: a page number (made on demand) or a
// software image. Returns the table index, or 0 after raising error 258 (7 when a
// page cannot be made). Hardware handles fail with 258.
int32_t image_index_of(int32_t handle);
// As above; when not passed, the write image.
int32_t image_index_or_write(int32_t handle, int32_t passed);
// As above; when not passed, the read image.
int32_t image_index_or_read(int32_t handle, int32_t passed);
