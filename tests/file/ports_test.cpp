// INP and WAIT on the emulated keyboard and VGA ports.
#include <atomic>
#include <chrono>
#include <thread>

#include "clock/clock.h"
#include "core/runtime_flags.h"
#include "file/ports.h"
#include "image/image_fixture.h"
#include "input/port60h.h"

namespace {

class Ports : public ImageTest {
protected:
    void SetUp() override {
        ImageTest::SetUp();
        runtime_flags_reset_for_tests();
        port60h_global_init();
        sleeps = 0;
        on_sleep = nullptr;
    }
    void TearDown() override {
        clock_set_source(nullptr);
        runtime_flags_reset_for_tests();
        ImageTest::TearDown();
    }

    // A clock whose sleeps are counted and may act after a given number of them.
    static inline std::atomic<int64_t> sleeps{0};
    static inline void (*on_sleep)(int64_t count) = nullptr;
    static int64_t monotonic() { return sleeps.load() * 1000000; }
    static bool local_now(libzv_local_time*) { return false; }
    static void sleep(int64_t) {
        int64_t n = ++sleeps;
        if (on_sleep) on_sleep(n);
    }
    static inline const clock_source counted{monotonic, local_now, sleep};
    static void count_sleeps() { clock_set_source(&counted); }
};

TEST_F(Ports, PaletteDataPortReadsComponentsAsSixBitValues) {
    screen(12);
    sub_out(0x3C7, 5);
    const int32_t expected[] = {42, 0, 42, 42, 21, 0};  // entry 5 is AA00AA, entry 6 AA5500
    for (int32_t v : expected) EXPECT_EQ(func_inp(0x3C9), v);
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(Ports, EverySixBitValueComesBackThroughTheDacPorts) {
    screen(13);
    for (int32_t v = 0; v < 64; v++) {
        sub_out(0x3C8, 7);
        for (int32_t k = 0; k < 3; k++) sub_out(0x3C9, k == 1 ? 63 - v : v);
        sub_out(0x3C7, 7);
        EXPECT_EQ(func_inp(0x3C9), v);
        EXPECT_EQ(func_inp(0x3C9), 63 - v);
        EXPECT_EQ(func_inp(0x3C9), v);
    }
    // After entry 255 the read index wraps to 0, whose black reads 0.
    sub_out(0x3C7, 255);
    for (int32_t k = 0; k < 3; k++) func_inp(0x3C9);
    EXPECT_EQ(func_inp(0x3C9), 0);
}

TEST_F(Ports, PaletteDataPortOfAnImageWithoutPalette) {
    screen(12);
    int32_t index = imgnew(8, 8, 32);
    ASSERT_NE(index, 0);
    set_write_page(index);
    sub_out(0x3C7, 5);
    EXPECT_EQ(func_inp(0x3C9), 0);
    EXPECT_EQ(func_inp(0x3C9), 0);
    set_write_page(page_index(0));
    EXPECT_EQ(func_inp(0x3C9), 42) << "the read position did not move";
}

TEST_F(Ports, KeyboardPortRepeatsTheLastScancodeTaken) {
    EXPECT_EQ(func_inp(0x60), 0x81) << "before any key";
    scancodedown(0x1E);
    scancodeup(0x1E);
    error(5);
    EXPECT_EQ(func_inp(0x60), 0) << "nothing is taken while an error is pending";
    error_reset_for_tests();
    EXPECT_EQ(port60h_events(), 2);
    EXPECT_EQ(func_inp(0x60), 0x1E);
    EXPECT_EQ(func_inp(0x60 - 65536), 0x9E) << "the port is taken as 16 bits";
    EXPECT_EQ(func_inp(0x60), 0x9E);
    EXPECT_EQ(port60h_events(), 0);
}

TEST_F(Ports, StatusPortShowsEachRetraceOnce) {
    vertical_retrace_happened.store(1);
    EXPECT_EQ(func_inp(0x3DA), 8);
    EXPECT_EQ(func_inp(0x3DA), 0);
    vertical_retrace_in_progress.store(1);
    EXPECT_EQ(func_inp(0x3DA), 8);
    EXPECT_EQ(func_inp(0x3DA), 8);
}

TEST_F(Ports, RangesAndPortsThatAreNotEmulated) {
    const struct { int32_t port; int32_t error; int32_t unsupported; } cases[] = {
        {70000, 6, 0}, {-65537, 6, 0}, {65536, 6, 0}, {0x300, 0, 1}, {-65536, 0, 1}, {65535, 0, 1}, {0x3DA, 0, 0},
        {0x3C8, 0, 1},  // the palette's write index reads nothing
    };
    for (const auto& c : cases) {
        error_reset_for_tests();
        unsupported_port_accessed = 1 - c.unsupported;
        EXPECT_EQ(func_inp(c.port), 0) << c.port;
        EXPECT_EQ(new_error.load(), c.error) << c.port;
        EXPECT_EQ(unsupported_port_accessed, c.unsupported) << c.port;
    }
}

TEST_F(Ports, WaitReturnsAtOnceWhenThePatternIsThere) {
    count_sleeps();
    const struct { int32_t port, and_mask, xor_mask, passed; } cases[] = {
        {0x3DA, 8, 8, 1},     // retrace bit clear, inverted
        {0x300, 1, 0, 0},     // not emulated
        {0x60, 0x81, 0, 0},   // the start-up byte
        {0x60, 0x181, 0, 0},  // masks use their low byte
    };
    for (const auto& c : cases) {
        sleeps = 0;
        sub_wait(c.port, c.and_mask, c.xor_mask, c.passed);
        EXPECT_EQ(sleeps.load(), 0) << c.port;
        EXPECT_EQ(new_error.load(), 0) << c.port;
    }
}

TEST_F(Ports, WaitPollsEveryMillisecondUntilTheRetrace) {
    count_sleeps();
    on_sleep = [](int64_t n) {
        if (n == 5) vertical_retrace_happened.store(1);
    };
    sub_wait(0x3DA, 8, 0, 0);
    EXPECT_EQ(sleeps.load(), 5);
    EXPECT_EQ(vertical_retrace_happened.load(), 0) << "WAIT took the retrace";
}

TEST_F(Ports, WaitEndsWhenTheProgramStopsOrAnErrorIsRaised) {
    count_sleeps();
    on_sleep = [](int64_t n) {
        if (n == 3) stop_program.store(1);
    };
    sub_wait(0x60, 0, 0, 0);
    EXPECT_EQ(sleeps.load(), 3);
    stop_program.store(0);
    sleeps = 0;
    on_sleep = [](int64_t n) {
        if (n == 4) error(7);
    };
    sub_wait(0x60, 0, 0, 0);
    EXPECT_EQ(sleeps.load(), 4);
    EXPECT_EQ(new_error.load(), 7);
}

TEST_F(Ports, WaitSeesARetraceFromAnotherThread) {
    std::thread housekeeping([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        vertical_retrace_happened.store(1);
    });
    sub_wait(0x3DA, 8, 0, 0);
    housekeeping.join();
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(Ports, WaitArgumentRanges) {
    count_sleeps();
    const struct { int32_t port, and_mask, xor_mask, passed; } cases[] = {
        {70000, 1, 0, 0}, {0x3DA, -32769, 0, 0}, {0x3DA, 65536, 0, 0}, {0x3DA, 8, -32769, 1}, {0x3DA, 8, 65536, 1},
    };
    for (const auto& c : cases) {
        error_reset_for_tests();
        sub_wait(c.port, c.and_mask, c.xor_mask, c.passed);
        EXPECT_EQ(new_error.load(), 6) << c.port << " " << c.and_mask << " " << c.xor_mask;
    }
    EXPECT_EQ(sleeps.load(), 0);
    error_reset_for_tests();
    vertical_retrace_in_progress.store(1);
    sub_wait(0x3DA, 8, 70000, 0);
    EXPECT_EQ(new_error.load(), 0) << "an xor mask that was not given is not checked";
    error(9);
    sub_wait(0x60, 0, 0, 0);
    EXPECT_EQ(sleeps.load(), 0) << "nothing while an error is pending";
}

}  // namespace
