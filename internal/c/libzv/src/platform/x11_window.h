// X11 extras of the window that freeglut does not deliver.
#pragma once

// Window thread, right after the window is created with its GL context current:
// takes the native window and intercepts its close request, so that the window is
// not destroyed and the request reaches the program instead.
void x11_window_attach();

// The native window id (0 before the window exists).
unsigned long x11_window_id();
