// X11 extras of the window that freeglut does not deliver: the native window, its
// close request, the keyboard focus, a window destroyed by another client, the
// native key stream (Pause, Break, Scroll Lock, the keyboard device), and the
// window's place in full screen and after it, and across hide and show.
//
// Moves, resizes, maps, reparenting and frame-extent changes tell the request queue
// that the cached window metrics may have changed.
//
// The focus is asked of the server whenever it may have changed (focus, crossing,
// map and unmap events): while the focus follows the pointer no focus event says
// that another window now takes the keys.
//
// Xlib converts incoming events with hooks on freeglut's display; the hooks only
// copy events into a window-thread queue (no Xlib call may run inside them). The
// queue is drained in order at the start of each keyboard callback and in the idle
// callback, and hands each event to the window hooks. A key event that the library
// reports is handled in its own callback, so that each report meets the event it
// came from.
#pragma once
#include <cstdint>

// Window thread, right after the window is created with its GL context current:
// takes the native window, installs the hooks, adds focus, crossing and structure
// changes to the window's events, and reads the initial focus and place.
void x11_window_attach();

// The native window id (0 before the window exists).
unsigned long x11_window_id();

// The native event behind a keyboard callback.
struct x11_key_event {
    bool found;           // a key event was drained
    int32_t evdev_code;   // its evdev code (X keycode - 8)
    bool return_key;      // Return or keypad Enter
};

// Window thread, idle callback: handles queued native events in order, up to the
// first key event that the library has yet to report through a keyboard callback.
void x11_window_drain_events();
// Window thread, in a keyboard callback for a character (special -1) or a special
// key (character -1): handles queued native events in order through the key event
// being reported, and returns it.
x11_key_event x11_window_key_reported(bool down, int32_t character, int32_t special);

// True once another client destroyed the window.
bool x11_window_destroyed();

// Hiding and showing keep the window's place. The library withdraws a hidden window,
// so a window manager forgets it and would place it anew once it is shown. Window
// thread, each just before the library's own hide, move or show:
// the hidden window's place is its frame's outer corner as it stood,
void x11_window_hiding();
// or the corner a move while hidden asked for;
void x11_window_moving(int32_t x, int32_t y);
// and it is shown there, with a position hint for the window manager.
void x11_window_showing();
