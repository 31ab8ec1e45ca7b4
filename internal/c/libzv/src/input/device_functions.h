// _DEVICES, _DEVICE$, _DEVICEINPUT, _BUTTON, _BUTTONCHANGE, _AXIS, _WHEEL,
// _LASTBUTTON, _LASTAXIS, _LASTWHEEL. Program thread. passed bit 0: the argument
// was given. After error 5 the result is 0 (empty for _DEVICE$).
#pragma once
#include <cstdint>

struct zvs;

int32_t func__devices();
zvs* func__device(int32_t n, int32_t passed);
int32_t func__deviceinput(int32_t n, int32_t passed);
int32_t func__button(int32_t b, int32_t passed);
int32_t func__buttonchange(int32_t b, int32_t passed);
float func__axis(int32_t a, int32_t passed);
float func__wheel(int32_t w, int32_t passed);
int32_t func__lastbutton(int32_t n, int32_t passed);
int32_t func__lastaxis(int32_t n, int32_t passed);
int32_t func__lastwheel(int32_t n, int32_t passed);
