// The mouse functions: _MOUSEINPUT and the readers of the message being looked at.
#pragma once
#include <cstdint>

int32_t func__mouseinput();
float func__mousex();
float func__mousey();
int32_t func__mousebutton(int32_t n);
int32_t func__mousewheel();
float func__mousemovementx();
float func__mousemovementy();
int32_t func__mousehidden();
