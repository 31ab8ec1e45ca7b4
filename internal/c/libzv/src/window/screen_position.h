// The window's place and state: _SCREENMOVE, _SCREENX, _SCREENY, _SCREENICON,
// _WINDOWHANDLE, _HASFOCUS, _DESKTOPWIDTH/_HEIGHT and _SCREENEXISTS.
#pragma once
#include <cstdint>

// mode 1 (_MIDDLE) centres the window on the desktop (the primary monitor), mode 2
// moves it to (x, y); other modes or no window: error 5; nothing in full screen.
void sub__screenmove(int32_t x, int32_t y, int32_t mode);
// The window's outer position; error 5 without a window.
int32_t func__screenx();
int32_t func__screeny();
// Minimises the window; error 5 without one.
void sub_screenicon();
// -1 while minimised.
int32_t func_screenicon();
int32_t func_windowexists();
int64_t func__handle();
int32_t func__hasfocus();
// The desktop's size: the primary monitor's.
int32_t func_screenwidth();
int32_t func_screenheight();
// Brings a window to the foreground.
void set_foreground_window(intptr_t handle);
