// Program-thread side of hardware images: their records and handles, the command
// queue the window thread replays, and the retirement of replayed commands.
#pragma once
#include <atomic>
#include <cstdint>

#include "image/hardware_image.h"

// Start-up: the record list of hardware images (safe for several threads) and the
// command list.
void hardware_images_global_init();
// Drops every record and command and starts again (tests).
void hardware_images_reset_for_tests();

// The record of a handle when it lies in the hardware range and names a valid image;
// else null.
hardware_img_struct* get_hardware_img(int32_t handle);
// The record at a list index, valid or not; null for a free index.
hardware_img_struct* hardware_img_at(int32_t index);
// A new hardware image from width x height 32-bit pixels (both at least 1).
// flags 1: the record takes over the malloc'd pixels and the window thread uploads
// them at first use; 1 + 2: they are copied first (the caller keeps its own);
// 0: uploaded at once through the uploader (window thread only), the caller keeps
// them. Returns the list index, 0 when memory runs out.
int32_t new_hardware_img(int32_t width, int32_t height, void* pixels, int32_t flags);
// Returns a record's index to the list after its GL side is released; frees the
// software pixels the record still owns.
void hardware_img_remove(int32_t index);

// The renderer's texture upload for flags 0, set on the window thread once GL exists.
using hardware_img_uploader = void (*)(int32_t index, const uint32_t* pixels);
void hardware_img_set_uploader(hardware_img_uploader upload);

// Queue bookkeeping, each word with one writer thread: first_hardware_command and
// last_hardware_command_added the program thread, last_hardware_command_rendered the
// window thread, next_hardware_command_to_remove the window thread while 0, then
// the program thread.
extern std::atomic<int32_t> first_hardware_command;
extern std::atomic<int32_t> last_hardware_command_added;
extern std::atomic<int32_t> last_hardware_command_rendered;
extern std::atomic<int32_t> next_hardware_command_to_remove;

// The command with that list handle, or null.
hardware_graphics_command* hardware_command_at(int32_t handle);
// A zeroed command record; 0 when memory runs out. Fill it, then queue it.
int32_t hardware_command_new();
// Stamps a command with display_frame_order_next and links it at the end of the queue.
void hardware_command_queue(int32_t handle);
// _FREEIMAGE of a valid hardware image: retires what it can, queues a free request
// and makes the handle invalid at once.
void hardware_img_queue_free(int32_t index, hardware_img_struct* hw);
// Removes commands the renderer has passed, turning each passed free request into a
// free command for the renderer. The last command is never removed.
void flush_old_hardware_commands();
