// The keys the runtime owns (Break, Alt+F4, Pause, Alt+Enter), focus loss, and the
// lock keys at start-up and in the housekeeping re-sync.
#include <GL/freeglut.h>

#include <algorithm>
#include <functional>

#include "display/display.h"
#include "glut/window_hooks.h"
#include "input/key_held.h"
#include "input/keyboard_fixture.h"
#include "input/lock_keys.h"
#include "input/lock_statements.h"
#include "window/file_drop.h"

namespace {

TEST_F(KeyboardTest, BreakEndsTheProgramOrIsReportedAfterExit) {
    press(key::brk);
    EXPECT_EQ(close_program.load(), 1);
    EXPECT_EQ(exit_value.load(), 0);

    runtime_flags_reset_for_tests();
    exit_blocked.store(1);
    press(key::left_ctrl);
    press(key::scroll_lock);
    EXPECT_EQ(close_program.load(), 0);
    EXPECT_EQ(exit_value.load(), 2);
    EXPECT_TRUE(keyhits() == (std::vector<int32_t>{key::left_ctrl}));
}

TEST_F(KeyboardTest, AltF4EndsTheProgramOrIsReportedAfterExit) {
    tap(key::f4);
    EXPECT_EQ(close_program.load(), 0);
    press(key::left_alt);
    press(key::f4);
    EXPECT_EQ(close_program.load(), 1);

    runtime_flags_reset_for_tests();
    exit_blocked.store(1);
    press(key::f4);
    EXPECT_EQ(exit_value.load(), 1);
    EXPECT_EQ(close_program.load(), 0);
    EXPECT_EQ(bios_entries(), (std::vector<std::pair<int, int>>{{0, 0x3E}}));  // the plain F4 only
}

TEST_F(KeyboardTest, PauseParksTheProgramAndTheNextKeyOnlyResumesIt) {
    keyhits();
    press(key::pause);
    EXPECT_EQ(suspend_program.load(), 1);
    EXPECT_EQ(zvevent.load(), 1);
    release(key::pause);
    press('a');
    EXPECT_EQ(suspend_program.load(), 0);
    EXPECT_TRUE(bios_entries().empty());
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{-key::pause}));
    release('a');
    tap('b');
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{-'a', 'b', -'b'}));
    EXPECT_EQ(bios_entries(), (std::vector<std::pair<int, int>>{{'b', 48}}));

    press(key::right_ctrl);
    press(key::num_lock);  // Ctrl+Num Lock pauses too
    EXPECT_EQ(suspend_program.load(), 1);
}

TEST_F(KeyboardTest, PauseAndBreakArriveThroughTheCustomEvent) {
    EXPECT_EQ(orvo_custom_event(2, key::pause, 1, 0, 0, 0, 0, 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(suspend_program.load(), 1);
    EXPECT_EQ(orvo_custom_event(2, key::pause, -1, 0, 0, 0, 0, 0, 0, nullptr, nullptr), 0);
    EXPECT_FALSE(keyheld(key::pause));
    EXPECT_EQ(orvo_custom_event(2, 'a', 1, 0, 0, 0, 0, 0, 0, nullptr, nullptr), -1);
    EXPECT_EQ(orvo_custom_event(2, key::brk, 1, 0, 0, 0, 0, 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(close_program.load(), 1);
}

// What a hook event can change, read after each way of raising it.
struct hook_effects {
    int32_t exit, suspend, close, total_dropped;
    bool pause_held, break_held;
    int32_t moved;
    std::vector<std::pair<int32_t, bool>> device_keys;
    bool operator==(const hook_effects&) const = default;
};

TEST_F(KeyboardTest, HookEntryPointsAndNamedCallsHaveTheSameEffect) {
    static int32_t moved;
    static std::vector<std::pair<int32_t, bool>> device_keys;
    using call = std::function<int64_t()>;
    auto custom = [](int32_t type, int32_t v1, int32_t v2) -> call {
        return [=] {
            void* drop = type == 4 ? new drop_list{{"/x", "/y"}} : nullptr;
            return orvo_custom_event(type, v1, v2, 0, 0, 0, 0, 0, 0, drop, nullptr);
        };
    };
    auto native = [](int32_t code, int32_t down) -> call {
        return [=] {
            int32_t info = 1;
            return orvo_os_event_windows(code, down, &info);
        };
    };
    auto named = [](auto f) -> call {
        return [=] {
            f();
            return int64_t{0};
        };
    };
    struct event_case {
        const char* name;
        bool break_held_before;
        call entry, by_name;
        int64_t result;  // of the entry point
    };
    const event_case cases[] = {
        {"close", false, custom(1, 0, 0), named([] { window_close_requested(); }), 0},
        {"pause down", false, custom(2, key::pause, 1), named([] { window_pause_key(key::pause, true); }), 0},
        {"break down", false, custom(2, key::brk, 1), named([] { window_pause_key(key::brk, true); }), 0},
        {"break up", true, custom(2, key::brk, -1), named([] { window_pause_key(key::brk, false); }), 0},
        {"other key", false, custom(2, 'a', 1), named([] { EXPECT_FALSE(window_pause_key('a', true)); }), -1},
        {"motion", false, custom(3, 7, -3), named([] { window_relative_motion(7, -3); }), 0},
        {"drop", false, custom(4, 0, 0), named([] { window_files_dropped(new drop_list{{"/x", "/y"}}); }), 0},
        {"native key down", false, native(30, 1), named([] { window_device_key(30, true); }), 0},
        {"native key up", false, native(30, 0), named([] { window_device_key(30, false); }), 0},
    };
    auto fresh = [this](bool break_held) {
        SetUp();
        window_hooks_reset_for_tests();
        file_drop_reset_for_tests();
        exit_blocked.store(1);  // Break is reported instead of ending the program
        if (break_held) window_pause_key(key::brk, true);
        moved = 0;
        device_keys.clear();
        window_set_relative_motion_sink([](int32_t dx, int32_t dy) { moved = dx * 100 + dy; });
        window_set_device_key_sink([](int32_t code, bool down) { device_keys.emplace_back(code, down); });
    };
    auto effects = [] {
        return hook_effects{exit_value.load(),         suspend_program.load(), close_program.load(),
                            func__totaldroppedfiles(), keyheld(key::pause),    keyheld(key::brk),
                            moved,                     device_keys};
    };
    for (const event_case& c : cases) {
        fresh(c.break_held_before);
        hook_effects before = effects();
        EXPECT_EQ(c.entry(), c.result) << c.name;
        hook_effects through_entry = effects();
        fresh(c.break_held_before);
        c.by_name();
        EXPECT_TRUE(effects() == through_entry) << c.name;
        // A handled event shows; an unknown one leaves everything as it was.
        EXPECT_EQ(through_entry == before, c.result != 0) << c.name;
    }
}

TEST_F(KeyboardTest, NativePauseReleaseSendsTheCodeItWentDownAs) {
    // Ctrl+Pause is Break; Ctrl may be let go before Pause.
    window_hooks_reset_for_tests();
    exit_blocked.store(1);
    window_native_key(119, true, native_key_kind::brk);
    EXPECT_TRUE(keyheld(key::brk));
    window_native_key(119, false, native_key_kind::pause);
    EXPECT_FALSE(keyheld(key::brk));
    EXPECT_EQ(exit_value.load(), 2);
    window_native_key(119, true, native_key_kind::pause);
    EXPECT_EQ(suspend_program.load(), 1);
}

TEST_F(KeyboardTest, ShiftTabFromTheNativeStreamIsTabWithShift) {
    // X names Tab ISO_Left_Tab while Shift is held, and the library reports nothing.
    window_hooks_reset_for_tests();
    press(key::left_shift);
    keyhits();
    window_native_key(15, true, native_key_kind::left_tab);
    EXPECT_EQ(bios_entries(), (std::vector<std::pair<int, int>>{{0, 0x0F}}));
    window_native_key(15, false, native_key_kind::left_tab);
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{9, -9}));
    EXPECT_FALSE(keyheld(9));
}

TEST_F(KeyboardTest, ReleaseNoCallbackReportsLetsGoWhatTheKeyWentDownAs) {
    // Tab down with Shift, Ctrl pressed, Tab up: its release has no name the library
    // reports, and must still let go the 9 it went down as.
    window_hooks_reset_for_tests();
    press(key::left_shift);
    window_native_key(15, true, native_key_kind::left_tab);
    release(key::left_shift);
    press(key::left_ctrl);
    keyhits();
    window_native_key(15, false, native_key_kind::unreported);
    EXPECT_EQ(keyhits(), std::vector<int32_t>{-9});
    EXPECT_FALSE(keyheld(9));
    // A key that never went down through the layer is not released for it.
    window_native_key(30, false, native_key_kind::unreported);
    window_native_key(58, true, native_key_kind::unreported);  // Caps Lock: the lock path handles it
    EXPECT_TRUE(keyhits().empty());
}

struct alt_enter_case {
    int32_t allowed_mode, allowed_smooth;
    std::vector<std::pair<int32_t, int32_t>> steps;  // (full screen, smooth) after each Alt+Enter
};

TEST_F(KeyboardTest, AltEnterStepsThroughTheAllowedModes) {
    const alt_enter_case cases[] = {
        {0, 0, {{1, 0}, {1, 1}, {2, 0}, {2, 1}, {0, 0}}},
        {2, 0, {{2, 0}, {2, 1}, {0, 0}}},
        {1, -1, {{1, 0}, {0, 0}}},
        {0, 1, {{1, 1}, {2, 1}, {0, 0}}},
    };
    press(key::left_alt);
    for (const alt_enter_case& c : cases) {
        fullscreen_allowedmode = c.allowed_mode;
        fullscreen_allowedsmooth = c.allowed_smooth;
        for (auto [mode, smooth] : c.steps) {
            force_display_update = 0;
            tap(13);
            // The presenter applies the request.
            int32_t pending = full_screen_set.exchange(-1);
            if (pending != -1) full_screen = pending;
            EXPECT_EQ(full_screen.load(), mode) << "allowed " << c.allowed_mode << "/" << c.allowed_smooth;
            EXPECT_EQ(fullscreen_smooth.load(), smooth) << "allowed " << c.allowed_mode << "/" << c.allowed_smooth;
            EXPECT_EQ(force_display_update.load(), 1);
        }
    }
    EXPECT_TRUE(bios_entries().empty());
}

TEST_F(KeyboardTest, AltEnterIsAnOrdinaryKeyWhenFullScreenIsNotAllowed) {
    fullscreen_allowedmode = -1;
    press(key::left_alt);
    tap(13);
    EXPECT_EQ(full_screen_set.load(), -1);
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{key::left_alt, 13, -13}));
}

TEST_F(KeyboardTest, FocusLossReleasesHeldKeysButNotTheLockStates) {
    press(key::caps_lock);
    press(key::left_shift);
    press('a');
    press(key::f1);
    keyhits();
    window_focus_changed(false);
    std::vector<int32_t> hits = keyhits();
    std::sort(hits.begin(), hits.end());
    EXPECT_EQ(hits, (std::vector<int32_t>{-key::left_shift, -key::f1, -'a'}));
    EXPECT_TRUE(keyheld(key::caps_lock));
    EXPECT_FALSE(keyheld(key::left_shift));
    EXPECT_EQ(byte_at(0x417), 0x40);
}

TEST_F(KeyboardTest, WithoutFocusSpecialKeysOnlyPassAsReleasesOfHeldKeys) {
    GLUT_key_special(GLUT_KEY_LEFT, 1);
    keyboard_set_focus(false);
    GLUT_key_special(GLUT_KEY_RIGHT, 1);
    GLUT_key_special(GLUT_KEY_RIGHT, 0);
    GLUT_key_special(GLUT_KEY_LEFT, 0);
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{key::left, -key::left}));
}

struct fake_locks {
    static inline bool caps = false, num = false, scroll = false;
    static inline bool down[7] = {};
    static inline int toggles = 0;
    static inline const lock_key_source source{
        [] { return caps; },
        [] { return num; },
        [] { return scroll; },
        [](int i) { return down[i]; },
        [](int lock) {
            ++toggles;
            bool& state = lock == 0 ? caps : lock == 1 ? num : scroll;
            state = !state;
        },
    };
    fake_locks() {
        caps = num = scroll = false;
        for (bool& d : down) d = false;
        toggles = 0;
        lock_keys_set_source(&source);
    }
    ~fake_locks() { lock_keys_set_source(nullptr); }
};

TEST_F(KeyboardTest, StartUpPressesTheKeysThatAreDownAndTheLocksThatAreOn) {
    fake_locks locks;
    fake_locks::caps = true;
    fake_locks::scroll = true;
    fake_locks::down[1] = true;  // left Shift
    fake_locks::down[4] = true;  // right Ctrl
    startup_lock_keys();
    EXPECT_TRUE(keyheld(key::caps_lock));
    EXPECT_FALSE(keyheld(key::num_lock));
    EXPECT_TRUE(keyheld(key::scroll_lock_state));
    EXPECT_TRUE(keyheld(key::left_shift));
    EXPECT_TRUE(keyheld(key::right_ctrl));
    EXPECT_EQ(byte_at(0x417), 0x56);
    EXPECT_EQ(byte_at(0x496), 0x11);
    EXPECT_TRUE(keyhits().empty());
    // The binding recorded with each press releases that key.
    keyheld_unbind(key::left_shift - 100000);
    EXPECT_FALSE(keyheld(key::left_shift));
}

TEST_F(KeyboardTest, ResyncFollowsTheSystemLocks) {
    fake_locks locks;
    resync_lock_keys();
    EXPECT_TRUE(keyhits().empty());
    fake_locks::caps = true;
    fake_locks::scroll = true;
    resync_lock_keys();
    EXPECT_TRUE(keyheld(key::caps_lock));
    EXPECT_TRUE(keyheld(key::scroll_lock_state));
    EXPECT_EQ(byte_at(0x417), 0x50);
    fake_locks::caps = false;
    fake_locks::num = true;
    resync_lock_keys();
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{key::caps_lock, -key::caps_lock, key::num_lock}));
    EXPECT_EQ(byte_at(0x417), 0x30);
    // Caps Lock toggled by the re-sync never reaches the BIOS buffer.
    EXPECT_TRUE(bios_entries().empty());
}

TEST_F(KeyboardTest, LockStatementsToggleOnlyWhenTheStateMustChange) {
    fake_locks locks;
    sub__capslock(1);
    EXPECT_EQ(func__capslock(), -1);
    sub__capslock(1);
    EXPECT_EQ(fake_locks::toggles, 1);
    sub__capslock(3);
    EXPECT_EQ(func__capslock(), 0);
    sub__capslock(2);
    EXPECT_EQ(fake_locks::toggles, 2);
    sub__scrolllock(3);
    EXPECT_EQ(func__scrolllock(), -1);
    error(53);
    sub__numlock(1);  // acts even while an error is pending
    EXPECT_TRUE(fake_locks::num);
    EXPECT_EQ(func__numlock(), 0);
}

}  // namespace
