// The keyboard structures with their real threads: the window thread typing, the
// housekeeping thread re-syncing the locks and the program thread reading.
#include <atomic>
#include <thread>

#include "input/key_held.h"
#include "input/key_table.h"
#include "input/keyboard_fixture.h"
#include "input/lock_keys.h"

namespace {

struct flipping_locks {
    static inline std::atomic<int> passes{0};
    static bool caps() { return (passes.fetch_add(1) / 3) % 2; }
    static bool off() { return false; }
    static bool up(int) { return false; }
    static void toggle(int) {}
    static inline const lock_key_source source{caps, off, off, up, toggle};
};

TEST_F(KeyboardTest, KeyboardRaceWritersAndReadersKeepEveryEntryWhole) {
    lock_keys_set_source(&flipping_locks::source);
    std::atomic<bool> typing{true};
    std::thread window([&] {
        for (int round = 0; round < 3000; ++round) {
            int32_t c = 'a' + round % 26;
            keydown(c);
            keydown(key::f1);
            keyup(key::f1);
            keyup(c);
        }
        typing = false;
    });
    std::thread housekeeping([&] {
        while (typing.load()) resync_lock_keys();
    });
    int64_t entries = 0, hits = 0;
    bool whole = true;
    auto drain = [&] {
        for (bios_keyboard_entry e = bios_keyboard_take(); e.present; e = bios_keyboard_take(), ++entries) {
            bool letter = (e.ascii >= 'a' && e.ascii <= 'z') || (e.ascii >= 'A' && e.ascii <= 'Z');
            bool f1 = e.ascii == 0 && e.scancode == 0x3B;
            if (!(letter && e.scancode == key_table(e.ascii, KT_SCANCODE)) && !f1) whole = false;
        }
        for (keyhit_entry e = keyhit_take(); e.code; e = keyhit_take(), ++hits) {
            int32_t c = e.code < 0 ? -e.code : e.code;
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == key::f1 || c == key::caps_lock))
                whole = false;
        }
        port60h_take();
        keyheld(key::caps_lock);
    };
    while (typing.load()) drain();
    window.join();
    housekeeping.join();
    drain();
    lock_keys_set_source(nullptr);
    EXPECT_TRUE(whole);
    EXPECT_GT(entries, 0);
    EXPECT_GT(hits, 0);  // a reader that falls behind loses the oldest entries
}

}  // namespace
