// _EXIT, _ASSERT, _ECHO and showvalue.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/program.h"
#include "core/runtime_flags.h"
#include "error/error.h"
#include "font/font_tables.h"
#include "image/image_table.h"
#include "lifecycle/diagnostics.h"
#include "lifecycle/exit.h"
#include "palette/palette.h"
#include "platform/alert.h"
#include "screen/screen.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

namespace {

struct echo_recorder {
    static inline std::vector<std::string> lines;
    static void print(zvs* text) { lines.emplace_back(reinterpret_cast<char*>(text->text), size_t(text->length)); }
};

struct alert_log {
    static inline std::vector<std::string> boxes;
    static int32_t record(const char* message, const char* title, const char* kind) {
        boxes.push_back(std::string(kind) + "|" + title + "|" + message);
        return 1;
    }
};

class Diagnostics : public ::testing::Test {
protected:
    static void nothing() {}
    static void no_dispatch(int32_t, int64_t) {}
    zv_program program{nothing, nothing, no_dispatch, nullptr, 0, 0, 0, 0, nullptr};

    void SetUp() override {
        runtime_flags_reset_for_tests();
        error_reset_for_tests();
        zvs_reset_for_tests(1048576, 65536, 65536);
        palette_global_init();
        font_tables_reset_for_tests();
        image_table_reset_for_tests();
        echo_recorder::lines.clear();
        alert_log::boxes.clear();
        echo_set_console_print(echo_recorder::print);
        gui_alert_set_backend(alert_log::record);
        libzv_set_program(&program);
    }
    void TearDown() override {
        echo_set_console_print(nullptr);
        gui_alert_set_backend(nullptr);
        libzv_set_program(nullptr);
        image_table_reset_for_tests();
    }
    // What start-up does for a console program.
    void console_program() {
        program.console = 1;
        screen_console_image_init();
    }
    static int32_t take_error() {
        int32_t n = new_error.load();
        clear_error();
        return n;
    }
};

TEST_F(Diagnostics, ExitTakesOverCloseRequestsAndClearsThemWhenRead) {
    EXPECT_EQ(func__exit(), 0);
    EXPECT_EQ(exit_blocked.load(), 1);
    exit_value.fetch_or(1);  // close button
    EXPECT_EQ(func__exit(), 1);
    EXPECT_EQ(func__exit(), 0);
    exit_value.fetch_or(2);  // Break
    exit_value.fetch_or(1);
    EXPECT_EQ(func__exit(), 3);
    EXPECT_EQ(exit_value.load(), 0);
}

TEST_F(Diagnostics, AssertOnlyActsOnAFalseConditionWithAssertsOn) {
    sub__assert(0, zvs_new_txt("why"), 1);
    EXPECT_EQ(take_error(), 0);  // asserts off

    program.asserts = 1;
    sub__assert(-1, zvs_new_txt("why"), 1);
    EXPECT_EQ(take_error(), 0);
    sub__assert(0, zvs_new_txt("why"), 1);
    EXPECT_EQ(take_error(), 314);  // not a console program: no echo
    sub__assert(0, nullptr, 0);
    EXPECT_EQ(take_error(), 314);
    EXPECT_TRUE(echo_recorder::lines.empty());

    console_program();
    sub__assert(0, nullptr, 0);
    EXPECT_EQ(take_error(), 314);
    sub__assert(0, zvs_new_txt("x > 0"), 1);
    EXPECT_EQ(take_error(), 315);
    EXPECT_EQ(echo_recorder::lines, std::vector<std::string>{"x > 0"});
}

TEST_F(Diagnostics, EchoWritesALineOnTheConsoleImageOfConsolePrograms) {
    sub__echo(zvs_new_txt("hidden"));
    console_program();
    sub__echo(zvs_new_txt("shown"));
    error(53);
    sub__echo(zvs_new_txt("while an error is pending"));
    EXPECT_EQ(echo_recorder::lines, std::vector<std::string>{"shown"});
}

TEST_F(Diagnostics, EchoWithoutTheTextModuleGoesToStandardOutput) {
    echo_set_console_print(nullptr);
    console_program();
    ::testing::internal::CaptureStdout();
    sub__echo(zvs_new_txt_len("a\0b", 3));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), std::string("a\0b\n", 4));
}

TEST_F(Diagnostics, ShowvalueShowsStrOfTheValue) {
    showvalue(42);
    showvalue(-7);
    showvalue(INT64_MIN);
    const std::vector<std::string> expected{"ok|showvalue| 42", "ok|showvalue|-7",
                                            "ok|showvalue|-9223372036854775808"};
    EXPECT_EQ(alert_log::boxes, expected);
}

}  // namespace
