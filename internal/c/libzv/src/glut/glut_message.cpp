// The window-thread request kinds.
#include "glut/glut_message.h"

#include <cstdlib>
#include <cstring>

#include "glut/glut_backend.h"
#include "glut/glut_queue.h"
#include "platform/process_exit.h"

glut_message::glut_message(bool waited) {
    if (waited) {
        done = new completion;
        completion_init(done);
    }
}

glut_message::~glut_message() {
    if (done) {
        completion_wait(done);
        completion_clear(done);
        delete done;
    }
}

void glut_message::finish() {
    if (done) completion_finish(done);
}

void glut_message::wait() {
    if (done) completion_wait(done);
}

void glut_message_set_cursor::execute() { glut_current_backend().set_cursor(id); }
void glut_message_warp_pointer::execute() { glut_current_backend().warp_pointer(x, y); }
void glut_message_get::execute() { result = glut_current_backend().get(id); }
void glut_message_iconify_window::execute() {
    glut_current_backend().iconify_window();
    glut_window_metrics_may_change();
}
void glut_message_position_window::execute() {
    glut_current_backend().position_window(x, y);
    glut_window_metrics_may_change();
}
void glut_message_show_window::execute() {
    glut_current_backend().show_window();
    glut_window_metrics_may_change();
}
void glut_message_hide_window::execute() {
    glut_current_backend().hide_window();
    glut_window_metrics_may_change();
}

glut_message_set_window_title::glut_message_set_window_title(const char* text) : title(strdup(text ? text : "")) {}
glut_message_set_window_title::~glut_message_set_window_title() { free(title); }
void glut_message_set_window_title::execute() { glut_current_backend().set_window_title(title); }

// The process ends here, on the window thread, with the queue lock held.
void glut_message_exit_program::execute() { libzv_process_exit(code); }
