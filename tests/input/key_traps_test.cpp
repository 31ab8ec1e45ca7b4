// ON KEY traps and soft keys in the keyboard pipeline.
#include "core/traps.h"
#include "input/key_held.h"
#include "input/keyboard_fixture.h"

namespace {

class KeyTraps : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        onkey_default_keys();
    }
    static void arm(int32_t slot, uint8_t active = TRAP_ON) {
        onkey(slot).id.store(100 + slot);
        onkey(slot).active.store(active);
    }
    static void user_key(int32_t slot, uint8_t flags, uint8_t scancode) {
        onkey(slot).flags.store(flags);
        onkey(slot).scancode.store(scancode);
        arm(slot);
    }
    static int count(int32_t slot) { return onkey(slot).count.load(); }
};

TEST_F(KeyTraps, TrappedKeyReachesNoBufferNeitherPressNorRelease) {
    arm(1);
    tap(key::f1);
    EXPECT_EQ(count(1), 1);
    EXPECT_EQ(zvevent.load(), 1);
    EXPECT_TRUE(keyhits().empty());
    EXPECT_TRUE(bios_entries().empty());
    EXPECT_EQ(port60h_events(), 0);
    EXPECT_EQ(sleep_break.load(), 1);
}

TEST_F(KeyTraps, RepeatingTrappedKeyLeavesNoStaleReleaseMasks) {
    arm(1);
    press(key::f1);
    press(key::f1);
    press(key::f1);
    release(key::f1);
    EXPECT_EQ(count(1), 3);
    onkey(1).active.store(TRAP_OFF);  // KEY(1) OFF
    tap(key::f1);
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{0x3B00, -0x3B00}));
}

TEST_F(KeyTraps, StoppedTrapRemembersOneEventAndOffOrNoHandlerPassesTheKey) {
    arm(2, TRAP_STOPPED);
    tap(0x3C00);
    tap(0x3C00);
    EXPECT_EQ(count(2), 1);
    onkey(3).active.store(TRAP_ON);  // armed without a handler
    tap(0x3D00);
    EXPECT_EQ(count(3), 0);
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{0x3D00, -0x3D00}));
}

TEST_F(KeyTraps, ArrowTrapsAlsoFireOnTheKeypadForms) {
    arm(11);  // Up, and keypad 8 with Num Lock
    keydown(100264);
    keydown(key::up);
    EXPECT_EQ(count(11), 2);
    keydown('8');  // the main keyboard's 8 is not the arrow
    EXPECT_EQ(count(11), 2);
}

TEST_F(KeyTraps, UserKeyMatchesItsShiftFlagsExactly) {
    user_key(15, 4, 30);  // Ctrl+A
    tap('a');
    EXPECT_EQ(count(15), 0);
    press(key::left_ctrl);
    tap('a');
    EXPECT_EQ(count(15), 1);
    press(key::left_shift);
    tap('A');
    EXPECT_EQ(count(15), 1);
}

TEST_F(KeyTraps, UserKeyWithoutShiftFiresAgainOnceShiftIsReleased) {
    user_key(16, 0, 30);
    press(key::right_shift);
    tap('A');
    EXPECT_EQ(count(16), 0);
    release(key::right_shift);
    tap('a');
    EXPECT_EQ(count(16), 1);
}

TEST_F(KeyTraps, UserKeyExtendedBitTellsArrowsFromTheKeypad) {
    user_key(17, 0x80, 0x48);
    keydown(200008);  // keypad Up without Num Lock: same scancode, not extended
    EXPECT_EQ(count(17), 0);
    keydown(key::up);
    EXPECT_EQ(count(17), 1);
}

TEST_F(KeyTraps, UserKeyForAModifierIgnoresThatModifiersOwnState) {
    user_key(18, 0, 0x2A);  // left Shift
    press(key::left_shift);
    EXPECT_EQ(count(18), 1);
}

TEST_F(KeyTraps, UserKeyAskingForCapsLockNeedsItOn) {
    user_key(19, 0x40, 30);
    tap('a');
    EXPECT_EQ(count(19), 0);
    press(key::caps_lock);
    tap('a');
    EXPECT_EQ(count(19), 1);
}

TEST_F(KeyTraps, SoftKeySendsItsTextAsIfTyped) {
    const uint8_t text[] = {'A', 'B'};
    keyboard_set_soft_key(2, text, 2);
    tap(0x3C00);
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{65, -65, 66, -66}));
    EXPECT_EQ(bios_entries(), (std::vector<std::pair<int, int>>{{'A', 30}, {'B', 48}}));
    EXPECT_TRUE(keyheld_codes().empty());
}

TEST_F(KeyTraps, TrapComesBeforeTheSoftKeyAndTypedTextIsNotTrapped) {
    const uint8_t text[] = {'a'};
    keyboard_set_soft_key(2, text, 1);
    user_key(15, 0, 30);  // 'a'
    tap(0x3C00);
    EXPECT_EQ(count(15), 0);  // the soft key's own letters are never trapped
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{'a', -'a'}));
    arm(2);
    tap(0x3C00);
    EXPECT_EQ(count(2), 1);
    EXPECT_TRUE(keyhits().empty());
}

}  // namespace
