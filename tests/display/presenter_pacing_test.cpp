// The idle callback's pacing, and _DISPLAYORDER and _GLRENDER.
#include "display/presenter_fixture.h"
#include "error/error.h"

namespace {

using PresenterPacing = PresenterTest;

TEST_F(PresenterPacing, SixtyFramesTakeASecond) {
    presenter_pace();  // the first call settles the mark
    int64_t start = GetTicks();
    for (int i = 0; i < 60; i++) {
        int64_t before = fake_clock::slept_ms.load();
        presenter_pace();
        int64_t slept = fake_clock::slept_ms.load() - before;
        EXPECT_TRUE(slept == 16 || slept == 17) << slept;
    }
    EXPECT_NEAR(static_cast<double>(GetTicks() - start), 1000.0, 17.0);
}

TEST_F(PresenterPacing, ALateCallCarriesAtMostOneFrameOfBacklog) {
    presenter_pace();
    presenter_pace();
    clock.sleep(100);  // the window thread was held up
    presenter_pace();
    int64_t before = fake_clock::slept_ms.load();
    presenter_pace();
    presenter_pace();
    // With the backlog capped the next frames are paced again at once.
    EXPECT_GE(fake_clock::slept_ms.load() - before, 16);
}

TEST_F(PresenterPacing, NonPositiveFrameRateFallsBackToSixty) {
    max_fps = 0;
    presenter_pace();
    int64_t before = fake_clock::slept_ms.load();
    presenter_pace();
    int64_t slept = fake_clock::slept_ms.load() - before;
    EXPECT_TRUE(slept == 16 || slept == 17) << slept;
}

using DisplayOrder = PresenterTest;

struct order_case {
    int32_t codes[4];
    int32_t screen, hardware, glrender, hardware1;
};

TEST_F(DisplayOrder, CodesTakeTheirArgumentsPosition) {
    const order_case cases[] = {
        {{2, 0, 0, 0}, 0, 1, 0, 0},
        {{4, 1, 2, 3}, 2, 3, 1, 4},
        {{1, 2, 4, 3}, 1, 2, 3, 4},
        {{0, 0, 0, 1}, 4, 0, 0, 0},
        {{5, 1, -2, 0}, 2, 0, 0, 0},  // codes outside 1 to 4 are ignored
    };
    for (const auto& c : cases) {
        sub__displayorder(c.codes[0], c.codes[1], c.codes[2], c.codes[3]);
        EXPECT_EQ(displayorder_screen.load(), c.screen);
        EXPECT_EQ(displayorder_hardware.load(), c.hardware);
        EXPECT_EQ(displayorder_glrender.load(), c.glrender);
        EXPECT_EQ(displayorder_hardware1.load(), c.hardware1);
    }
}

TEST_F(DisplayOrder, ACodeGivenTwiceIsError5AndKeepsTheOrder) {
    sub__displayorder(2, 2, 0, 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(displayorder_screen.load(), 1);
    EXPECT_EQ(displayorder_hardware.load(), 2);
    EXPECT_EQ(displayorder_glrender.load(), 3);
    EXPECT_EQ(displayorder_hardware1.load(), 4);
}

TEST_F(DisplayOrder, GlRenderModes) {
    sub__glrender(1);
    EXPECT_EQ(displayorder_glrender.load(), 1);
    EXPECT_EQ(displayorder_screen.load(), 2);
    EXPECT_EQ(displayorder_hardware.load(), 3);
    EXPECT_EQ(displayorder_hardware1.load(), 4);
    sub__glrender(3);
    EXPECT_EQ(displayorder_glrender.load(), 1);
    EXPECT_EQ(displayorder_screen.load() + displayorder_hardware.load() + displayorder_hardware1.load(), 0);
    sub__glrender(7);
    EXPECT_EQ(displayorder_glrender.load(), 1);
    sub__glrender(2);
    EXPECT_EQ(displayorder_screen.load(), 1);
    EXPECT_EQ(displayorder_hardware.load(), 2);
    EXPECT_EQ(displayorder_glrender.load(), 3);
    EXPECT_EQ(displayorder_hardware1.load(), 4);
}

TEST_F(DisplayOrder, NothingHappensWhileAnErrorIsPending) {
    error(7);
    sub__displayorder(2, 0, 0, 0);
    EXPECT_EQ(displayorder_screen.load(), 1);
    EXPECT_EQ(take_error(), 7);
}

}  // namespace
