// Presenter: paces the window thread and runs its request queue.
#include "display/presenter.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "clock/clock.h"
#include "glut/glut_queue.h"

std::atomic<bool> framebufferobjects_supported{false};

namespace {
int64_t last_redisplay = 0;
constexpr int64_t frame_interval_ms = 16;  // about 60 frames a second
}  // namespace

void GLUT_DISPLAY_REQUEST() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

void GLUT_IDLEFUNC() {
    libzv_process_glut_queue();
    int64_t now = GetTicks();
    int64_t wait = last_redisplay + frame_interval_ms - now;
    if (wait > 0) {
        libzv_sleep_ms(wait < 4 ? wait : 4);
        return;
    }
    last_redisplay = now;
    glutPostRedisplay();
}

void GLUT_RESHAPE_FUNC(int width, int height) { glViewport(0, 0, width, height); }
