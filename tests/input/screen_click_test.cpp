// _SCREENCLICK: a move, then one press and one release of the chosen button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "error/error.h"
#include "input/screen_click.h"

namespace {

struct recorder {
    static inline std::vector<std::string> events;
    static void move(int32_t x, int32_t y) { events.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }
    static void button(int32_t b, bool press) { events.push_back((press ? "press " : "release ") + std::to_string(b)); }
    static inline const screen_click_ops ops{move, button};
};

using events = std::vector<std::string>;

TEST(ScreenClick, MovesThenPressesAndReleasesTheChosenButton) {
    error_reset_for_tests();
    screen_click_set_ops(&recorder::ops);
    struct {
        int32_t x, y, button, passed;
        events expected;
    } cases[] = {
        {0, 0, 0, 0, {"move 0,0", "press 1", "release 1"}},
        {50, 40, 2, 1, {"move 50,40", "press 3", "release 3"}},   // right is X button 3
        {7, 8, 3, 1, {"move 7,8", "press 2", "release 2"}},       // middle is X button 2
        {1, 2, 1, 1, {"move 1,2", "press 1", "release 1"}},
        {1, 2, 9, 1, {"move 1,2", "press 1", "release 1"}},       // unknown: left
        {1, 2, 2, 0, {"move 1,2", "press 1", "release 1"}},       // not given: left
    };
    for (const auto& c : cases) {
        recorder::events.clear();
        sub__screenclick(c.x, c.y, c.button, c.passed);
        EXPECT_EQ(recorder::events, c.expected) << c.button << " " << c.passed;
    }
    recorder::events.clear();
    error(5);
    sub__screenclick(1, 1, 0, 0);
    EXPECT_EQ(recorder::events, events{});
    screen_click_set_ops(nullptr);
}

}  // namespace
