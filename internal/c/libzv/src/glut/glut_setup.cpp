// Window-thread start: freeglut set-up, the deferred start and the main loop.
#include "glut/glut_setup.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

#include "clock/clock.h"
#include "core/startup.h"
#include "display/presenter.h"
#include "display/renderer.h"
#include "glut/glut_backend.h"
#include "glut/glut_queue.h"
#include "glut/x11_window.h"
#include "input/keyboard_glut.h"
#include "input/mouse_ring.h"
#include "platform/alert.h"
#include "platform/process_exit.h"
#include "thread/thread.h"

void glut_mark_up();

namespace {

completion glut_start_completion;
std::atomic<completion*> glut_start_request{nullptr};
std::mutex title_lock;
// The title _TITLE gave before the window existed; none when it was never called.
std::optional<std::string> pending_title;

void glut_ignore_message(const char*, va_list) {}

// Native events first (close request, focus, Pause and Break), then the presenter.
void window_idle() {
    x11_window_drain_events();
    static bool closed = false;
    if (x11_window_destroyed() && !closed) {
        // Another client destroyed the window: freeglut forgets it and its loop ends.
        closed = true;
        glutDestroyWindow(glutGetWindow());
        return;
    }
    // A size or full screen asked for by the presenter moves the window as much as a
    // request of another thread does.
    static int32_t geometry_requests = 0;
    if (int32_t now = presenter_window_geometry_requests(); now != geometry_requests) {
        geometry_requests = now;
        glut_window_metrics_may_change();
    }
    libzv_process_glut_queue();  // the requests of other threads, before the pacing
    GLUT_IDLEFUNC();
}

// Window requests once the window is gone: nothing to act on.
const glut_backend no_window_backend{
    [](int32_t) {}, [](int32_t, int32_t) {}, [](int32_t) -> int32_t { return 0; }, [] {}, [](int32_t, int32_t) {},
    [] {},          [] {},                   [](const char*) {},
};

// freeglut cannot go on after one of its errors (no display, no visual).
void glut_fatal_error(const char*, va_list) { libzv_process_exit(1); }

void initialize_glut(int argc, char** argv) {
    glutInitWarningFunc(glut_ignore_message);
    glutInitErrorFunc(glut_fatal_error);
    // freeglut compacts argv in place; the command line was copied before this.
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowSize(640, 400);
    if (!glutGet(GLUT_DISPLAY_MODE_POSSIBLE)) libzv_process_exit(1);

    std::string title;
    {
        std::lock_guard<std::mutex> hold(title_lock);
        title = pending_title.value_or("Untitled");
    }
    glutCreateWindow(title.c_str());
    glut_set_window_thread();
    x11_window_attach();

    GLenum glew = glewInit();
    if (glew != GLEW_OK) gui_alert(reinterpret_cast<const char*>(glewGetErrorString(glew)), "GLEW", "ok");
    framebufferobjects_supported.store(glewIsSupported("GL_EXT_framebuffer_object"));
    renderer_window_start();

    glutDisplayFunc(GLUT_DISPLAY_REQUEST);
    glutIdleFunc(window_idle);
    glutKeyboardFunc(GLUT_KEYBOARD_FUNC);
    glutKeyboardUpFunc(GLUT_KEYBOARDUP_FUNC);
    glutSpecialFunc(GLUT_SPECIAL_FUNC);
    glutSpecialUpFunc(GLUT_SPECIALUP_FUNC);
    glutMouseFunc(GLUT_MOUSE_FUNC);
    glutMotionFunc(GLUT_MOTION_FUNC);
    glutPassiveMotionFunc(GLUT_PASSIVEMOTION_FUNC);
    glutReshapeFunc(GLUT_RESHAPE_FUNC);
    glutMouseWheelFunc(GLUT_MOUSEWHEEL_FUNC);
    // A destroyed window ends the loop instead of the process.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
}

}  // namespace

void glut_set_pending_title(const char* title) {
    std::lock_guard<std::mutex> hold(title_lock);
    if (title)
        pending_title = title;
    else
        pending_title.reset();
}

void libzv_glut_presetup(int argc, char** argv) {
    if (screen_hide.load()) {
        completion_init(&glut_start_completion);
        return;
    }
    initialize_glut(argc, argv);
    glut_mark_up();
}

void libzv_start_main_thread(int argc, char** argv, void (*housekeeping)(void*)) {
    // This thread keeps the program's own name: ps, top and pgrep show it.
    startup_start_thread(housekeeping, "housekeeping");

    if (!libzv_is_glut_up()) {
        completion_wait(&glut_start_completion);
        initialize_glut(argc, argv);
        glut_mark_up();
        if (completion* request = glut_start_request.load()) completion_finish(request);
    }
    glutMainLoop();
    // The window was destroyed by another client (a close request): the queue keeps
    // running so that the shutdown still ends here.
    glut_set_backend(&no_window_backend);
    for (;;) {
        libzv_process_glut_queue();
        libzv_sleep_ms(16);
    }
}

void libzv_start_glut_thread() {
    if (libzv_is_glut_up()) return;
    completion mine;
    completion_init(&mine);
    glut_start_request.store(&mine);
    completion_finish(&glut_start_completion);
    completion_wait(&mine);
    completion_clear(&mine);
}
