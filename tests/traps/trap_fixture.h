// Shared set-up of the trap tests: clean trap tables and flags, and a program whose
// handler dispatch records every call.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "core/program.h"
#include "core/runtime_flags.h"
#include "core/statement_flags.h"
#include "core/traps.h"
#include "error/error.h"
#include "traps.h"

struct handler_recorder {
    static inline std::vector<std::pair<int32_t, int64_t>> calls;  // (id, pass)
    static inline std::function<void(int32_t)> during;             // runs inside each handler

    static void dispatch(int32_t id, int64_t pass) {
        calls.emplace_back(id, pass);
        if (during) during(id);
    }
};

class TrapTest : public ::testing::Test {
protected:
    static void nothing() {}
    zv_program program{nothing, nothing, handler_recorder::dispatch, nullptr, 0, 0, 0, 0, nullptr};

    void SetUp() override {
        error_reset_for_tests();
        runtime_flags_reset_for_tests();
        statement_flags_reset_for_tests();
        traps_reset_for_tests();
        onkey_default_keys();
        ontimer_reset_for_tests();
        handler_recorder::calls.clear();
        handler_recorder::during = nullptr;
        libzv_set_program(&program);
    }
    void TearDown() override {
        libzv_set_program(nullptr);
        handler_recorder::during = nullptr;
    }

    // The pending error, cleared for the next step.
    static int32_t take_error() {
        int32_t n = new_error.load();
        clear_error();
        return n;
    }
};
