// KEY n, KEY LIST, KEY ON and KEY OFF.
#include "core/traps.h"
#include "input/key_code.h"
#include "input/key_statements.h"
#include "input/keyboard.h"
#include "input/key_hit.h"
#include "text/text_fixture.h"

namespace {

class KeyStatements : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        traps_reset_for_tests();
        onkey_default_keys();
        keyboard_reset_for_tests();
        clear_error();
    }
    static std::string trimmed_row(int32_t r) {
        std::string s = row(r);
        return s.substr(0, s.find_last_not_of(' ') + 1);
    }
};

TEST_F(KeyStatements, SoftKeyTextIsAtMost15Characters) {
    key_assign(5, text(std::string(16, 'x')));
    EXPECT_EQ(new_error.exchange(0), 5);
    EXPECT_EQ(onkey(5).text.load(), nullptr);
    key_assign(5, text(std::string(15, 'x')));
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(str(onkey(5).text.load()), std::string(15, 'x'));
    for (int32_t n : {0, 11, 14, 32, -1}) {
        key_assign(n, text("a"));
        EXPECT_EQ(new_error.exchange(0), 5) << "KEY " << n;
    }
}

TEST_F(KeyStatements, SoftKeyTextIsTypedByItsKeyAndCanBeReplaced) {
    key_assign(2, text("AB"));
    keydown(0x3C00);
    keyup(0x3C00);
    key_assign(2, text("C"));
    keydown(0x3C00);
    key_assign(31, text("z"));  // F12
    keydown(0x8600);
    std::vector<int32_t> hits;
    for (keyhit_entry e = keyhit_take(); e.code; e = keyhit_take()) hits.push_back(e.code);
    EXPECT_EQ(hits, (std::vector<int32_t>{65, -65, 66, -66, 67, -67, 'z', -'z'}));
    EXPECT_EQ(str(key_soft_text(2)), "C");
    EXPECT_EQ(str(key_soft_text(12)), "z");
}

TEST_F(KeyStatements, UserKeyFromItsText) {
    key_assign(15, text(std::string("\x04\x1E", 2)));  // Ctrl+A
    EXPECT_EQ(onkey(15).flags.load(), 4);
    EXPECT_EQ(onkey(15).scancode.load(), 30);
    onkey(15).id.store(7);
    onkey(15).active.store(TRAP_ON);
    keydown(key::left_ctrl);
    keydown('a');
    EXPECT_EQ(onkey(15).count.load(), 1);
    key_assign(15, text(""));
    EXPECT_EQ(onkey(15).scancode.load(), 0);
    keydown('a');
    EXPECT_EQ(onkey(15).count.load(), 1);
}

TEST_F(KeyStatements, KeyListShowsEveryFunctionKey) {
    text_page(80, 25);
    at(1, 1);
    key_assign(1, text("LIST\r"));
    key_list();
    EXPECT_EQ(row(1).substr(0, 10), "F1  LIST  ");
    EXPECT_EQ(trimmed_row(2), "F2");
    EXPECT_EQ(row(2).substr(0, 4), "F2  ");
    EXPECT_EQ(row(10).substr(0, 4), "F10 ");
    EXPECT_EQ(trimmed_row(12), "F12");
    EXPECT_EQ(y(), 13);
}

TEST_F(KeyStatements, KeyOnAndOffSwitchTheKeyLine) {
    text_page(80, 25);
    key_on();
    EXPECT_EQ(key_display, 1);
    key_off();
    EXPECT_EQ(key_display, 0);
    error(5);
    key_on();
    EXPECT_EQ(key_display, 0);
}

}  // namespace
