// Handling at the boundary: the unhandled box and its answers, the critical box,
// and the entry of the program's error handler.
#include <unistd.h>

#include "error/error_test_support.h"
#include "shape.h"

namespace {

struct handler_record {
    static inline int calls = 0;
    static inline int32_t err = -1, pending = -1, occurred = -1;
    static inline bool body_ran = false;
    static void reset() {
        calls = 0;
        err = pending = occurred = -1;
        body_ran = false;
    }
    static void handler() {
        calls++;
        err = get_error_err();
        pending = new_error.load();
        occurred = error_occurred.load();
    }
    // A main module in the generated shape: the prologue runs the handler and returns.
    static void main_module() {
        ZV_MAIN_PROLOGUE();
        body_ran = true;
    }
};

class FixError : public ErrorTest {
protected:
    void SetUp() override {
        ErrorTest::SetUp();
        handler_record::reset();
        program.main_module = handler_record::main_module;
        error_set_line(12, 0, nullptr);
    }
};

TEST_F(FixError, UnhandledBoxAnsweredYesClearsTheError) {
    error(53);
    fix_error();
    ASSERT_EQ(alert_recorder::boxes.size(), 1u);
    EXPECT_EQ(alert_recorder::boxes[0], "yesno|Unhandled Error #53 - prog|Line: 12 (in main module)\nFile not found\nContinue?");
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(close_program.load(), 0);
}

TEST_F(FixError, ErrorInAnIncludedFileNamesTheFileAndItsLine) {
    error(5);
    error_set_line(12, 7, "inc.bi");
    fix_error();
    ASSERT_EQ(alert_recorder::boxes.size(), 1u);
    EXPECT_EQ(alert_recorder::boxes[0],
              "yesno|Unhandled Error #5 - prog|Line: 7 (in inc.bi)\nIllegal function call\nContinue?");
}

TEST_F(FixError, NumberWithoutMessageIsUnprintable) {
    error(1000);
    fix_error();
    ASSERT_EQ(alert_recorder::boxes.size(), 1u);
    EXPECT_EQ(alert_recorder::boxes[0], "yesno|Unhandled Error #1000 - prog|Line: 12 (in main module)\nUnprintable error\nContinue?");
}

TEST_F(FixError, HandlerTargetEntersTheHandlerThroughTheMainModule) {
    program.error_handler = handler_record::handler;
    error_goto_line = 1;
    error(53);
    fix_error();
    EXPECT_TRUE(alert_recorder::boxes.empty());
    EXPECT_EQ(handler_record::calls, 1);
    EXPECT_EQ(handler_record::err, 53);
    EXPECT_EQ(handler_record::pending, 0);
    EXPECT_EQ(handler_record::occurred, 0);  // the prologue cleared it
    EXPECT_FALSE(handler_record::body_ran);
    EXPECT_EQ(get_error_erl(), 0.0);  // no statement sets the last line
}

TEST_F(FixError, AnErrorWhileTheHandlerRunsTakesTheBox) {
    program.error_handler = handler_record::handler;
    error_goto_line = 1;
    error_handling = 1;
    error(53);
    fix_error();
    EXPECT_EQ(handler_record::calls, 0);
    ASSERT_EQ(alert_recorder::boxes.size(), 1u);
    EXPECT_EQ(alert_recorder::boxes[0].substr(0, 34), "yesno|Unhandled Error #53 - prog|L");
}

using FixErrorDeathTest = FixError;

TEST_F(FixErrorDeathTest, NoEndsTheProgramThroughTheShutdown) {
    EXPECT_EXIT(
        {
            child_setup();
            alert_recorder::answers = {0};
            error(53);
            fix_error();
            _exit(3);
        },
        ::testing::ExitedWithCode(42), "BOX yesno\\|Unhandled Error #53 - prog\\|");
}

TEST_F(FixErrorDeathTest, CriticalErrorShowsItsBoxAndExitsWith0) {
    EXPECT_EXIT(
        {
            child_setup();
            error(300);
            fix_error();
            _exit(3);
        },
        ::testing::ExitedWithCode(0),
        "^BOX ok\\|Critical Error #300 - prog\\|Line: 12 \\(in main module\\)/Memory region out of range\n$");
}

TEST_F(FixErrorDeathTest, CriticalErrorIgnoresTheHandlerTarget) {
    program.error_handler = handler_record::handler;
    error_goto_line = 1;
    EXPECT_EXIT(
        {
            child_setup();
            error(315);
            fix_error();
            _exit(3);
        },
        ::testing::ExitedWithCode(0), "^BOX ok\\|Critical Error #315 - prog\\|Line: 12 \\(in main module\\)/_ASSERT failed \\(check console for description\\)\n$");
}

TEST_F(FixErrorDeathTest, HandlerEnteredWithoutHandlerCodeExits99) {
    error_goto_line = 1;
    EXPECT_EXIT(
        {
            child_setup();
            error(53);
            fix_error();
            _exit(3);
        },
        ::testing::ExitedWithCode(99), "^$");
}

}  // namespace
