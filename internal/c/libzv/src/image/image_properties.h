// Image properties (_WIDTH, _HEIGHT, _PIXELSIZE, ...) and _MEMIMAGE.
#pragma once
#include <cstdint>

#include "memory/mem_block.h"

int32_t func__width(int32_t handle, int32_t passed);
int32_t func__height(int32_t handle, int32_t passed);
int32_t func__pixelsize(int32_t handle, int32_t passed);
int32_t func__clearcolor(int32_t handle, int32_t passed);
int32_t func__blend(int32_t handle, int32_t passed);
uint32_t func__defaultcolor(int32_t handle, int32_t passed);
uint32_t func__backgroundcolor(int32_t handle, int32_t passed);

// A block over the image's pixels (or cells), tied to the image's lock: freeing the
// image invalidates every block taken of it.
mem_block func__memimage(int32_t handle, int32_t passed);

// Size of the terminal standing for the console window (columns, rows): the first
// of standard output, standard error and standard input that is a terminal, else
// 80 x 25.
void console_window_size(int32_t* columns, int32_t* rows);
