// The windowing-library calls that queued window requests make. Production uses
// freeglut; tests install a fake so the queue runs without a display.
#pragma once
#include <cstdint>

struct glut_backend {
    void (*set_cursor)(int32_t id);
    void (*warp_pointer)(int32_t x, int32_t y);
    int32_t (*get)(int32_t id);
    void (*iconify_window)();
    void (*position_window)(int32_t x, int32_t y);
    void (*show_window)();
    void (*hide_window)();
    void (*set_window_title)(const char* title);
};

const glut_backend& glut_current_backend();
// nullptr restores freeglut.
void glut_set_backend(const glut_backend* backend);
