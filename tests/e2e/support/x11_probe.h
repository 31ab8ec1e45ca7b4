// Looks at the windows of the test's X server.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "x11_close.h"

struct x11_window_info {
    unsigned long id;
    std::string name;
    int width, height;
    bool mapped;
};

// Every top-level window with a name (the children of the root window).
std::vector<x11_window_info> x11_named_windows();
// Waits up to timeout_ms for a window with that name; id 0 when none appeared.
x11_window_info x11_wait_for_window(const std::string& name, int timeout_ms);
// Gives the keyboard focus to a window (0: to no window).
bool x11_set_focus(unsigned long window);
// Destroys a window of another client, as a misbehaving program could.
bool x11_destroy_window(unsigned long window);
// The window's position on the root window; false when it does not exist.
bool x11_window_position(unsigned long window, int* x, int* y);
// Waits up to timeout_ms for a mapped top-level window, named or not; 0 when none.
unsigned long x11_wait_for_any_window(int timeout_ms);
// The window's WM_NAME bytes; false when it has no WM_NAME.
bool x11_window_name(unsigned long window, std::string* name);
// The pointer moved to (x, y) of the root window.
bool x11_move_pointer(int x, int y);
// Waits up to timeout_ms for a viewable window with that name anywhere in the tree
// (inside a window manager's frame too); 0 when none appeared.
unsigned long x11_wait_for_framed_window(const std::string& name, int timeout_ms);
// The outer corner of the top-level window that holds the window: the frame of a
// window manager, or the window itself; false when it does not exist.
bool x11_frame_position(unsigned long window, int* x, int* y);
// Whether the window is mapped and its ancestors too.
bool x11_window_viewable(unsigned long window);
// Whether a window manager runs: the root window names its check window.
bool x11_window_manager_running();
