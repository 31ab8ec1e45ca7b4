// The window-thread request queue against a fake windowing library.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "glut/glut_backend.h"
#include "glut/glut_message.h"
#include "glut/glut_queue.h"

namespace {

struct fake_glut {
    static inline std::mutex lock;
    static inline std::vector<std::string> calls;
    static inline std::vector<std::thread::id> threads;
    static inline std::atomic<int32_t> metric{0};
    static inline std::atomic<int32_t> metric_reads{0};

    static void record(std::string call) {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back(std::move(call));
        threads.push_back(std::this_thread::get_id());
    }
    static inline const glut_backend backend{
        [](int32_t id) { record("cursor " + std::to_string(id)); },
        [](int32_t x, int32_t y) { record("warp " + std::to_string(x) + "," + std::to_string(y)); },
        [](int32_t id) -> int32_t {
            if (id == 300) return 1234;
            metric_reads++;
            return metric.load() + id;
        },
        [] { record("iconify"); },
        [](int32_t x, int32_t y) { record("position " + std::to_string(x) + "," + std::to_string(y)); },
        [] { record("show"); },
        [] { record("hide"); },
        [](const char* title) { record(std::string("title ") + title); },
    };
};

class GlutQueue : public ::testing::Test {
protected:
    void SetUp() override {
        glut_queue_global_init();
        glut_set_backend(&fake_glut::backend);
        fake_glut::calls.clear();
        fake_glut::threads.clear();
        fake_glut::metric = 0;
        fake_glut::metric_reads = 0;
        libzv_glut_set_up_for_tests(false);
    }
    void TearDown() override {
        libzv_glut_set_up_for_tests(false);
        glut_set_backend(nullptr);
    }
};

struct counted_message : glut_message {
    static inline int destroyed = 0;
    ~counted_message() override { destroyed++; }
    void execute() override {}
};

TEST_F(GlutQueue, BeforeTheWindowExistsRequestsAreDroppedAndWaitersReleased) {
    auto* waited = new glut_message_get(300);
    EXPECT_FALSE(libzv_queue_glut_message(waited));
    waited->wait();  // released, not blocked
    EXPECT_EQ(waited->result, 0);
    delete waited;

    counted_message::destroyed = 0;
    EXPECT_FALSE(libzv_queue_glut_message(new counted_message));
    EXPECT_EQ(counted_message::destroyed, 1);

    EXPECT_EQ(libzv_glut_get(300), 0);
    EXPECT_FALSE(libzv_glut_set_window_title("x"));
    EXPECT_TRUE(fake_glut::calls.empty());
}

TEST_F(GlutQueue, RequestsRunInOrderOnTheProcessingThread) {
    libzv_glut_set_up_for_tests(true);
    EXPECT_TRUE(libzv_glut_set_window_title("first"));
    EXPECT_TRUE(libzv_glut_position_window(3, 4));
    EXPECT_TRUE(libzv_glut_hide_window());
    EXPECT_TRUE(fake_glut::calls.empty());

    std::thread::id window_thread;
    std::thread([&] {
        window_thread = std::this_thread::get_id();
        libzv_process_glut_queue();
    }).join();
    EXPECT_EQ(fake_glut::calls, (std::vector<std::string>{"title first", "position 3,4", "hide"}));
    for (auto id : fake_glut::threads) EXPECT_EQ(id, window_thread);
}

TEST_F(GlutQueue, GetOfAnUncachedIdWaitsForTheWindowThread) {
    libzv_glut_set_up_for_tests(true);
    std::atomic<bool> stop{false};
    std::thread window([&] {
        while (!stop) {
            libzv_process_glut_queue();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    EXPECT_EQ(libzv_glut_get(300), 1234);
    stop = true;
    window.join();
}

TEST_F(GlutQueue, WindowMetricsComeFromTheCacheOfTheLastRead) {
    libzv_glut_set_up_for_tests(true);
    fake_glut::metric = 1000;
    libzv_process_glut_queue();
    fake_glut::metric = 2000;
    // No window thread runs: a queued request would block here.
    EXPECT_EQ(libzv_glut_get(100), 1100);
    EXPECT_EQ(libzv_glut_get(101), 1101);
    EXPECT_EQ(libzv_glut_get(506), 1506);
    EXPECT_EQ(libzv_glut_get(507), 1507);
    libzv_glut_set_up_for_tests(true);  // a window coming up reads them again
    libzv_process_glut_queue();
    EXPECT_EQ(libzv_glut_get(100), 2100);
}

// Each read is four round trips to the server: passes in which nothing can have
// moved the window read nothing, and the pass after a change reads it.
TEST_F(GlutQueue, WindowMetricsAreReadOnlyWhenTheyMayHaveChanged) {
    struct row {
        const char* what;
        void (*change)();
    };
    const row rows[] = {
        {"an event of the server", [] { glut_window_metrics_may_change(); }},
        {"_SCREENMOVE", [] { libzv_glut_position_window(5, 6); }},
        {"_SCREENSHOW", [] { libzv_glut_show_window(); }},
        {"_SCREENHIDE", [] { libzv_glut_hide_window(); }},
        {"_SCREENICON", [] { libzv_glut_iconify_window(); }},
    };
    libzv_glut_set_up_for_tests(true);
    for (int i = 0; i < 3; ++i) libzv_process_glut_queue();
    for (const row& r : rows) {
        SCOPED_TRACE(r.what);
        for (int i = 0; i < 3; ++i) libzv_process_glut_queue();
        fake_glut::metric_reads = 0;
        for (int i = 0; i < 10; ++i) libzv_process_glut_queue();
        EXPECT_EQ(fake_glut::metric_reads.load(), 0);  // quiet passes
        libzv_glut_set_window_title("t");               // changes no place
        libzv_glut_set_cursor(2);
        libzv_process_glut_queue();
        EXPECT_EQ(fake_glut::metric_reads.load(), 0);

        fake_glut::metric += 1000;
        int32_t moved = fake_glut::metric.load() + 100;
        r.change();
        libzv_process_glut_queue();  // a request runs here; the library acts on it after
        libzv_process_glut_queue();
        EXPECT_EQ(libzv_glut_get(100), moved);
        EXPECT_GT(fake_glut::metric_reads.load(), 0);
        libzv_process_glut_queue();  // the pass after the library acted reads once more
        int32_t reads = fake_glut::metric_reads.load();
        for (int i = 0; i < 10; ++i) libzv_process_glut_queue();
        EXPECT_EQ(fake_glut::metric_reads.load(), reads);
    }
}

using GlutExit = GlutQueue;

TEST_F(GlutExit, ExitCodeWithoutAWindow) {
    EXPECT_EXIT(libzv_exit(7), ::testing::ExitedWithCode(7), "");
}

TEST_F(GlutExit, ExitCodeReachesTheProcessThroughTheWindowThread) {
    EXPECT_EXIT(
        {
            libzv_glut_set_up_for_tests(true);
            std::thread([] {
                for (;;) {
                    libzv_process_glut_queue();
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            }).detach();
            libzv_exit(7);
        },
        ::testing::ExitedWithCode(7), "");
}

}  // namespace
