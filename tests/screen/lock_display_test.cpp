// The lock_display handshake between SCREEN and a fake frame producer thread.
#include <atomic>
#include <thread>

#include "core/runtime_flags.h"
#include "display/display.h"
#include "image/image_fixture.h"
#include "screen/lock_display.h"

namespace {

// Stands in for the housekeeping thread: one producer call per pass, granting a
// pending request at its start and at its end.
class FakeProducer {
public:
    explicit FakeProducer(bool answer) : answer_(answer), thread_([this] { run(); }) {}
    ~FakeProducer() {
        stop_.store(true);
        thread_.join();
    }
    int32_t grants() const { return grants_.load(); }
    // The count as soon as it reaches n (a grant is counted just after it is given).
    int32_t grants_reaching(int32_t n) const {
        for (int i = 0; i < 100000 && grants_.load() < n; i++) std::this_thread::yield();
        return grants_.load();
    }

private:
    void run() {
        while (!stop_.load()) {
            if (answer_ && lock_display_grant()) grants_++;
            if (answer_ && lock_display_grant()) grants_++;
            std::this_thread::yield();
        }
    }
    bool answer_;
    std::atomic<bool> stop_{false};
    std::atomic<int32_t> grants_{0};
    std::thread thread_;
};

class LockDisplay : public ImageTest {
protected:
    void SetUp() override {
        ImageTest::SetUp();
        runtime_flags_reset_for_tests();
        autodisplay.store(1);
    }
    void TearDown() override {
        runtime_flags_reset_for_tests();
        autodisplay.store(1);
        ImageTest::TearDown();
    }
};

}  // namespace

TEST_F(LockDisplay, ModeChangesWaitForTheGrantAndEndAtZero) {
    screen(0);
    lock_display_required.store(1);
    FakeProducer producer(true);
    for (int32_t mode : {12, 13, 0, 9, 1, 12}) {
        int32_t grants = producer.grants();
        screen(mode);
        EXPECT_EQ(producer.grants_reaching(grants + 1), grants + 1) << mode;
        EXPECT_EQ(lock_display.load(), 0);
        EXPECT_EQ(write_page()->legacy_mode, mode);
    }
}

TEST_F(LockDisplay, PageFlipsAndUnchangedModesMakeNoRequest) {
    screen(12);
    lock_display_required.store(1);
    FakeProducer producer(true);
    screen(12);
    zvg_screen(12, 0, 1, 0, 0, 1 | 4);
    zvg_screen(12, 0, 1, 0, 0, 1 | 4 | 8);
    EXPECT_EQ(producer.grants(), 0);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(LockDisplay, NoRequestBeforeStartUpOrWithoutAutodisplay) {
    // A producer that never answers would hang a SCREEN that asked.
    FakeProducer producer(false);
    screen(12);
    lock_display_required.store(1);
    autodisplay.store(0);
    screen(13);
    EXPECT_EQ(lock_display.load(), 0);
    EXPECT_EQ(write_page()->legacy_mode, 13);
}

TEST_F(LockDisplay, StopProgramEndsTheWaitAndChangesNothing) {
    screen(12);
    int32_t p0 = page_index(0);
    write_page()->pixels[0] = 3;
    lock_display_required.store(1);
    FakeProducer producer(false);
    std::thread closer([] {
        // The request is up before the program is told to stop.
        while (lock_display.load() != 1) std::this_thread::yield();
        stop_program.store(1);
    });
    screen_last_valid.store(1);
    zvg_screen(13, 0, 0, 0, 0, 1);
    closer.join();
    EXPECT_EQ(lock_display.load(), 0);
    EXPECT_EQ(page_index(0), p0);
    EXPECT_EQ(display_page_index(), p0);
    EXPECT_EQ(write_page()->legacy_mode, 12);
    EXPECT_EQ(write_page()->pixels[0], 3);
    EXPECT_EQ(screen_last_valid.load(), 1);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(LockDisplay, ProducerGrantsOnlyARequest) {
    EXPECT_FALSE(lock_display_grant());
    EXPECT_FALSE(lock_display_busy());
    lock_display.store(1);
    EXPECT_TRUE(lock_display_busy());
    EXPECT_TRUE(lock_display_grant());
    EXPECT_EQ(lock_display.load(), 2);
    EXPECT_FALSE(lock_display_grant());
    EXPECT_EQ(lock_display.load(), 2);
}
