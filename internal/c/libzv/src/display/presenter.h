// The presenter: window callbacks that show the frames.
#pragma once
#include <atomic>

// Off-screen rendering through framebuffer objects is available.
extern std::atomic<bool> framebufferobjects_supported;

void GLUT_DISPLAY_REQUEST();
void GLUT_IDLEFUNC();
void GLUT_RESHAPE_FUNC(int width, int height);
