// A display page with the mouse ring and cursor statements against a fake windowing
// library that records the cursor and warp calls the window thread would make.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/presenter_environment.h"
#include "glut/glut_backend.h"
#include "glut/glut_queue.h"
#include "image/image_fixture.h"
#include "input/mouse_ring.h"
#include "input/mouse_statements.h"
#include "string/zvs.h"

struct fake_pointer {
    static inline std::vector<std::string> calls;
    static inline const glut_backend backend{
        [](int32_t id) { calls.push_back("cursor " + std::to_string(id)); },
        [](int32_t x, int32_t y) { calls.push_back("warp " + std::to_string(x) + "," + std::to_string(y)); },
        [](int32_t) -> int32_t { return 0; },
        [] {},
        [](int32_t, int32_t) {},
        [] {},
        [] {},
        [](const char*) {},
    };
};

class MouseFixture : public ImageTest {
protected:
    void SetUp() override {
        ImageTest::SetUp();
        zvs_global_init();
        mouse_reset_for_tests();
        mouse_statements_reset_for_tests();
        environment_2d_reset();
        glut_queue_global_init();
        glut_set_backend(&fake_pointer::backend);
        libzv_glut_set_up_for_tests(false);
        fake_pointer::calls.clear();
    }
    void TearDown() override {
        libzv_glut_set_up_for_tests(false);
        glut_set_backend(nullptr);
        ImageTest::TearDown();
    }

    // Runs what the statements queued, as the window thread's idle pass does.
    static std::vector<std::string> window_calls() {
        libzv_process_glut_queue();
        return fake_pointer::calls;
    }

    // The screen drawn at (x1, y1) with the given scale over a frame of w x h pixels.
    static void map(int32_t x1, int32_t y1, float scale, int32_t w, int32_t h) {
        environment_2d__screen_x1 = x1;
        environment_2d__screen_y1 = y1;
        environment_2d__screen_x_scale = scale;
        environment_2d__screen_y_scale = scale;
        environment_2d__screen_width = w;
        environment_2d__screen_height = h;
    }
};
