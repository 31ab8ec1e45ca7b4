// Window-thread requests: other threads queue them, the window thread executes them.
#pragma once
#include <cstdint>

#include "thread/thread.h"

// A request run on the window thread. With a completion, the sender waits on it and
// owns the message; without one, the queue deletes the message after running it.
class glut_message {
public:
    completion* done = nullptr;

    glut_message() = default;
    explicit glut_message(bool waited);
    glut_message(const glut_message&) = delete;
    glut_message& operator=(const glut_message&) = delete;
    // Waits for the completion (if any), then clears and frees it.
    virtual ~glut_message();
    virtual void execute() = 0;
    // Releases the sender (after execute, or when the request is dropped).
    void finish();
    // Blocks the sender until the request is done or dropped.
    void wait();
};

class glut_message_set_cursor : public glut_message {
public:
    int32_t id;
    explicit glut_message_set_cursor(int32_t i) : id(i) {}
    void execute() override;
};

class glut_message_warp_pointer : public glut_message {
public:
    int32_t x, y;
    glut_message_warp_pointer(int32_t px, int32_t py) : x(px), y(py) {}
    void execute() override;
};

class glut_message_get : public glut_message {
public:
    int32_t id;
    int32_t result = 0;  // 0 when the request is dropped
    explicit glut_message_get(int32_t i) : glut_message(true), id(i) {}
    void execute() override;
};

class glut_message_iconify_window : public glut_message {
public:
    void execute() override;
};

class glut_message_position_window : public glut_message {
public:
    int32_t x, y;
    glut_message_position_window(int32_t px, int32_t py) : x(px), y(py) {}
    void execute() override;
};

class glut_message_show_window : public glut_message {
public:
    void execute() override;
};

class glut_message_hide_window : public glut_message {
public:
    void execute() override;
};

class glut_message_set_window_title : public glut_message {
public:
    char* title;
    explicit glut_message_set_window_title(const char* text);
    ~glut_message_set_window_title() override;
    void execute() override;
};

class glut_message_exit_program : public glut_message {
public:
    int32_t code;
    explicit glut_message_exit_program(int32_t c) : glut_message(true), code(c) {}
    void execute() override;
};
