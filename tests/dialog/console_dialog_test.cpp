// The basic console route: questions on a pseudo-terminal, and on inputs that end.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "dialog/console_dialog.h"
#include "dialog/console_io.h"
#include "dialog/console_session.h"

namespace {

console_settings plain_settings() {
    console_settings s;
    s.needs = "NEEDS-LINE";
    return s;
}

std::string number(int32_t n) { return std::to_string(n); }

std::string line_answer(bool got, const std::string& text) { return got ? "=" + text : "null"; }

TEST(ConsoleBasic, MessageBoxesAskForALetterUntilOneFits) {
    struct box_case {
        const char* type;
        const char* keys;
        int32_t answer;
        const char* prompt;
        size_t asked;  // times the prompt shows
    };
    const box_case cases[] = {
        {"yesno", "xqY", 1, "y/n: ", 3},
        {"yesno", "n", 0, "y/n: ", 1},
        {"yesno", "N", 0, "y/n: ", 1},
        {"okcancel", "o", 1, "[O]kay/[C]ancel: ", 1},
        {"okcancel", "yC", 0, "[O]kay/[C]ancel: ", 2},
        {"yesnocancel", "y", 1, "[Y]es/[N]o/[C]ancel: ", 1},
        {"yesnocancel", "n", 2, "[Y]es/[N]o/[C]ancel: ", 1},
        {"yesnocancel", "ac", 0, "[Y]es/[N]o/[C]ancel: ", 2},
        {"ok", "z", 1, "press enter to continue ", 1},
        {"bogus", "q", 1, "press enter to continue ", 1},
        {nullptr, "n", 1, "press enter to continue ", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type ? c.type : "(null)") + " " + c.keys);
        console_session session([&] {
            return number(console_basic_message_box(plain_settings(), "T", "m", c.type, 1));
        });
        ASSERT_TRUE(session.wait_for(c.prompt));
        session.type(c.keys);
        EXPECT_EQ(session.answer(), number(c.answer));
        // The title, a blank line, then the message.
        EXPECT_NE(session.screen().find("T\n\nm\n"), std::string::npos) << session.screen();
        // A key that does not fit asks again; keys are not echoed.
        size_t asked = 0;
        for (size_t at = 0; (at = session.screen().find(c.prompt, at)) != std::string::npos; at++) asked++;
        EXPECT_EQ(asked, c.asked);
        const std::string end = std::string(c.prompt) + "\n\n";
        EXPECT_EQ(session.screen().substr(session.screen().size() - std::min(end.size(), session.screen().size())), end);
    }
}

TEST(ConsoleBasic, BannerBeforeTheFirstQuestionOnlyAndNeverWhenTheConsoleWasAskedFor) {
    for (bool forced : {false, true}) {
        console_session session([&] {
            console_settings s = plain_settings();
            s.force_console = forced;
            int32_t first = console_basic_message_box(s, "", "one", "ok", 1);
            std::string line;
            bool got = console_basic_input_box(s, "", "two", "", &line);
            return number(first) + line_answer(got, line);
        });
        ASSERT_TRUE(session.wait_for("press enter to continue "));
        session.type("\n");
        ASSERT_TRUE(session.wait_for("(ctrl-Z + enter to cancel): "));
        session.type("x\n");
        EXPECT_EQ(session.answer(), "1=x");
        const std::string banner = "\n\nmissing software! (we will try basic console input)\nNEEDS-LINE\n\n";
        size_t at = session.screen().find(banner);
        if (forced) {
            EXPECT_EQ(at, std::string::npos) << session.screen();
        } else {
            EXPECT_EQ(at, 0u) << session.screen();
            EXPECT_EQ(session.screen().find("missing software!", banner.size()), std::string::npos);
        }
    }
}

TEST(ConsoleBasic, InputLinesOnTheTerminal) {
    std::string e600, e511;
    for (int i = 0; i < 600; i++) e600 += "\xC3\xA9";
    for (int i = 0; i < 511; i++) e511 += "\xC3\xA9";
    struct line_case {
        std::string typed;
        std::string answer;
    };
    const line_case cases[] = {
        {"abc\n", "=abc"},
        {"\n", "="},
        {"\x1a\n", "null"},    // Ctrl-Z cancels and does not stop the process
        {"a\x1a\n", "=a\x1a"},
        {"\x1b\n", "=\x1b"},   // ESC cancels only for lines in the ANSI code page
        {e600 + "\n", "=" + e511},
        {"\x04", "null"},      // end of input
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.substr(0, 8));
        console_session session([] {
            std::string line;
            bool got = console_basic_input_box(plain_settings(), "T", "m", "", &line);
            return line_answer(got, line);
        });
        ASSERT_TRUE(session.wait_for("m\n(ctrl-Z + enter to cancel): "));
        session.type(c.typed);
        EXPECT_EQ(session.answer(), c.answer);
        EXPECT_TRUE(session.ended_normally());
    }
}

TEST(ConsoleBasic, ALongLineIsCutAndItsRestDoesNotReachTheNextQuestion) {
    std::string e600, e511;
    for (int i = 0; i < 600; i++) e600 += "\xC3\xA9";
    for (int i = 0; i < 511; i++) e511 += "\xC3\xA9";
    console_session session([] {
        std::string first, second;
        bool got1 = console_basic_input_box(plain_settings(), "", "", "", &first);
        bool got2 = console_basic_input_box(plain_settings(), "", "", "", &second);
        return line_answer(got1, first) + "|" + line_answer(got2, second);
    });
    ASSERT_TRUE(session.wait_for("(ctrl-Z + enter to cancel): "));
    session.type(e600 + "\n");
    ASSERT_TRUE(session.wait_for("(ctrl-Z + enter to cancel): "));
    session.type("x\n");
    EXPECT_EQ(session.answer(), "=" + e511 + "|=x");
}

TEST(ConsoleBasic, AMaskedLineIsNotShown) {
    console_session session([] {
        std::string line;
        bool got = console_basic_input_box(plain_settings(), "", "pass", nullptr, &line);
        return line_answer(got, line);
    });
    ASSERT_TRUE(session.wait_for("(ctrl-Z + enter to cancel): "));
    session.type("pw\n");
    EXPECT_EQ(session.answer(), "=pw");
    EXPECT_EQ(session.screen_after_wait(), "\n");
}

TEST(ConsoleBasic, ThePlainLineIsEchoed) {
    console_session session([] {
        std::string line;
        bool got = console_basic_input_box(plain_settings(), "", "", "", &line);
        return line_answer(got, line);
    });
    ASSERT_TRUE(session.wait_for("(ctrl-Z + enter to cancel): "));
    session.type("seen\n");
    EXPECT_EQ(session.answer(), "=seen");
    EXPECT_EQ(session.screen_after_wait(), "seen\n");
}

TEST(ConsoleBasic, TheTerminalModeIsPutBack) {
    console_session session([] {
        termios before{}, after{};
        tcgetattr(0, &before);
        std::string line;
        console_basic_input_box(plain_settings(), "", "", nullptr, &line);
        console_basic_message_box(plain_settings(), "", "", "yesno", 1);
        tcgetattr(0, &after);
        bool same = before.c_lflag == after.c_lflag && before.c_cc[VSUSP] == after.c_cc[VSUSP] &&
                    before.c_cc[VMIN] == after.c_cc[VMIN];
        return std::string(same ? "same" : "changed");
    });
    ASSERT_TRUE(session.wait_for("(ctrl-Z + enter to cancel): "));
    session.type("a\n");
    ASSERT_TRUE(session.wait_for("y/n: "));
    session.type("y");
    EXPECT_EQ(session.answer(), "same");
}

// Standard input and output on other files for one test.
class ConsoleEndedInput : public ::testing::Test {
protected:
    void SetUp() override {
        saved_in_ = dup(0);
        saved_out_ = dup(1);
        int out = open("/dev/null", O_WRONLY);
        dup2(out, 1);
        close(out);
    }
    void TearDown() override {
        dup2(saved_in_, 0);
        dup2(saved_out_, 1);
        close(saved_in_);
        close(saved_out_);
    }
    // Standard input reads these bytes, then ends.
    void input(const std::string& bytes) {
        int p[2];
        ASSERT_EQ(pipe(p), 0);
        ASSERT_EQ(write(p[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(p[1]);
        dup2(p[0], 0);
        close(p[0]);
    }

private:
    int saved_in_ = -1, saved_out_ = -1;
};

TEST_F(ConsoleEndedInput, EndOfInputEndsEveryQuestionWithItsCancelAnswer) {
    struct ended_case {
        const char* type;
        int32_t answer;
    };
    const ended_case cases[] = {{"yesno", 0}, {"okcancel", 0}, {"yesnocancel", 0}, {"ok", 1}};
    for (const auto& c : cases) {
        input("");
        EXPECT_EQ(console_basic_message_box(plain_settings(), "T", "m", c.type, 1), c.answer) << c.type;
        input("xq");  // keys that do not fit, then the end
        EXPECT_EQ(console_basic_message_box(plain_settings(), "T", "m", c.type, 1), c.answer) << c.type;
    }
    input("");
    std::string line = "untouched";
    EXPECT_FALSE(console_basic_input_box(plain_settings(), "T", "m", "", &line));
    EXPECT_EQ(line, "untouched");
}

TEST_F(ConsoleEndedInput, LinesFromAFile) {
    struct file_line_case {
        std::string input;
        bool utf8;
        std::string answer;
    };
    const file_line_case cases[] = {
        {"abc\r\n", true, "=abc"},
        {"abc\n\n", true, "=abc"},
        {"abc", true, "=abc"},            // the last line without its LF
        {"\r\n", true, "="},
        {"a\x1b" "b\n", false, "null"},   // ESC anywhere cancels in the ANSI code page
        {"\x1a\n", false, "=\x1a"},
        {"a\x1b" "b\n", true, "=a\x1b" "b"},
    };
    for (const auto& c : cases) {
        input(c.input);
        console_settings s = plain_settings();
        s.win_utf8 = c.utf8;
        std::string line;
        bool got = console_basic_input_box(s, "", "", "", &line);
        EXPECT_EQ(line_answer(got, line), c.answer) << c.input;
    }
}

bool scripted_input(const char*, const char*, const char* default_text, std::string* answer);
std::string seen_default;
std::optional<std::string> scripted;

bool scripted_input(const char*, const char* message, const char* default_text, std::string* answer) {
    seen_default = default_text ? default_text : "(null)";
    EXPECT_STREQ(message, "Enter hex rgb color (i.e. #f5ca20)");
    if (!scripted) return false;
    *answer = *scripted;
    return true;
}

TEST(ConsoleColour, TypedColoursAndTheFieldsStart) {
    struct colour_case {
        const char* default_hex;
        bool default_bytes;
        std::optional<std::string> typed;
        const char* start;
        std::optional<std::string> answer;
        uint8_t r, g, b;
    };
    const colour_case cases[] = {
        {nullptr, true, "#F5CA20", "#102030", "#F5CA20", 245, 202, 32},
        {"#abcdef99", true, "#00ff00", "#abcdef", "#00ff00", 0, 255, 0},
        {nullptr, false, "f5ca20", "", std::nullopt, 9, 9, 9},
        {nullptr, true, "#F5CA2", "#102030", std::nullopt, 9, 9, 9},
        {nullptr, true, "#GGGGGG", "#102030", std::nullopt, 9, 9, 9},
        {nullptr, true, std::nullopt, "#102030", std::nullopt, 9, 9, 9},
    };
    for (const auto& c : cases) {
        scripted = c.typed;
        const uint8_t start[3] = {0x10, 0x20, 0x30};
        uint8_t result[3] = {9, 9, 9};
        std::string answer;
        bool got = console_colour_chooser(scripted_input, "T", c.default_hex, c.default_bytes ? start : nullptr, result,
                                          &answer);
        EXPECT_EQ(seen_default, c.start);
        EXPECT_EQ(got ? std::optional<std::string>(answer) : std::nullopt, c.answer);
        EXPECT_EQ(result[0], c.r);
        EXPECT_EQ(result[1], c.g);
        EXPECT_EQ(result[2], c.b);
    }
}

TEST(ConsoleBasic, ChooserQuestionsNameTheCurrentFolder) {
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    for (const char* lead : {"Open file from ", "Save file in ", "Select folder from "}) {
        for (const char* typed : {"name\n", "\x1a\n"}) {
            console_session session([&] {
                std::string answer = "stale";
                bool got = console_basic_path(plain_settings(), lead, "Pick", &answer);
                return line_answer(got, answer);
            });
            ASSERT_TRUE(session.wait_for(std::string("Pick\n\n") + lead + cwd + "\n(ctrl-Z + enter to cancel): "));
            session.type(typed);
            EXPECT_EQ(session.answer(), typed[0] == 'n' ? "=name" : "=");
        }
    }
}

}  // namespace
