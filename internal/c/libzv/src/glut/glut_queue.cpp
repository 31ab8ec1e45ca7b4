// The window-thread request queue and its cached window metrics.
#include "glut/glut_queue.h"

#include <atomic>
#include <cassert>
#include <deque>
#include <pthread.h>

#include "glut/glut_backend.h"
#include "glut/glut_message.h"
#include "log/log.h"
#include "platform/process_exit.h"
#include "thread/thread.h"

namespace {

enum : int32_t { GET_WINDOW_X = 100, GET_WINDOW_Y = 101, GET_BORDER_WIDTH = 506, GET_HEADER_HEIGHT = 507 };

std::atomic<bool> glut_up{false};
libzv_mutex* queue_lock = nullptr;
std::deque<glut_message*>* queue = nullptr;
int32_t cached_window_x = 0, cached_window_y = 0, cached_border_width = 0, cached_header_height = 0;
// Passes still to read the metrics (window thread): each read is four round trips.
int32_t metric_reads_due = 2;
std::atomic<pthread_t> window_thread{};
std::atomic<bool> window_thread_known{false};

[[maybe_unused]] bool on_window_thread() {
    return window_thread_known.load() && pthread_equal(window_thread.load(), pthread_self());
}

}  // namespace

void glut_queue_global_init() {
    if (queue_lock) return;
    queue_lock = libzv_mutex_new();
    queue = new std::deque<glut_message*>;
}

void glut_set_window_thread() {
    window_thread.store(pthread_self());
    window_thread_known.store(true);
}

void libzv_glut_set_up_for_tests(bool up) {
    glut_up.store(up);
    metric_reads_due = 2;
}

void glut_window_metrics_may_change() { metric_reads_due = 2; }

bool libzv_is_glut_up() { return glut_up.load(std::memory_order_acquire); }

// Called once the window exists (set-up).
void glut_mark_up() { glut_up.store(true, std::memory_order_release); }

bool libzv_queue_glut_message(glut_message* message) {
    if (!libzv_is_glut_up()) {
        if (message->done)
            message->finish();
        else
            delete message;
        return false;
    }
    libzv_mutex_lock(queue_lock);
    queue->push_back(message);
    libzv_mutex_unlock(queue_lock);
    return true;
}

void libzv_process_glut_queue() {
    libzv_mutex_lock(queue_lock);
    if (metric_reads_due > 0) {
        metric_reads_due--;
        const glut_backend& glut = glut_current_backend();
        cached_window_x = glut.get(GET_WINDOW_X);
        cached_window_y = glut.get(GET_WINDOW_Y);
        cached_border_width = glut.get(GET_BORDER_WIDTH);
        cached_header_height = glut.get(GET_HEADER_HEIGHT);
    }
    while (!queue->empty()) {
        glut_message* message = queue->front();
        queue->pop_front();
        message->execute();
        if (message->done)
            message->finish();  // the sender owns it now
        else
            delete message;
    }
    libzv_mutex_unlock(queue_lock);
}

bool libzv_glut_set_cursor(int32_t id) { return libzv_queue_glut_message(new glut_message_set_cursor(id)); }
bool libzv_glut_warp_pointer(int32_t x, int32_t y) {
    return libzv_queue_glut_message(new glut_message_warp_pointer(x, y));
}
bool libzv_glut_iconify_window() { return libzv_queue_glut_message(new glut_message_iconify_window()); }
bool libzv_glut_position_window(int32_t x, int32_t y) {
    return libzv_queue_glut_message(new glut_message_position_window(x, y));
}
bool libzv_glut_show_window() { return libzv_queue_glut_message(new glut_message_show_window()); }
bool libzv_glut_hide_window() { return libzv_queue_glut_message(new glut_message_hide_window()); }
bool libzv_glut_set_window_title(const char* text) {
    return libzv_queue_glut_message(new glut_message_set_window_title(text));
}

int32_t libzv_glut_get(int32_t id) {
    switch (id) {
    case GET_WINDOW_X:
    case GET_WINDOW_Y:
    case GET_BORDER_WIDTH:
    case GET_HEADER_HEIGHT: {
        libzv_mutex_lock(queue_lock);
        int32_t value = id == GET_WINDOW_X   ? cached_window_x
                        : id == GET_WINDOW_Y ? cached_window_y
                        : id == GET_BORDER_WIDTH ? cached_border_width
                                                 : cached_header_height;
        libzv_mutex_unlock(queue_lock);
        return value;
    }
    default:
        break;
    }
    assert(!on_window_thread() && "libzv_glut_get would wait for its own thread");
    auto* message = new glut_message_get(id);
    libzv_queue_glut_message(message);
    message->wait();
    int32_t result = message->result;
    delete message;
    return result;
}

void libzv_glut_exit_program(int32_t code) {
    auto* message = new glut_message_exit_program(code);
    libzv_queue_glut_message(message);
    message->wait();
    delete message;
    libzv_process_exit(code);
}

void libzv_exit(int32_t code) {
    libzv_log_info(LOGSCOPE_LIBZV, "Program exiting with code: %d\n", code);
    if (libzv_is_glut_up()) libzv_glut_exit_program(code);
    libzv_process_exit(code);
}
