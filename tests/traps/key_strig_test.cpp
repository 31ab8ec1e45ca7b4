// ON KEY and ON STRIG: slot decoding, the ON / OFF / STOP actions, counting events
// and running their handlers at the boundary.
#include <algorithm>
#include <atomic>
#include <thread>

#include "trap_fixture.h"

namespace {

struct strig_case {
    int32_t n;
    int32_t controller;
    bool controller_given;
    strig_target::kind_t kind;
    int32_t slot;
};

TEST(StrigDecode, NumbersAndControllersGiveTheirSlots) {
    const strig_case cases[] = {
        {0, 0, false, strig_target::slot, 0},      {2, 0, false, strig_target::slot, 256},
        {4, 0, false, strig_target::slot, 1},      {6, 0, false, strig_target::slot, 257},
        {1022, 0, false, strig_target::slot, 511},  // controller 2, button 256
        {1, 0, false, strig_target::invalid, 0},   {70000, 0, false, strig_target::invalid, 0},
        {-2, 0, false, strig_target::invalid, 0},  {1024, 0, false, strig_target::ignored, 0},
        {0, 3, true, strig_target::slot, 512},     {2, 3, true, strig_target::slot, 512},  // bit 1 not examined
        {0, 0, true, strig_target::invalid, 0},    {0, 65536, true, strig_target::invalid, 0},
        {1, 3, true, strig_target::invalid, 0},    {0, 257, true, strig_target::ignored, 0},
        {0, 256, true, strig_target::slot, 65280},
    };
    for (const auto& c : cases) {
        strig_target t = strig_decode(c.n, c.controller, c.controller_given);
        EXPECT_EQ(t.kind, c.kind) << "n " << c.n << " controller " << c.controller;
        if (c.kind == strig_target::slot) {
            EXPECT_EQ(t.index, c.slot) << "n " << c.n;
        }
    }
}

class Traps : public TrapTest {};

TEST_F(Traps, StrigStatementsRaiseError5AndIgnoreWhatNoSlotHolds) {
    onstrig_setup(1, 0, 0, 9, 0);
    EXPECT_EQ(take_error(), 5);
    onstrig_setup(0, 0, 1, 9, 0);
    EXPECT_EQ(take_error(), 5);
    sub_strig(70000, 0, TRAP_ACTION_ON, 1);
    EXPECT_EQ(take_error(), 5);
    onstrig_setup(1024, 0, 0, 9, 0);
    onstrig_setup(0, 257, 1, 9, 0);
    EXPECT_EQ(take_error(), 0);
    for (int32_t i = 0; i < onstrig_slots; ++i) ASSERT_EQ(onstrig(i).id.load(), 0) << i;

    onstrig_setup(6, 0, 0, 9, 44);
    EXPECT_EQ(onstrig(257).id.load(), 9);
    EXPECT_EQ(onstrig(257).pass.load(), 44);
}

TEST_F(Traps, OnStrigEnumeratesDevicesOnlyWhenNoneIsSetUp) {
    static int32_t enumerations, devices;
    enumerations = 0;
    devices = 0;
    static const trap_device_hooks hooks{[] { return devices; }, [] { ++enumerations; }, [] { return 0; }};
    traps_set_device_hooks(&hooks);
    onstrig_setup(0, 0, 0, 1, 0);
    EXPECT_EQ(enumerations, 1);
    devices = 2;
    onstrig_setup(0, 0, 0, 1, 0);
    EXPECT_EQ(enumerations, 1);
}

TEST_F(Traps, KeyActionsOnASlotWithPendingEvents) {
    onkey_setup(5, 12, 0);
    onkey(5).count = 3;

    sub_key(5, TRAP_ACTION_ON);
    EXPECT_EQ(onkey(5).active.load(), TRAP_ON);
    EXPECT_EQ(zvevent.load(), 1);

    sub_key(5, TRAP_ACTION_STOP);
    EXPECT_EQ(onkey(5).active.load(), TRAP_STOPPED);
    EXPECT_EQ(onkey(5).count.load(), 1);

    zvevent = 0;
    sub_key(5, TRAP_ACTION_ON);
    EXPECT_EQ(zvevent.load(), 1);

    sub_key(5, TRAP_ACTION_OFF);
    EXPECT_EQ(onkey(5).active.load(), TRAP_OFF);
    EXPECT_EQ(onkey(5).count.load(), 0);
    zvevent = 0;
    sub_key(5, TRAP_ACTION_ON);
    EXPECT_EQ(zvevent.load(), 0);  // nothing pending
}

TEST_F(Traps, KeyZeroAppliesToEverySlotAndNumbersOutsideRaiseError5) {
    sub_key(0, TRAP_ACTION_STOP);
    for (int32_t n = 0; n < onkey_slots; ++n) EXPECT_EQ(onkey(n).active.load(), TRAP_STOPPED) << n;
    sub_key(32, TRAP_ACTION_ON);
    EXPECT_EQ(take_error(), 5);
    sub_key(-1, TRAP_ACTION_ON);
    EXPECT_EQ(take_error(), 5);
    onkey_setup(0, 1, 0);
    EXPECT_EQ(take_error(), 5);
    onkey_setup(32, 1, 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(onkey(0).id.load(), 0);
}

TEST_F(Traps, StatementsDoNothingWhileAnErrorIsPending) {
    error(53);
    onkey_setup(5, 12, 0);
    sub_key(0, TRAP_ACTION_ON);
    onstrig_setup(0, 0, 0, 3, 0);
    EXPECT_EQ(onkey(5).id.load(), 0);
    EXPECT_EQ(onkey(5).active.load(), TRAP_OFF);
    EXPECT_EQ(onstrig(0).id.load(), 0);
    EXPECT_EQ(new_error.load(), 53);
}

TEST_F(Traps, PendingKeyEventsRunTheHandlerOncePerEvent) {
    onkey_setup(5, 12, 77);
    onkey(5).count = 3;
    sub_key(5, TRAP_ACTION_ON);
    events();
    ASSERT_EQ(handler_recorder::calls.size(), 3u);
    EXPECT_EQ(handler_recorder::calls[0], std::make_pair(12, int64_t(77)));
    EXPECT_EQ(onkey(5).count.load(), 0);
}

TEST_F(Traps, StoppedOrHandlerlessKeyTrapsDoNotRun) {
    onkey_setup(5, 12, 0);
    onkey(5).count = 2;
    sub_key(5, TRAP_ACTION_STOP);
    onkey(6).count = 2;  // no handler
    onkey(6).active = TRAP_ON;
    events();
    EXPECT_TRUE(handler_recorder::calls.empty());
    sub_key(5, TRAP_ACTION_ON);
    events();
    EXPECT_EQ(handler_recorder::calls.size(), 1u);  // the one remembered event
}

TEST_F(Traps, KeySlotsRunInOrderAndAHandlerIsNotReentered) {
    onkey_setup(3, 30, 0);
    onkey_setup(7, 70, 0);
    sub_key(0, TRAP_ACTION_ON);
    onkey(7).count = 1;
    onkey(3).count = 2;
    int depth = 0, deepest = 0;
    handler_recorder::during = [&](int32_t) {
        ++depth;
        deepest = std::max(deepest, depth);
        events();  // a boundary inside the handler while other events are pending
        --depth;
    };
    events();
    ASSERT_EQ(handler_recorder::calls.size(), 3u);
    EXPECT_EQ(handler_recorder::calls[0].first, 30);
    EXPECT_EQ(handler_recorder::calls[1].first, 30);
    EXPECT_EQ(handler_recorder::calls[2].first, 70);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(onkey_inprogress.load(), 0);
}

TEST_F(Traps, NothingRunsWhileTheErrorHandlerRuns) {
    onkey_setup(5, 12, 0);
    onkey(5).count = 1;
    sub_key(5, TRAP_ACTION_ON);
    error_handling = 1;
    events();
    EXPECT_TRUE(handler_recorder::calls.empty());
    error_handling = 0;
    events();
    EXPECT_EQ(handler_recorder::calls.size(), 1u);
}

TEST_F(Traps, StrigHandlersRunForButtonsOfEnumeratedControllers) {
    static const trap_device_hooks one_controller{[] { return 3; }, [] {}, [] { return 1; }};
    onstrig_setup(12, 0, 0, 40, 5);  // controller 1, button 4: slot 3
    onstrig_setup(2, 0, 0, 41, 0);   // controller 2: slot 256
    sub_strig(0, 0, TRAP_ACTION_ON, 0);
    onstrig(3).count = 2;
    onstrig(256).count = 1;
    events();
    EXPECT_TRUE(handler_recorder::calls.empty());  // no controller exists

    traps_set_device_hooks(&one_controller);
    events();
    ASSERT_EQ(handler_recorder::calls.size(), 2u);
    EXPECT_EQ(handler_recorder::calls[0], std::make_pair(40, int64_t(5)));
    EXPECT_EQ(onstrig(3).count.load(), 0);
    EXPECT_EQ(onstrig(256).count.load(), 1);
}

TEST_F(Traps, TriggeredCountsSaturateAt255AndStoppedTrapsRememberOne) {
    onkey_setup(5, 12, 0);
    sub_key(5, TRAP_ACTION_ON);
    for (int i = 0; i < 300; ++i) onkey_trigger(5);
    EXPECT_EQ(onkey(5).count.load(), 255);
    EXPECT_EQ(zvevent.load(), 1);

    sub_key(5, TRAP_ACTION_STOP);
    onkey(5).count = 0;
    onkey_trigger(5);
    onkey_trigger(5);
    EXPECT_EQ(onkey(5).count.load(), 1);

    sub_key(5, TRAP_ACTION_OFF);
    zvevent = 0;
    onkey_trigger(5);
    EXPECT_EQ(onkey(5).count.load(), 0);
    EXPECT_EQ(zvevent.load(), 0);
}

TEST_F(Traps, CountsFromAnotherThreadAreNotLostWhileHandlersTakeThem) {
    onkey_setup(5, 12, 0);
    sub_key(5, TRAP_ACTION_ON);
    std::atomic<bool> done{false};
    std::thread window([&] {
        for (int i = 0; i < 200; ++i) {
            onkey_trigger(5);
            std::this_thread::yield();
        }
        done = true;
    });
    while (!done) events();
    window.join();
    events();
    EXPECT_EQ(handler_recorder::calls.size(), 200u);
}

TEST_F(Traps, RunInitForgetsKeyHandlersButKeepsKeyCodes) {
    onkey_setup(11, 12, 0);
    sub_key(0, TRAP_ACTION_ON);
    onkey(11).count = 4;
    onkey_inprogress = 1;
    onkey_reset_handlers();
    EXPECT_EQ(onkey(11).id.load(), 0);
    EXPECT_EQ(onkey(11).active.load(), TRAP_OFF);
    EXPECT_EQ(onkey(11).count.load(), 0);
    EXPECT_EQ(onkey(11).keycode.load(), 0x4800);
    EXPECT_EQ(onkey(11).keycode_alt.load(), 100264);
    EXPECT_EQ(onkey_inprogress.load(), 0);
}

TEST(OnKeyDefaults, FunctionAndArrowKeys) {
    onkey_global_init();
    onkey_default_keys();
    for (int32_t n = 1; n <= 10; ++n) EXPECT_EQ(onkey(n).keycode.load(), 0x3B00 + 0x100 * (n - 1)) << n;
    const int32_t arrows[4][2] = {{0x4800, 100264}, {0x4B00, 100260}, {0x4D00, 100262}, {0x5000, 100258}};
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(onkey(11 + i).keycode.load(), arrows[i][0]);
        EXPECT_EQ(onkey(11 + i).keycode_alt.load(), arrows[i][1]);
    }
    EXPECT_EQ(onkey(30).keycode.load(), 0x8500);
    EXPECT_EQ(onkey(31).keycode.load(), 0x8600);
    EXPECT_EQ(onkey(15).keycode.load(), 0);
    EXPECT_EQ(onkey(0).keycode.load(), 0);
}

}  // namespace
