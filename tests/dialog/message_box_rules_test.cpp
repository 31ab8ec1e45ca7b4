// The message box's buttons and keys: default focus, Enter, Escape or close, and letters.
#include <gtest/gtest.h>

#include "dialog/message_box_rules.h"

namespace {

struct row {
    const char* type;
    int32_t default_button;
    const char* focused;
    int32_t enter, escape;
    const char* letters;  // letter, answer digit pairs
};

TEST(MessageBoxKeys, DefaultFocusEnterEscapeAndLetters) {
    const row rows[] = {
        {"yesnocancel", 0, "Cancel", 0, 0, "y1n2c0"}, {"yesnocancel", 7, "Cancel", 0, 0, "Y1N2C0"},
        {"yesnocancel", 1, "Yes", 1, 0, "y1"},        {"yesnocancel", 2, "No", 2, 0, "n2"},
        {"okcancel", 0, "Cancel", 0, 0, "o1c0"},      {"okcancel", 1, "OK", 1, 0, "o1c0"},
        {"yesno", 0, "No", 0, 0, "y1n0"},             {"yesno", 1, "Yes", 1, 0, "y1n0"},
        {"ok", 0, "OK", 1, 1, "o1"},                  {"bogus", 2, "OK", 1, 1, "o1"},
        {"", 1, "OK", 1, 1, "o1"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.type) + " " + std::to_string(r.default_button));
        message_box_rules rules = message_box_rules_for(r.type, r.default_button);
        EXPECT_STREQ(rules.buttons[rules.focused].label, r.focused);
        int32_t answer = -1;
        size_t focus = rules.focused;
        EXPECT_TRUE(message_box_press(rules, &focus, message_box_key::enter, 0, &answer));
        EXPECT_EQ(answer, r.enter);
        EXPECT_TRUE(message_box_press(rules, &focus, message_box_key::escape, 0, &answer));
        EXPECT_EQ(answer, r.escape);
        for (const char* p = r.letters; *p; p += 2) {
            answer = -1;
            EXPECT_TRUE(message_box_press(rules, &focus, message_box_key::letter, p[0], &answer)) << p[0];
            EXPECT_EQ(answer, p[1] - '0') << p[0];
        }
        EXPECT_FALSE(message_box_press(rules, &focus, message_box_key::letter, 'z', &answer));
    }
}

TEST(MessageBoxKeys, TabAndArrowsMoveTheFocusRound) {
    message_box_rules rules = message_box_rules_for("yesnocancel", 1);
    size_t focus = rules.focused;
    int32_t answer = -1;
    EXPECT_FALSE(message_box_press(rules, &focus, message_box_key::next, 0, &answer));
    EXPECT_STREQ(rules.buttons[focus].label, "No");
    message_box_press(rules, &focus, message_box_key::next, 0, &answer);
    message_box_press(rules, &focus, message_box_key::next, 0, &answer);
    EXPECT_STREQ(rules.buttons[focus].label, "Yes");
    message_box_press(rules, &focus, message_box_key::previous, 0, &answer);
    EXPECT_STREQ(rules.buttons[focus].label, "Cancel");
    message_box_press(rules, &focus, message_box_key::enter, 0, &answer);
    EXPECT_EQ(answer, 0);
}

}  // namespace
