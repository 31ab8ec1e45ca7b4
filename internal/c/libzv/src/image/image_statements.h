// Statements that create, copy, free and select images.
#pragma once
#include <cstdint>

// _NEWIMAGE(w, h[, mode]): minus the new index; 0 after error 5; -1 when memory runs
// out. Without a mode the write image's mode, palette, font and colours are taken.
int32_t func__newimage(int32_t width, int32_t height, int32_t mode, int32_t passed);
// _COPYIMAGE[(handle[, mode])]; passed bit 1 handle, bit 2 mode.
int32_t func__copyimage(int32_t handle, int32_t mode, int32_t passed);
// _FREEIMAGE [handle].
void sub__freeimage(int32_t handle, int32_t passed);

void sub__dest(int32_t handle);
int32_t func__dest();
void sub__source(int32_t handle);
int32_t func__source();
int32_t func__display();

// CLEAR: frees every program image (not the screen pages, not the console image).
void freeallimages();

// The checks of _FREEIMAGE for a software image, without the pending-error test:
// error 5 for a screen page or the console image; else the image is freed and the
// write and read images fall back to the display image.
void image_free(int32_t index);
