// The latch, the message table and the fatal numbers.
#include <unistd.h>

#include "core/startup.h"
#include "error/error_test_support.h"

namespace {

// The bytes of a string result.
std::string text_of(const zvs* s) { return std::string(reinterpret_cast<const char*>(s->text), s->length); }

TEST_F(ErrorTest, ZeroAndNegativeNumbersLatch5) {
    for (int32_t n : {0, -3, -2147483647 - 1}) {
        error_reset_for_tests();
        zvevent = 0;
        error(n);
        EXPECT_EQ(new_error.load(), 5) << n;
        EXPECT_EQ(zvevent.load(), 1) << n;
    }
}

TEST_F(ErrorTest, TheFirstOfTwoErrorsWins) {
    error(53);
    error(9);
    EXPECT_EQ(new_error.load(), 53);
    EXPECT_TRUE(new_error_is_set());
    clear_error();
    EXPECT_FALSE(new_error_is_set());
}

TEST_F(ErrorTest, NumbersBetweenTheFatalOnesLatch) {
    for (int32_t n : {258, 262, 269, 272, 501, 519, 300, 315}) {
        error_reset_for_tests();
        error(n);
        EXPECT_EQ(new_error.load(), n);
    }
    EXPECT_TRUE(alert_recorder::boxes.empty());
}

TEST_F(ErrorTest, MessageTable) {
    const struct {
        int32_t n;
        const char* text;
    } cases[] = {
        {0, "No error"},
        {5, "Illegal function call"},
        {9, "Subscript out of range"},
        {53, "File not found"},
        {69, "Communication-buffer overflow"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {258, "Invalid handle"},
        {300, "Memory region out of range"},
        {313, "Source and destination memory have been freed"},
        {315, "_ASSERT failed (check console for description)"},
        {11, "Unprintable error"},
        {15, "Unprintable error"},
        {257, "Unprintable error"},
        {262, "Unprintable error"},
        {316, "Unprintable error"},
        {-1, "Unprintable error"},
        {1000, "Unprintable error"},
    };
    uint32_t mark = zvs_tmp_list_nexti();
    for (const auto& c : cases) {
        EXPECT_STREQ(error_code_message(c.n), c.text) << c.n;
        zvs* message = func__errormessage(c.n, 1);
        EXPECT_EQ(text_of(message), c.text) << c.n;
        EXPECT_TRUE(message->temporary) << c.n;
    }
    zvs_tmp_release_to(mark, 0);
    EXPECT_EQ(zvs_tmp_list_nexti(), mark);
}

TEST_F(ErrorTest, ErrorMessageWithoutNumberIsTheMessageOfErr) {
    error_err = 53;
    EXPECT_EQ(text_of(func__errormessage(0, 0)), "File not found");
    EXPECT_EQ(text_of(func__errormessage(9, 0)), "File not found");  // n not passed: ignored
    EXPECT_EQ(get_error_err(), 53);
    new_error = 5;  // pending: functions do nothing
    EXPECT_EQ(text_of(func__errormessage(0, 0)), "");
    EXPECT_EQ(text_of(func__errormessage(53, 1)), "");
    EXPECT_EQ(get_error_err(), 0);
}

TEST_F(ErrorTest, ErrorPositionFunctions) {
    error_set_line(12, 7, "inc.bi");
    EXPECT_EQ(func__errorline(), 12);
    EXPECT_EQ(func__inclerrorline(), 7);
    zvs* file = func__inclerrorfile();
    EXPECT_EQ(text_of(file), "inc.bi");
    EXPECT_TRUE(file->temporary);
    EXPECT_EQ(get_error_erl(), 0.0);
    error_set_line(3, 0, nullptr);
    EXPECT_EQ(text_of(func__inclerrorfile()), "");
    error_set_line(3, 7, "inc.bi");
    new_error = 53;  // pending: empty, as every function gives
    EXPECT_EQ(text_of(func__inclerrorfile()), "");
}

TEST_F(ErrorTest, ProgramNameIsThePartAfterTheLastSlashOrBackslash) {
    EXPECT_STREQ(error_program_name(), "prog");
    error_set_program_name("C:\\games\\cube.exe");
    EXPECT_STREQ(error_program_name(), "cube.exe");
    error_set_program_name("a/b\\c/d");
    EXPECT_STREQ(error_program_name(), "d");
    error_set_program_name("plain");
    EXPECT_STREQ(error_program_name(), "plain");
}

using ErrorDeathTest = ErrorTest;

TEST_F(ErrorDeathTest, FatalNumbersShowTheirBoxAndExitWith0) {
    const struct {
        int32_t n;
        const char* box;
    } cases[] = {
        {11, "BOX ok\\|Critical Error\\|Division by zero\n"},
        {256, "BOX ok\\|Critical Error\\|Out of stack space\n"},
        {257, "BOX ok\\|Critical Error #1\\|Out of memory\n"},
        {259, "BOX ok\\|Critical Error\\|Cannot find dynamic library file\n"},
        {260, "BOX ok\\|Critical Error\\|Sub/Function does not exist in dynamic library\n"},
        {261, "BOX ok\\|Critical Error\\|Sub/Function does not exist in dynamic library\n"},
        {270, "BOX ok\\|Critical Error\\|_GL command called outside of SUB _GL's scope\n"},
        {271, "BOX ok\\|Critical Error\\|END/SYSTEM called within SUB _GL's scope\n"},
        {502, "BOX ok\\|Critical Error #2\\|Out of memory\n"},
        {505, "BOX ok\\|Critical Error #5\\|Out of memory\n"},
        {518, "BOX ok\\|Critical Error #18\\|Out of memory\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                child_setup();
                error(c.n);
                fprintf(stderr, "returned\n");
                _exit(3);
            },
            ::testing::ExitedWithCode(0), std::string("^") + c.box + "$")
            << c.n;
    }
}

TEST_F(ErrorDeathTest, FatalNumberWinsEvenWithAnErrorPending) {
    EXPECT_EXIT(
        {
            child_setup();
            error(53);
            error(257);
            _exit(3);
        },
        ::testing::ExitedWithCode(0), "BOX ok\\|Critical Error #1\\|Out of memory");
}

TEST_F(ErrorDeathTest, AThreadThatCannotStartIsFatal257) {
    EXPECT_EXIT(
        {
            child_setup();
            startup_thread_failed();
        },
        ::testing::ExitedWithCode(0), "^BOX ok\\|Critical Error #1\\|Out of memory\n$");
}

}  // namespace
