// The presenter's display callback against a producer thread: frames are taken in
// order, never torn, and the last frame made is the one finally shown.
#include <thread>

#include "display/presenter_fixture.h"

namespace {

using PresenterRace = PresenterTest;

TEST_F(PresenterRace, FramesArriveInOrderAndTheLastOneIsShown) {
    constexpr int32_t frames = 3000;
    int32_t index = imgnew(16, 16, 32);
    set_display_page(index);
    set_write_page(index);
    img_struct* page = img_get(index);
    window_size(16, 16);

    std::atomic<bool> done{false};
    std::thread producer([&] {
        for (uint32_t n = 1; n <= frames; n++) {
            for (int32_t p = 0; p < 256; p++) memcpy(page->pixels + p * 4, &n, 4);
            display();
        }
        done.store(true, std::memory_order_release);
    });
    int64_t out_of_order = 0, torn = 0;
    uint32_t last = 0;
    auto check = [&] {
        GLUT_DISPLAY_REQUEST();
        if (fake_gl::uploaded.empty()) return;
        uint32_t v = fake_gl::uploaded[0];
        for (uint32_t p : fake_gl::uploaded) torn += p != v;
        out_of_order += v < last;
        last = v;
    };
    while (!done.load(std::memory_order_acquire)) check();
    producer.join();
    check();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(out_of_order, 0);
    EXPECT_EQ(last, static_cast<uint32_t>(frames)) << "the last frame made was not shown";
}

}  // namespace
