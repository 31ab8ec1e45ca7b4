// Renderer and presenter tests: a recording GL, a fresh cache and 2D environment, and
// hardware images made from known pixels.
#pragma once
#include <vector>

#include "display/display_fixture.h"
#include "display/fake_gl.h"
#include "display/presenter.h"
#include "display/presenter_environment.h"
#include "display/renderer.h"
#include "image/hardware_queue.h"

class RendererTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        renderer_reset_for_tests();
        presenter_reset_for_tests();
    }
    void TearDown() override {
        presenter_reset_for_tests();
        renderer_reset_for_tests();
        DisplayTest::TearDown();
    }

    // A hardware image that keeps a copy of the pixels until its first use.
    static int32_t image(int32_t w, int32_t h, uint32_t colour = 0xFF112233) {
        std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, colour);
        return new_hardware_img(w, h, pixels.data(), 3);
    }
    static int32_t image(int32_t w, int32_t h, const std::vector<uint32_t>& pixels) {
        return new_hardware_img(w, h, const_cast<uint32_t*>(pixels.data()), 3);
    }

    // The environment of a frame in a window, made current.
    static void environment(int32_t window_w, int32_t window_h, int32_t frame_w, int32_t frame_h, int32_t full = 0) {
        environment__window_width = window_w;
        environment__window_height = window_h;
        environment_2d_publish(prepare_environment_2d(window_w, window_h, frame_w, frame_h, full, 0, 0));
    }

    static std::vector<float> batch_vertices() {
        const float* v = renderer_batch_vertices();
        return {v, v + renderer_batch_vertex_floats()};
    }
    static std::vector<float> batch_texcoords() {
        const float* t = renderer_batch_texcoords();
        return {t, t + renderer_batch_texcoord_floats()};
    }
    // Position of the first call with this text at or after index from, or -1.
    static int64_t position(const std::string& text, size_t from = 0) {
        for (size_t i = from; i < fake_gl::calls.size(); i++)
            if (fake_gl::calls[i] == text) return static_cast<int64_t>(i);
        return -1;
    }

    fake_gl gl;
};
