// _SCREENPRINT: which key events each character becomes, over a recorded keymap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "error/error.h"
#include "input/screen_print.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

namespace {

// A US-like keymap: letters on their lower-case key (upper case with Shift), '!'
// as Shift+1, '~' on no key. Named keys are 200 + their order; Shift 50, Ctrl 37.
struct recorder {
    static inline std::vector<std::string> events;
    static uint32_t named(x11_named_key key) {
        if (key == x11_named_key::shift) return 50;
        if (key == x11_named_key::control) return 37;
        return 200 + uint32_t(key);
    }
    static x11_character_key character(uint8_t c) {
        if (c >= 'a' && c <= 'z') return {c, false};
        if (c >= 'A' && c <= 'Z') return {uint32_t(c + 32), true};
        if (c == '1' || c == ' ') return {c, false};
        if (c == '!') return {'1', true};
        return {0, false};
    }
    static void key(uint32_t code, bool press) {
        std::string name;
        if (code == 50) name = "shift";
        else if (code == 37) name = "ctrl";
        else if (code >= 200) name = "named" + std::to_string(code - 200);
        else name = std::string(1, char(code));
        events.push_back((press ? "+" : "-") + name);
    }
    static inline const screen_print_ops ops{named, character, key};
};

using events = std::vector<std::string>;

class ScreenPrint : public ::testing::Test {
protected:
    void SetUp() override {
        error_reset_for_tests();
        zvs_reset_for_tests(1048576, 65536, 65536);
        recorder::events.clear();
        screen_print_set_ops(&recorder::ops);
    }
    void TearDown() override { screen_print_set_ops(nullptr); }
    static events typed(const std::string& s) {
        recorder::events.clear();
        sub__screenprint(zvs_new_txt_len(s.data(), int32_t(s.size())));
        return recorder::events;
    }
    static std::string named(x11_named_key key) { return "named" + std::to_string(int(key)); }
};

TEST_F(ScreenPrint, CharactersBecomeTheirKeysWithShiftWhereTheKeyNeedsIt) {
    std::string tab = named(x11_named_key::tab), left = named(x11_named_key::left),
                enter = named(x11_named_key::enter), bs = named(x11_named_key::backspace),
                pgdn = named(x11_named_key::page_down), pgup = named(x11_named_key::page_up),
                del = named(x11_named_key::del);
    struct {
        std::string text;
        events expected;
    } cases[] = {
        {"a", {"+a", "-a"}},
        {"A", {"+shift", "+a", "-a", "-shift"}},
        {"!", {"+shift", "+1", "-1", "-shift"}},
        {std::string("A\0K\r", 4), {"+shift", "+a", "-a", "-shift", "+" + left, "-" + left, "+" + enter, "-" + enter}},
        {"\t\b", {"+" + tab, "-" + tab, "+" + bs, "-" + bs}},
        {"\x01", {"+ctrl", "+a", "-a", "-ctrl"}},
        {"\x1a", {"+ctrl", "+z", "-z", "-ctrl"}},
        {std::string("\0\x0f", 2), {"+shift", "+" + tab, "-" + tab, "-shift"}},
        {std::string("\0Q\0I\0S", 6), {"+" + pgdn, "-" + pgdn, "+" + pgup, "-" + pgup, "+" + del, "-" + del}},
        // The pair is one item: its second byte is never typed on its own.
        {std::string("\0a", 2), {}},
        {std::string("\0", 1), {}},
        {std::string("\xc8\0", 2), {}},
        {"\x7f\x80\xff\x1b\x1f", {}},
        {"~", {}},  // no key for it in the keymap
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(typed(c.text), c.expected) << testing::PrintToString(c.text);
}

TEST_F(ScreenPrint, NothingIsTypedWhileAnErrorIsPending) {
    error(5);
    EXPECT_EQ(typed("a"), events{});
}

}  // namespace
