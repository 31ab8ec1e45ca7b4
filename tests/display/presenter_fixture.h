// Presenter tests: the renderer fixture with recorded window requests and frames
// placed directly in the slots, as the producer leaves them.
#pragma once
#include <cstdlib>
#include <utility>
#include <vector>

#include "core/statement_flags.h"
#include "display/renderer_fixture.h"

struct fake_window {
    static inline std::vector<std::pair<int32_t, int32_t>> reshapes;
    static inline int32_t redisplays = 0, full_screens = 0, swaps = 0;
    static inline const presenter_window_ops ops{
        [](int32_t w, int32_t h) { reshapes.emplace_back(w, h); },
        []() { redisplays++; },
        []() { full_screens++; },
        []() { swaps++; },
    };
    static void reset() {
        reshapes.clear();
        redisplays = full_screens = swaps = 0;
    }
};

class PresenterTest : public RendererTest {
protected:
    void SetUp() override {
        RendererTest::SetUp();
        fake_window::reset();
        presenter_set_window_ops(&fake_window::ops);
        statement_flags_reset_for_tests();
    }
    void TearDown() override {
        statement_flags_reset_for_tests();
        RendererTest::TearDown();
    }

    // Slot i holds a w x h frame of one colour with this state and order.
    static void frame(int32_t i, int32_t state, int64_t order, int32_t w = 640, int32_t h = 400,
                      uint32_t colour = 0xFF0000AA) {
        display_frame_record* s = slot(i);
        free(s->pixels);
        s->pixels = static_cast<uint32_t*>(malloc(static_cast<size_t>(w) * h * 4));
        for (size_t p = 0; p < static_cast<size_t>(w) * h; p++) s->pixels[p] = colour;
        s->w = w;
        s->h = h;
        s->bytes_allocated = int64_t{w} * h * 4;
        s->order = order;
        s->state = state;
    }
    // A produced frame as the producer publishes it: ready, and its order consumed.
    static void produced(int32_t i, int64_t order, int32_t w = 640, int32_t h = 400, uint32_t colour = 0xFF0000AA) {
        frame(i, FRAME_READY, order, w, h, colour);
        last_hardware_display_frame_order = order;
        display_frame_order_next = order + 1;
    }
    // A producer call that found nothing changed: only the order moves on.
    static void unchanged() { last_hardware_display_frame_order = display_frame_order_next++; }

    // The window as the windowing library reports it.
    static void window_size(int32_t w, int32_t h) { GLUT_RESHAPE_FUNC(w, h); }
};
