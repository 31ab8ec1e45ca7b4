// The entry points that the windowing layer calls back into the runtime: the native
// window handle, the resizable style, native messages and custom events; and the
// narrow interface through which the X layer reports what freeglut does not.
#pragma once
#include <cstdint>

extern "C" {
// Right after the native window is created: stores and returns the handle.
intptr_t ORVO_Window_Handle(intptr_t handle);
// Whether the window gets a sizing border and a maximise box (0 or 1).
int32_t ORVO_Resizable();
// A native key message before the library handles it (*info 1): while the window
// has the focus it moves the keyboard device's button (PC scancode, plus 256 for
// extended keys, from the native evdev code). Returns 0; *info is left unchanged.
int64_t orvo_os_event_windows(int32_t evdev_code, int32_t down, int32_t* info);
// Custom events: 1 close request; 2 Pause (value1 100019) or Break (100318) going
// down (value2 1) or up (-1); 3 relative mouse motion; 4 files dropped (pointer1 a
// drop list). 0 when handled, -1 for an unknown type or value.
int32_t orvo_custom_event(int32_t type, int32_t v1, int32_t v2, int32_t v3, int32_t v4, int32_t v5, int32_t v6,
                          int32_t v7, int32_t v8, void* p1, void* p2);
}

// The native window (func__handle); 0 before it exists.
extern intptr_t window_handle;
extern intptr_t generic_window_handle;
// Compiled resizable (never at run time here).
extern int32_t ScreenResize;

struct drop_list;

// The hooks' events by name, for callers inside the runtime; the two native entry
// points above only decode their arguments and call these.
// A native key message while the window has the focus: the keyboard device's button.
void window_device_key(int32_t evdev_code, bool down);
// Custom event 1: the close button or the system menu; the window stays.
void window_close_requested();
// Custom event 2: Pause (100019) or Break (100318) going down or up; false for
// any other code.
bool window_pause_key(int32_t code, bool down);
// Custom event 3: relative mouse motion.
void window_relative_motion(int32_t dx, int32_t dy);
// Custom event 4: files dropped; takes ownership of the list.
void window_files_dropped(drop_list* drop);

// What the X layer reports. A native key event is one the library reports through
// a keyboard callback (other), or one it does not: Pause, Break, Scroll Lock, Tab
// with Shift held (left_tab), any other (unreported).
enum class native_key_kind { other, pause, brk, scroll_lock, left_tab, unreported };
void window_native_key(int32_t evdev_code, bool down, native_key_kind kind);
void window_focus_changed(bool focused);
// The window was destroyed by another client: a close request.
void window_destroyed();
// The window system lost part of the window's contents (an uncovered window).
void window_exposed();

// Where native keys go besides the hooks: the keyboard device, once it exists.
void window_set_device_key_sink(void (*sink)(int32_t evdev_code, bool down));
// Where relative mouse motion goes (custom event 3), once the mouse exists.
void window_set_relative_motion_sink(void (*sink)(int32_t dx, int32_t dy));

void window_hooks_reset_for_tests();
