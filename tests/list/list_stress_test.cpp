// Thread-safe slot list: adds and removes on two threads while a third reads
// without a lock. Run under ThreadSanitizer too (build-tsan).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "list/list.h"

namespace {

struct record {
    int64_t value;
    double weight;
};

TEST(ListStress, LockFreeGetsSeeStableRecordsWhileOthersAddAndRemove) {
    list* l = list_new_threadsafe(sizeof(record));
    constexpr int32_t kept = 100;
    std::vector<record*> originals;
    for (int32_t h = 1; h <= kept; h++) {
        ASSERT_EQ(list_add(l), h);
        auto* r = static_cast<record*>(list_get(l, h));
        r->value = h * 1000;
        r->weight = h / 4.0;
        originals.push_back(r);
    }

    // Handles the adder creates and the remover frees, handed over one by one.
    constexpr int32_t rounds = 20000;
    std::vector<std::atomic<int32_t>> added(rounds);
    std::atomic<int32_t> added_count{0};
    std::atomic<bool> done{false};
    std::atomic<int64_t> bad_reads{0};
    std::atomic<int64_t> removed{0};

    std::thread adder([&] {
        for (int32_t i = 0; i < rounds; i++) {
            int32_t h = list_add(l);
            static_cast<record*>(list_get(l, h))->value = -h;
            added[i].store(h, std::memory_order_release);
            added_count.store(i + 1, std::memory_order_release);
        }
    });
    std::thread remover([&] {
        // Removes every second handle the adder made, so the index keeps growing
        // while the free stack is used too.
        for (int32_t i = 0; i < rounds; i += 2) {
            while (added_count.load(std::memory_order_acquire) <= i) std::this_thread::yield();
            if (list_remove(l, added[i].load(std::memory_order_acquire)) == -1) removed++;
        }
    });
    std::thread reader([&] {
        while (!done.load(std::memory_order_acquire)) {
            for (int32_t h = 1; h <= kept; h++) {
                auto* r = static_cast<record*>(list_get(l, h));
                if (r != originals[h - 1] || list_get_index(l, r) != h) bad_reads++;
            }
        }
    });

    adder.join();
    remover.join();
    done.store(true, std::memory_order_release);
    reader.join();

    EXPECT_EQ(bad_reads.load(), 0);
    EXPECT_EQ(removed.load(), rounds / 2);
    for (int32_t h = 1; h <= kept; h++) {
        auto* r = static_cast<record*>(list_get(l, h));
        ASSERT_EQ(r, originals[h - 1]);
        EXPECT_EQ(r->value, h * 1000);
        EXPECT_EQ(r->weight, h / 4.0);
    }
    list_destroy(l);
}

}  // namespace
