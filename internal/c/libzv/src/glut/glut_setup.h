// Window set-up on the initial thread, now or deferred until the screen is first shown.
#pragma once
#include <atomic>
#include <cstdint>

#include "core/runtime_flags.h"  // screen_hide

// Creates the window now, unless the screen starts hidden.
void libzv_glut_presetup(int argc, char** argv);
// Last call of main: starts the housekeeping thread (MAIN_LOOP), creates the window if
// it was deferred (once asked), and runs the window loop for good.
[[noreturn]] void libzv_start_main_thread(int argc, char** argv, void (*housekeeping)(void*));
// Program thread (_SCREENSHOW, _SCREENHIDE): has the deferred window created and
// returns once it exists.
void libzv_start_glut_thread();

// The title of the window to be created (set by _TITLE before the window exists;
// nullptr: no title was set, and the window is named "Untitled"). An empty title is
// a title.
void glut_set_pending_title(const char* title);
