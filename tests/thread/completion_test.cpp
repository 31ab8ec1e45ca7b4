// Completions and the thread layer.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "thread/thread.h"

namespace {

TEST(Completion, WaitAfterFinishReturnsAtOnce) {
    completion c;
    completion_init(&c);
    completion_finish(&c);
    completion_wait(&c);
    completion_wait(&c);
    EXPECT_EQ(c.done, 1);
    completion_clear(&c);
}

TEST(Completion, OneFinishReleasesEveryWaiter) {
    completion c;
    completion_init(&c);
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; i++)
        waiters.emplace_back([&] {
            completion_wait(&c);
            released++;
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(released.load(), 0);
    completion_finish(&c);
    for (auto& t : waiters) t.join();
    EXPECT_EQ(released.load(), 3);
    completion_clear(&c);
}

// The waiter clears the completion as soon as its wait returns, while the finishing
// thread may still be leaving completion_finish.
TEST(Completion, WaiterMayClearRightAfterTheWait) {
    for (int round = 0; round < 10000; round++) {
        completion c;
        completion_init(&c);
        std::thread finisher([&] { completion_finish(&c); });
        completion_wait(&c);
        completion_clear(&c);
        finisher.join();
    }
}

void set_flag(void* argument) { static_cast<std::atomic<int>*>(argument)->store(42); }

TEST(Thread, StartPassesItsArgumentAndJoinWaits) {
    std::atomic<int> flag{0};
    libzv_thread* t = libzv_thread_new();
    ASSERT_TRUE(libzv_thread_start(t, set_flag, &flag));
    libzv_thread_join(t);
    EXPECT_EQ(flag.load(), 42);
    libzv_thread_free(t);
}

struct gate {
    completion go;
    std::atomic<int> flag{0};
};

void wait_then_set(void* argument) {
    auto* g = static_cast<gate*>(argument);
    completion_wait(&g->go);
    g->flag.store(1);
}

TEST(Thread, FreeingTheHandleLeavesTheThreadRunning) {
    gate g;
    completion_init(&g.go);
    libzv_thread* t = libzv_thread_new();
    ASSERT_TRUE(libzv_thread_start(t, wait_then_set, &g));
    libzv_thread_free(t);
    completion_finish(&g.go);
    for (int i = 0; i < 500 && !g.flag.load(); i++) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(g.flag.load(), 1);
    completion_clear(&g.go);
}

TEST(Mutex, IsRecursiveAndReleasedAfterMatchingUnlocks) {
    libzv_mutex* m = libzv_mutex_new();
    libzv_mutex_lock(m);
    libzv_mutex_lock(m);
    libzv_mutex_unlock(m);
    libzv_mutex_unlock(m);
    bool locked_elsewhere = false;
    std::thread other([&] {
        libzv_mutex_lock(m);
        locked_elsewhere = true;
        libzv_mutex_unlock(m);
    });
    other.join();
    EXPECT_TRUE(locked_elsewhere);
    libzv_mutex_free(m);
}

}  // namespace
