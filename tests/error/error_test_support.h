// Shared set-up of the error tests: recorded boxes with scripted answers, a clean
// error state, and a program descriptor the tests fill in.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "core/program.h"
#include "core/runtime_flags.h"
#include "core/statement_flags.h"
#include "error/error.h"
#include "lifecycle/end.h"
#include "lifecycle/fix_error.h"
#include "log/log.h"
#include "platform/alert.h"
#include "platform/process_exit.h"
#include "string/zvs.h"

struct alert_recorder {
    static inline std::vector<std::string> boxes;  // "kind|title|message"
    static inline std::deque<int32_t> answers;     // 1 when none is left

    static int32_t record(const char* message, const char* title, const char* kind) {
        boxes.push_back(std::string(kind) + "|" + title + "|" + message);
        if (answers.empty()) return 1;
        int32_t a = answers.front();
        answers.pop_front();
        return a;
    }
    // For child processes: the box goes to standard error on one line.
    static int32_t print(const char* message, const char* title, const char* kind) {
        std::string text = message;
        for (size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "/");
        fprintf(stderr, "BOX %s|%s|%s\n", kind, title, text.c_str());
        fflush(stderr);
        return answers.empty() ? 1 : answers.front();
    }
};

class ErrorTest : public ::testing::Test {
protected:
    zv_program program{nothing, nothing, no_dispatch, nullptr, 0, 0, 0, 0, nullptr};

    void SetUp() override {
        zvs_global_init();
        error_reset_for_tests();
        runtime_flags_reset_for_tests();
        statement_flags_reset_for_tests();
        libzv_log_reset_for_tests();
        alert_recorder::boxes.clear();
        alert_recorder::answers.clear();
        gui_alert_set_backend(alert_recorder::record);
        error_set_program_name("/some/folder/prog");
        libzv_set_program(&program);
    }
    void TearDown() override {
        gui_alert_set_backend(nullptr);
        libzv_set_program(nullptr);
        end_set_park_hook(nullptr);
    }
    // In a child process: boxes are printed and the park in end() exits with 42
    // when the program thread reported itself parked after a close request.
    static void child_setup() {
        gui_alert_set_backend(alert_recorder::print);
        end_set_park_hook([] { _exit((exit_ok.load() & 1) && close_program.load() ? 42 : 43); });
    }

    static void nothing() {}
    static void no_dispatch(int32_t, int64_t) {}
};
