// The window thread: set-up of the windowing library, its request queue, and the
// final step of every shutdown.
#pragma once
#include <cstdint>

class glut_message;

// Creates the queue; before any other thread starts.
void glut_queue_global_init();

bool libzv_is_glut_up();
// Queues a request for the window thread. Before the window exists the request is
// dropped: a waiting sender is released, a fire-and-forget message is deleted.
bool libzv_queue_glut_message(glut_message* message);
// Window thread, from the idle callback: refreshes the cached metrics when they may
// have changed, then runs every queued request in order.
void libzv_process_glut_queue();
// Window thread: the window may have moved, been resized or reframed (an event of
// the server, or a move, resize, show or full screen of its own). The metrics are
// read again at the next pass and the one after it, since the library carries out
// its own requests between the two. The window coming up counts too; passes in
// between ask the server nothing.
void glut_window_metrics_may_change();

bool libzv_glut_set_cursor(int32_t id);
bool libzv_glut_warp_pointer(int32_t x, int32_t y);
bool libzv_glut_iconify_window();
bool libzv_glut_position_window(int32_t x, int32_t y);
bool libzv_glut_show_window();
bool libzv_glut_hide_window();
bool libzv_glut_set_window_title(const char* text);
// Window x/y (100, 101), border width (506) and header height (507) come from the
// cache of the last idle pass; other ids wait for the window thread. Never call it
// for an uncached id on the window thread.
int32_t libzv_glut_get(int32_t id);

// Has the window thread end the process with the code; waits for it.
[[noreturn]] void libzv_glut_exit_program(int32_t code);
// Logs the exit, then ends the process on the window thread (or here, without a window).
[[noreturn]] void libzv_exit(int32_t code);

// Marks the window as up or down without creating it (tests of the queue).
void libzv_glut_set_up_for_tests(bool up);
// Records the calling thread as the window thread (checked by libzv_glut_get).
void glut_set_window_thread();
