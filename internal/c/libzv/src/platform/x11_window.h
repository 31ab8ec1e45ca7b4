// X11 extras of the window that freeglut does not deliver: the native window, its
// close request, focus changes, a window destroyed by another client, and the
// native key stream (Pause, Break, Scroll Lock, the keyboard device).
//
// Xlib converts incoming events with hooks on freeglut's display; the hooks only
// copy events into a window-thread queue (no Xlib call may run inside them). The
// queue is drained in order at the start of each keyboard callback and in the idle
// callback, and hands each event to the window hooks.
#pragma once
#include <cstdint>

// Window thread, right after the window is created with its GL context current:
// takes the native window, installs the hooks, adds focus changes to the window's
// events, and reads the initial focus.
void x11_window_attach();

// The native window id (0 before the window exists).
unsigned long x11_window_id();

// The native event behind a keyboard callback.
struct x11_key_event {
    bool found;        // a key event was drained
    uint32_t keycode;  // its X keycode
    bool return_key;   // Return or keypad Enter
};

// Window thread: handles queued native events in order. With through_key (in a
// keyboard callback) it stops after the first key event that the library reports
// through a callback, which is the one being reported, and returns it.
x11_key_event x11_window_drain_events(bool through_key);

// True once another client destroyed the window.
bool x11_window_destroyed();
