// The mouse functions: _MOUSEINPUT and the readers of the message being looked at.
#pragma once
#include <cstdint>

struct mouse_message;

int32_t func__mouseinput();
float func__mousex();
float func__mousey();
int32_t func__mousebutton(int32_t n);
int32_t func__mousewheel();
float func__mousemovementx();
float func__mousemovementy();
int32_t func__mousehidden();

// _MOUSEX and _MOUSEY of a given window message on the display page (no console).
float mouse_message_x(const mouse_message& m);
float mouse_message_y(const mouse_message& m);
