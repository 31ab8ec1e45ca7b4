// freeglut behind the window-request seam. Its hide, move and show tell the X
// layer first, so that a hidden window keeps its place.
#include "glut/glut_backend.h"

#include <GL/freeglut.h>

#include <atomic>

#include "glut/x11_window.h"

namespace {

const glut_backend freeglut_backend{
    [](int32_t id) { glutSetCursor(id); },
    [](int32_t x, int32_t y) { glutWarpPointer(x, y); },
    [](int32_t id) -> int32_t { return glutGet(GLenum(id)); },
    [] { glutIconifyWindow(); },
    [](int32_t x, int32_t y) {
        x11_window_moving(x, y);
        glutPositionWindow(x, y);
    },
    [] {
        x11_window_showing();
        glutShowWindow();
    },
    [] {
        x11_window_hiding();
        glutHideWindow();
    },
    [](const char* title) { glutSetWindowTitle(title); },
};

std::atomic<const glut_backend*> current{&freeglut_backend};

}  // namespace

const glut_backend& glut_current_backend() { return *current.load(std::memory_order_acquire); }

void glut_set_backend(const glut_backend* b) {
    current.store(b ? b : &freeglut_backend, std::memory_order_release);
}
