// INPUT on the console image of a console program: standard input as a pipe or at its end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "number/type_word.h"
#include "platform/console_terminal.h"
#include "platform/pty_fixture.h"
#include "support/scoped_env.h"
#include "string/zvs.h"
#include "text/input_editor.h"
#include "text/text_fixture.h"

namespace {

class ConsoleInput : public TextTest {
  protected:
    void SetUp() override {
        TextTest::SetUp();
        input_editor_reset_for_tests();
        ASSERT_EQ(pipe(out_fds), 0);
        out = fdopen(out_fds[1], "w");
        fcntl(out_fds[0], F_SETFL, O_NONBLOCK);
    }
    void TearDown() override {
        console_terminal_reset_for_tests();
        fclose(out);
        close(out_fds[0]);
        if (in_fd >= 0) close(in_fd);
        TextTest::TearDown();
    }
    // Standard input from a pipe holding the given bytes, closed behind them.
    void feed(const std::string& bytes) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        ASSERT_EQ(write(fds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(fds[1]);
        in_fd = fds[0];
        console_terminal_use(in_fd, out);
        console_page();
    }
    std::string written() {
        fflush(out);
        char buffer[256];
        const ssize_t got = read(out_fds[0], buffer, sizeof buffer);
        return got > 0 ? std::string(buffer, static_cast<size_t>(got)) : std::string();
    }
    int out_fds[2] = {-1, -1};
    FILE* out = nullptr;
    int in_fd = -1;
};

TEST_F(ConsoleInput, RefusedCharactersAreDroppedAndNothingIsWritten) {
    feed("12x3\n");
    int16_t value = 5;
    zvs_input_target(1, 16, &value);
    zvs_input(1, 1);
    EXPECT_EQ(value, 123);
    EXPECT_EQ(written(), "");
}

TEST_F(ConsoleInput, EndOfInputFinishesWithTheTargetsCleared) {
    int fd = open("/dev/null", O_RDONLY);
    ASSERT_GE(fd, 0);
    in_fd = fd;
    console_terminal_use(in_fd, out);
    console_page();
    int16_t value = 5;
    zvs* text = zvs_new_txt("old");
    zvs* target = zvs_new(0, 0);
    zvs_set(target, text);
    zvs_input_target(1, type_word_string, target);
    zvs_input_target(2, 16, &value);
    zvs_input(2, 1);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(target->length, 0);
}

TEST_F(ConsoleInput, FieldsBackspaceAndLineInputOnTheConsole) {
    feed("ab\b\bx,\"q\"\n");
    zvs* a = zvs_new(0, 0);
    zvs* b = zvs_new(0, 0);
    zvs_input_target(1, type_word_string, a);
    zvs_input_target(2, type_word_string, b);
    zvs_input(2, 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(a->text), a->length), "x");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b->text), b->length), "q");
}

TEST_F(ConsoleInput, LineInputKeepsCommasAndQuotes) {
    feed("a,\"b\"\n");
    zvs* a = zvs_new(0, 0);
    zvs_input_target(1, type_word_string | type_word_line_input, a);
    zvs_input(1, 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(a->text), a->length), "a,\"b\"");
}

TEST_F(ConsoleInput, TextTypedAtAUtf8TerminalReachesLineInputAsItsBytes) {
    scoped_env lc_all("LC_ALL", nullptr), lc_ctype("LC_CTYPE", nullptr), lang("LANG", "C.UTF-8");
    pseudo_terminal pty;
    console_page();
    pty.type("é█a\n");
    zvs* a = zvs_new(0, 0);
    zvs_input_target(1, type_word_string | type_word_line_input, a);
    zvs_input(1, 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(a->text), a->length), "\xC3\xA9\xE2\x96\x88\x61");
    // The terminal echoed the line itself: the console knows only what the program wrote.
    EXPECT_EQ(func_csrlin(), 1);
    EXPECT_EQ(func_pos(0), 1);
}

TEST_F(ConsoleInput, SeedQuestionPrintsThePromptAndReadsAnInteger) {
    feed("-12\n");
    int16_t seed = 0;
    EXPECT_EQ(input_ask_seed("Seed? ", &seed), 1);
    EXPECT_EQ(seed, -12);
    EXPECT_EQ(written(), "Seed? ");
}

}  // namespace
