// Frame slots and producer calls: slot choice, order stamps, unchanged pages, the
// states under a fake presenter, hidden screens and the _DISPLAY hand-over.
#include <thread>

#include "display/display_fixture.h"

using FrameSlots = DisplayTest;

namespace {

struct slot_case {
    int32_t state[3];
    int64_t order[3];
    int32_t chosen;  // -1: none available
};

}  // namespace

TEST_F(FrameSlots, ChoosesAFreeSlotBeforeTheOldestReadyOne) {
    const slot_case cases[] = {
        {{1, 1, 1}, {0, 0, 0}, 2},
        {{1, 3, 4}, {0, 5, 4}, 0},
        {{3, 3, 4}, {5, 6, 4}, 0},
        {{3, 3, 1}, {7, 5, 0}, 2},
        {{3, 3, 4}, {12, 5, 4}, 1},  // a ready order not below the next is never reused
        {{2, 4, 2}, {1, 2, 3}, -1},
    };
    graphics_page(4, 4, 32);
    for (const slot_case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state[0] << c.state[1] << c.state[2]);
        for (int32_t i = 0; i < 3; i++) set_slot(i, c.state[i], c.order[i]);
        display_frame_order_next = 10;
        force_display_update = 1;
        autodisplay = -1;
        display_called = 0;
        alerts().clear();
        display();
        if (c.chosen < 0) {
            ASSERT_EQ(alerts().size(), 1u);
            EXPECT_EQ(alerts()[0], "Software frame buffer: Failed to find available frame");
            EXPECT_EQ(display_called.load(), 0);
            EXPECT_EQ(autodisplay.load(), -1);
            EXPECT_EQ(display_frame_order_next.load(), 10);
            continue;
        }
        EXPECT_TRUE(alerts().empty());
        EXPECT_EQ(slot(c.chosen)->state.load(), FRAME_READY);
        EXPECT_EQ(slot(c.chosen)->order.load(), 10);
        EXPECT_EQ(display_frame_order_next.load(), 11);
        EXPECT_EQ(last_hardware_display_frame_order.load(), 10);
        EXPECT_EQ(autodisplay.load(), 0);
        EXPECT_EQ(display_called.load(), 1);
    }
}

TEST_F(FrameSlots, AnUnchangedPageYieldsOneFrameAndStillConsumesOrders) {
    for (int32_t mode : {0, 12, 13, 32}) {
        SCOPED_TRACE(mode);
        display_reset_for_tests();
        if (mode == 32)
            graphics_page(64, 48, 32);
        else
            screen(mode);
        ASSERT_NE(produce(), nullptr);
        EXPECT_EQ(count_in(FRAME_READY), 1);
        EXPECT_EQ(last_hardware_display_frame_order.load(), 1);

        EXPECT_EQ(produce(), nullptr);
        EXPECT_EQ(count_in(FRAME_READY), 1);
        EXPECT_EQ(count_in(FRAME_FREE), 2);
        EXPECT_EQ(display_frame_order_next.load(), 3);
        EXPECT_EQ(last_hardware_display_frame_order.load(), 2);
    }
}

TEST_F(FrameSlots, StatesCycleThroughWritingReadyShownAndFree) {
    img_struct* page = graphics_page(8, 8, 32);
    static int32_t writing_seen;
    writing_seen = 0;
    display_set_test_hook([] { writing_seen += count_in(FRAME_WRITING) == 1; });

    int64_t order = 1;
    for (int32_t n = 1; n <= 12; n++) {
        set_pixel32(page, 0, 0, 0xFF000000u + static_cast<uint32_t>(n));
        display_frame_record* made = produce();
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->order.load(), order++);
        if (n % 3 == 0) {
            // Two frames before the presenter runs: only the newer is shown.
            set_pixel32(page, 0, 0, 0xFF100000u + static_cast<uint32_t>(n));
            made = produce();
            ASSERT_NE(made, nullptr);
            EXPECT_EQ(count_in(FRAME_READY), 2);
            order++;
        }
        display_frame_record* shown = present();
        EXPECT_EQ(shown, made);
        EXPECT_EQ(shown->state.load(), FRAME_SHOWN);
        EXPECT_EQ(count_in(FRAME_FREE), 2);
        EXPECT_EQ(at(shown, 0, 0), pixel32(page, 0, 0));
    }
    EXPECT_EQ(writing_seen, 16);
}

TEST_F(FrameSlots, AScreenChangeIsGrantedAndItsPagesAreNotRead) {
    graphics_page(8, 8, 32);
    lock_display = 1;
    autodisplay = -1;
    display();
    EXPECT_EQ(lock_display.load(), 2);
    EXPECT_EQ(display_frame_order_next.load(), 1);
    EXPECT_EQ(count_in(FRAME_FREE), 3);
    EXPECT_EQ(autodisplay.load(), 0);
    EXPECT_EQ(display_called.load(), 1);

    // While the change lasts, calls stay away from the pages.
    display();
    EXPECT_EQ(display_frame_order_next.load(), 1);
    lock_display = 0;
    EXPECT_NE(produce(), nullptr);

    // A request made during a conversion is granted at the end of that call.
    display_set_test_hook([] { lock_display = 1; });
    force_display_update = 1;
    EXPECT_NE(produce(), nullptr);
    EXPECT_EQ(lock_display.load(), 2);
}

TEST_F(FrameSlots, AHiddenScreenProducesNothingAndLeavesTheRequestPending) {
    graphics_page(8, 8, 32);
    screen_hide = 1;
    autodisplay = -1;
    display();
    EXPECT_EQ(display_called.load(), 1);
    EXPECT_EQ(display_frame_order_next.load(), 1);
    EXPECT_EQ(count_in(FRAME_FREE), 3);
    EXPECT_EQ(autodisplay.load(), -1);

    // _DISPLAY does not wait for a hidden screen.
    autodisplay = 1;
    sub__display();
    EXPECT_EQ(autodisplay.load(), 1);
}

TEST_F(FrameSlots, ManualDisplayConvertsOnTheCallingThread) {
    graphics_page(8, 8, 32);
    autodisplay = 0;
    EXPECT_EQ(func__autodisplay(), 0);
    sub__display();
    EXPECT_EQ(count_in(FRAME_READY), 1);
    EXPECT_EQ(autodisplay.load(), 0);
    sub__autodisplay();
    EXPECT_EQ(func__autodisplay(), -1);
}

TEST_F(FrameSlots, AnInvalidDisplayPageConsumesTheOrderWithoutAFrame) {
    // The table's reserved record 0 is the display page before the first SCREEN.
    set_display_page(0);
    display();
    EXPECT_EQ(count_in(FRAME_FREE), 3);
    EXPECT_EQ(last_hardware_display_frame_order.load(), 1);
    EXPECT_EQ(display_called.load(), 1);
}

namespace {

// A producer call on another thread, held inside the call until released.
struct parked_call {
    static inline std::atomic<int32_t> parked{0}, release{0};
    std::thread thread;

    parked_call() {
        parked = 0;
        release = 0;
        display_set_test_hook([] {
            parked = 1;
            while (!release.load()) std::this_thread::yield();
        });
        thread = std::thread(display);
        while (!parked.load()) std::this_thread::yield();
    }
    void finish() {
        release = 1;
        thread.join();
        display_set_test_hook(nullptr);
    }
};

}  // namespace

TEST_F(FrameSlots, DisplayDuringAProducerCallWaitsForTheNextCall) {
    graphics_page(8, 8, 32);
    parked_call running;
    std::atomic<bool> returned{false};
    std::thread program([&] {
        sub__display();
        returned = true;
    });
    while (fake_clock::slept_ms.load() < 1) std::this_thread::yield();

    // The call that began before the request converted an older picture.
    running.finish();
    int64_t polls = fake_clock::slept_ms.load();
    while (fake_clock::slept_ms.load() < polls + 3) std::this_thread::yield();
    EXPECT_EQ(autodisplay.load(), -1);
    EXPECT_FALSE(returned.load());

    display();
    program.join();
    EXPECT_TRUE(returned.load());
    EXPECT_EQ(autodisplay.load(), 0);
}

TEST_F(FrameSlots, DisplayNowWaitsForACallThatStartedAfterIt) {
    graphics_page(8, 8, 32);
    parked_call running;
    std::atomic<bool> returned{false};
    std::thread waiter([&] {
        display_now();
        returned = true;
    });
    // The waiter polls (through the fake sleep) while the parked call still runs.
    while (fake_clock::slept_ms.load() < 1) std::this_thread::yield();
    running.finish();
    int64_t polls = fake_clock::slept_ms.load();
    while (fake_clock::slept_ms.load() < polls + 3) std::this_thread::yield();
    EXPECT_FALSE(returned.load());

    display();
    waiter.join();
    EXPECT_TRUE(returned.load());
}

TEST_F(FrameSlots, WaitsEndWhenTheProgramStops) {
    graphics_page(8, 8, 32);
    autodisplay = 1;
    stop_program = 1;
    sub__display();
    display_now();
    EXPECT_EQ(autodisplay.load(), -1);
}
