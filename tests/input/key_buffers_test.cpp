// The BIOS keyboard buffer, the port 60h queue, the _KEYHIT ring, the held-key set
// and the BIOS flag bytes.
#include <atomic>
#include <thread>

#include "input/key_functions.h"
#include "input/key_held.h"
#include "input/keyboard_fixture.h"

namespace {

std::string inkey() {
    zvs* s = zvs_inkey();
    return std::string(reinterpret_cast<char*>(s->text), size_t(s->length));
}

TEST_F(KeyboardTest, BiosWordsAfterASequenceOfKeys) {
    EXPECT_EQ(byte_at(0x41A), 0x1E);
    EXPECT_EQ(byte_at(0x41C), 0x1E);
    tap('a');
    tap(key::f1);
    press(key::left_shift);
    tap(9);
    release(key::left_shift);
    EXPECT_EQ(byte_at(0x41A), 0x1E);
    EXPECT_EQ(byte_at(0x41C), 0x24);
    const int expected[] = {'a', 0x1E, 0, 0x3B, 0, 0x0F};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(byte_at(0x41E + i), expected[i]) << "byte " << i;
    EXPECT_EQ(inkey(), "a");
    EXPECT_EQ(inkey(), std::string("\0;", 2));
    EXPECT_EQ(inkey(), std::string("\0\x0F", 2));
    EXPECT_EQ(inkey(), "");
    EXPECT_EQ(byte_at(0x41A), 0x24);
}

TEST_F(KeyboardTest, SixteenthKeyIsLostButTheRingKeepsIt) {
    for (int i = 0; i < 16; ++i) tap('a' + i);
    std::vector<std::pair<int, int>> entries = bios_entries();
    ASSERT_EQ(entries.size(), 15u);
    EXPECT_EQ(entries.back().first, 'a' + 14);
    std::vector<int32_t> hits = keyhits();
    ASSERT_EQ(hits.size(), 32u);
    EXPECT_EQ(hits[30], 'a' + 15);
}

TEST_F(KeyboardTest, KeysReadAlternatelyComeOutInOrderAcrossTheWrap) {
    std::string typed, read;
    for (int i = 0; i < 20; ++i) {
        tap('a' + i);
        typed += char('a' + i);
        read += inkey();
    }
    EXPECT_EQ(read, typed);
    EXPECT_EQ(inkey(), "");
}

TEST_F(KeyboardTest, EntryOfZeroAndZeroIsOneCharacter) {
    tap(0);
    EXPECT_EQ(inkey(), std::string("\0", 1));
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{key::code_zero, -key::code_zero}));
}

TEST_F(KeyboardTest, TailPokedOutsideTheBufferDropsKeysInsteadOfWritingPastIt) {
    cmem_shared(0x41C).store(0xFF);
    cmem_shared(0x500).store(0x5A);
    tap('a');
    EXPECT_EQ(byte_at(0x500), 0x5A);
    EXPECT_EQ(byte_at(0x41C), 0xFF);
}

TEST_F(KeyboardTest, Port60hAnswers81BeforeAnyKeyThenRepeatsTheLastScancode) {
    EXPECT_EQ(port60h_take(), 0x81);
    EXPECT_EQ(port60h_take(), 0x81);
    tap(key::f1);
    EXPECT_EQ(port60h_take(), 0x3B);
    EXPECT_EQ(port60h_take(), 0xBB);
    EXPECT_EQ(port60h_take(), 0xBB);
    EXPECT_EQ(port60h_events(), 0);
}

TEST_F(KeyboardTest, Port60hCollapsesRepeatsAndDropsItsOldestByteWhenFull) {
    press('a');
    press('a');  // auto-repeat
    press(key::left_shift);
    release(key::left_shift);
    release('a');
    EXPECT_EQ(port60h_bytes(), (std::vector<int>{0x1E, 0x2A, 0xAA, 0x9E}));
    for (int i = 0; i < 150; ++i) tap('a');
    tap('b');
    EXPECT_EQ(port60h_events(), 256);
    std::vector<int> bytes = port60h_bytes();
    EXPECT_EQ(bytes.front(), 0x1E);  // 302 bytes were queued: the first 46 are gone
    EXPECT_EQ(bytes[1], 0x9E);
    EXPECT_EQ(bytes[bytes.size() - 2], 0x30);
    EXPECT_EQ(bytes.back(), 0xB0);
}

TEST_F(KeyboardTest, KeyhitRingDropsItsOldestEntryWhenFull) {
    for (int32_t i = 1; i <= keyhit_size + 9; ++i) keyhit_append(i, 0);
    std::vector<int32_t> hits = keyhits();
    ASSERT_EQ(hits.size(), size_t(keyhit_size - 1));
    EXPECT_EQ(hits.front(), 11);
    EXPECT_EQ(hits.back(), keyhit_size + 9);
}

TEST_F(KeyboardTest, HeldSetIsASetAndKnowsTheKeypadTwins) {
    press('x');
    press('x');  // auto-repeat keeps one entry
    release('x');
    EXPECT_EQ(func__keydown('x'), 0);
    press(200008);  // keypad Up without Num Lock
    press(100264);  // keypad 8 with Num Lock
    press(100271);  // keypad Enter
    EXPECT_EQ(func__keydown(key::up), -1);
    EXPECT_EQ(func__keydown('8'), -1);
    EXPECT_EQ(func__keydown(13), -1);
    EXPECT_EQ(func__keydown(key::down), 0);
    EXPECT_EQ(func__keydown(0), 0);
    EXPECT_EQ(new_error.load(), 5);
}

struct let_go_case {
    const char* name;
    std::vector<int32_t> presses;   // in order
    int32_t modifier;               // pressed after them and let go before the release (0: none)
    int32_t released;               // the code the release arrives as
    int32_t release_hit;            // the _KEYHIT entry of that release
    std::vector<int32_t> held;      // characters still held afterwards
};

TEST_F(KeyboardTest, CharacterLetGoAsAnotherReleasesTheHeldCharacterOfItsKey) {
    const let_go_case cases[] = {
        {"shift let go first", {key::left_shift, 'A'}, 0, 'a', -'A', {}},
        {"shift let go first, digit row", {key::right_shift, '!'}, 0, '1', -'!', {}},
        {"shift pressed after the key", {'1'}, key::left_shift, '!', -'1', {}},
        {"the code itself held", {key::left_shift, 'A', 'a'}, 0, 'a', -'a', {'A'}},
        {"another key's character", {'a'}, 0, 'b', -'b', {'a'}},
        {"nothing held", {}, 0, 'a', -'a', {}},
        {"characters without a scancode", {0xE9}, 0, 0xE8, -0xE8, {0xE9}},
    };
    for (const let_go_case& c : cases) {
        SCOPED_TRACE(c.name);
        keyboard_reset_for_tests();
        for (int32_t code : c.presses) press(code);
        if (c.modifier) press(c.modifier);
        for (int32_t code : {key::left_shift, key::right_shift})
            if (keyheld_exact(code)) release(code);
        keyhits();
        release(c.released);
        EXPECT_EQ(keyhits(), std::vector<int32_t>{c.release_hit});
        std::vector<int32_t> held;
        for (int32_t code : keyheld_codes())
            if (code <= 255) held.push_back(code);
        EXPECT_EQ(held, c.held);
    }
}

TEST_F(KeyboardTest, ShiftLetGoFirstLeavesNoKeyHeld) {
    press(key::left_shift);
    press('A');
    release(key::left_shift);
    release('a');
    EXPECT_EQ(func__keydown('A'), 0);
    EXPECT_EQ(func__keydown('a'), 0);
    EXPECT_EQ(port60h_bytes(), (std::vector<int>{0x2A, 0x1E, 0xAA, 0x9E}));
}

TEST_F(KeyboardTest, HeldKeyStaysVisibleToReadersWhileOthersComeAndGo) {
    // A reader on another thread must never miss a key that is held throughout,
    // however the set changes around it.
    for (int32_t c = 'a'; c <= 'p'; ++c) press(c);
    press(key::f1);
    std::atomic<bool> done{false};
    std::atomic<int64_t> misses{0};
    std::thread reader([&] {
        while (!done.load())
            if (!keyheld(key::f1)) misses.fetch_add(1);
    });
    for (int round = 0; round < 20000; ++round) {
        int32_t c = 'a' + round % 16;
        release(c);
        press(c);
    }
    done.store(true);
    reader.join();
    EXPECT_EQ(misses.load(), 0);
}

struct flags_case {
    std::vector<int32_t> held;
    int b417, b418, b496;
};

TEST_F(KeyboardTest, FlagBytesFollowTheHeldSet) {
    const flags_case cases[] = {
        {{}, 0x00, 0x00, 0x10},
        {{key::right_shift}, 0x01, 0x00, 0x10},
        {{key::left_shift, key::left_ctrl}, 0x06, 0x01, 0x10},
        {{key::right_ctrl, key::right_alt}, 0x0C, 0x00, 0x13},
        {{key::left_alt, key::num_lock, key::caps_lock}, 0x68, 0x02, 0x10},
        {{key::sys_req, key::pause, key::insert_state}, 0x80, 0x0C, 0x10},
    };
    for (const flags_case& c : cases) {
        keyboard_reset_for_tests();
        for (int32_t code : c.held) keyheld_add(code);
        update_shift_state();
        EXPECT_EQ(byte_at(0x417), c.b417);
        EXPECT_EQ(byte_at(0x418), c.b418);
        EXPECT_EQ(byte_at(0x496), c.b496);
    }
}

TEST_F(KeyboardTest, InsertTogglesItsStateOnlyWhenPressedAlone) {
    tap(key::insert);
    EXPECT_EQ(byte_at(0x417) & 0x80, 0x80);
    press(key::insert);                       // toggles back
    EXPECT_EQ(byte_at(0x418) & 0x80, 0x80);  // the key is down
    press(key::insert);                       // auto-repeat: no further toggle
    release(key::insert);
    EXPECT_EQ(byte_at(0x417) & 0x80, 0);
    EXPECT_EQ(byte_at(0x418) & 0x80, 0);
    press(key::left_shift);
    tap(key::insert);
    EXPECT_EQ(byte_at(0x417) & 0x80, 0);
}

TEST_F(KeyboardTest, ScrollLockKeyTogglesItsStateUnlessCtrlIsHeld) {
    tap(key::scroll_lock);
    EXPECT_TRUE(keyheld(key::scroll_lock_state));
    EXPECT_EQ(byte_at(0x417), 0x10);
    tap(key::scroll_lock);
    EXPECT_FALSE(keyheld(key::scroll_lock_state));
    EXPECT_EQ(port60h_bytes(), (std::vector<int>{0x46, 0xC6, 0x46, 0xC6}));
}

}  // namespace
