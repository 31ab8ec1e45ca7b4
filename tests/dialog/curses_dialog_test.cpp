// The curses route against a stand-in "dialog" that records its arguments and its
// answer file, writes a scripted answer to standard error and exits with a scripted status.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dialog/curses_dialog.h"

namespace {

using strings = std::vector<std::string>;

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class CursesDialog : public ::testing::Test {
protected:
    std::string dir, bin, temp, keep;
    void SetUp() override {
        char pattern[] = "/tmp/zvcurses-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        dir = pattern;
        bin = dir + "/bin";
        temp = dir + "/tmp";
        keep = dir + "/keep";
        for (const auto& d : {bin, temp, keep}) mkdir(d.c_str(), 0700);
        std::ofstream(bin + "/dialog") << "#!/bin/sh\n"
                                          "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$ZV_FAKE_ARGS\"\n"
                                          "answer=$(readlink /proc/self/fd/2)\n"
                                          "stat -L -c %a /proc/self/fd/2 > \"$ZV_FAKE_MODE\"\n"
                                          "ln \"$answer\" \"$ZV_FAKE_KEEP\"\n"
                                          "printf '%s' \"$ZV_FAKE_ANSWER\" >&2\n"
                                          "exit \"$ZV_FAKE_STATUS\"\n";
        chmod((bin + "/dialog").c_str(), 0755);
        setenv("ZV_FAKE_ARGS", (dir + "/args").c_str(), 1);
        setenv("ZV_FAKE_MODE", (dir + "/mode").c_str(), 1);
        setenv("ZV_FAKE_KEEP", (keep + "/answer").c_str(), 1);
        script("", 0);
        curses_dialog_configure(("/nonexistent:" + bin + ":/usr/bin:/bin").c_str(), temp.c_str());
    }
    void TearDown() override { (void)std::system(("rm -rf '" + dir + "'").c_str()); }

    void script(const std::string& answer, int status) {
        setenv("ZV_FAKE_ANSWER", answer.c_str(), 1);
        setenv("ZV_FAKE_STATUS", std::to_string(status).c_str(), 1);
        unlink((keep + "/answer").c_str());
        unlink((dir + "/args").c_str());
    }
    strings recorded_arguments() {
        strings out;
        std::string all = read_file(dir + "/args");
        for (size_t at = 0; at < all.size();) {
            size_t end = all.find('\0', at);
            out.push_back(all.substr(at, end - at));
            at = end + 1;
        }
        return out;
    }
    // The answer file was private, and it is gone.
    void expect_answer_file_private_and_gone() {
        EXPECT_EQ(read_file(dir + "/mode"), "600\n");
        EXPECT_EQ(std::system(("test -z \"$(ls -A '" + temp + "')\"").c_str()), 0) << "answer file left behind";
    }
};

TEST_F(CursesDialog, TheProgramIsFoundAlongThePathOnce) {
    EXPECT_EQ(curses_dialog_program(), bin + "/dialog");
    rename((bin + "/dialog").c_str(), (bin + "/other").c_str());
    EXPECT_EQ(curses_dialog_program(), bin + "/dialog");  // remembered
    curses_dialog_configure(bin.c_str(), temp.c_str());
    EXPECT_EQ(curses_dialog_program(), "");
    EXPECT_EQ(curses_message_box("T", "m", "yesno", 1), 0);  // nothing to start
    curses_dialog_configure(nullptr, nullptr);
    EXPECT_EQ(curses_dialog_program(), "");
}

TEST_F(CursesDialog, MessageBoxArgumentsAndAnswers) {
    struct box_case {
        const char* type;
        int32_t default_button;
        std::string written;
        int status;
        strings arguments;
        int32_t answer;
    };
    const strings tab = {"--title", "T", "--backtitle", "tab: move focus"};
    auto with = [&](strings head, strings tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const box_case cases[] = {
        {"okcancel", 0, "", 0,
         with(tab, {"--defaultno", "--yes-label", "Ok", "--no-label", "Cancel", "--yesno", "m", "10", "60"}), 1},
        {"okcancel", 1, "", 1, with(tab, {"--yes-label", "Ok", "--no-label", "Cancel", "--yesno", "m", "10", "60"}), 0},
        {"yesno", 1, "", 0, with(tab, {"--yesno", "m", "10", "60"}), 1},
        {"yesno", 0, "", 1, with(tab, {"--defaultno", "--yesno", "m", "10", "60"}), 0},
        {"yesnocancel", 1, "Yes", 0, with(tab, {"--menu", "m", "0", "60", "0", "Yes", "", "No", ""}), 1},
        {"yesnocancel", 0, "No", 0, with(tab, {"--defaultno", "--menu", "m", "0", "60", "0", "Yes", "", "No", ""}), 2},
        {"yesnocancel", 1, "", 1, with(tab, {"--menu", "m", "0", "60", "0", "Yes", "", "No", ""}), 0},
        {"yesnocancel", 1, "Error: no such option\n", 255, with(tab, {"--menu", "m", "0", "60", "0", "Yes", "", "No", ""}), 0},
        {"ok", 0, "", 0, {"--title", "T", "--msgbox", "m", "10", "60"}, 1},
        {"ok", 1, "", 255, {"--title", "T", "--msgbox", "m", "10", "60"}, 0},
        {nullptr, 1, "", 0, {"--title", "T", "--msgbox", "m", "10", "60"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type ? c.type : "(null)") + " " + std::to_string(c.default_button));
        script(c.written, c.status);
        EXPECT_EQ(curses_message_box("T", "m", c.type, c.default_button), c.answer);
        EXPECT_EQ(recorded_arguments(), c.arguments);
        expect_answer_file_private_and_gone();
    }
}

TEST_F(CursesDialog, TextsArriveAsSingleArgumentsWithoutAShell) {
    std::string marker = dir + "/x";
    std::string title = "\"; touch " + marker + "; \"";
    std::string message = "line one\nline two $(touch " + marker + ") `touch " + marker + "`";
    script("", 0);
    EXPECT_EQ(curses_message_box(title.c_str(), message.c_str(), "ok", 1), 1);
    strings args = recorded_arguments();
    ASSERT_EQ(args.size(), 6u);
    EXPECT_EQ(args[1], title);
    EXPECT_EQ(args[3], "line one\\nline two $(touch " + marker + ") `touch " + marker + "`");
    EXPECT_NE(access(marker.c_str(), F_OK), 0) << "a text ran as a command";
}

TEST_F(CursesDialog, InputBoxesAnswerTheTypedTextAndWipeTheirFile) {
    struct input_case {
        const char* default_text;
        std::string written;
        int status;
        strings arguments;
        std::string answer;  // "null" for none
    };
    const std::string masked_back = "tab: move focus (sometimes nothing, no blink nor star, is shown in text field)";
    const input_case cases[] = {
        {"", "typed", 0, {"--title", "T", "--backtitle", "tab: move focus", "--inputbox", "m", "10", "60"}, "=typed"},
        {"start", "start more", 0,
         {"--title", "T", "--backtitle", "tab: move focus", "--inputbox", "m", "10", "60", "start"}, "=start more"},
        {nullptr, "secret", 0,
         {"--title", "T", "--backtitle", masked_back, "--insecure", "--passwordbox", "m", "10", "60"}, "=secret"},
        {"", "", 0, {"--title", "T", "--backtitle", "tab: move focus", "--inputbox", "m", "10", "60"}, "="},
        {"", "half", 1, {"--title", "T", "--backtitle", "tab: move focus", "--inputbox", "m", "10", "60"}, "null"},
        {"", "first\nlast\n", 0, {"--title", "T", "--backtitle", "tab: move focus", "--inputbox", "m", "10", "60"}, "=last"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        script(c.written, c.status);
        std::string answer;
        bool got = curses_input_box("T", "m", c.default_text, &answer);
        EXPECT_EQ(got ? "=" + answer : "null", c.answer);
        EXPECT_EQ(recorded_arguments(), c.arguments);
        EXPECT_EQ(read_file(keep + "/answer"), std::string(c.written.size(), 'A'));
        expect_answer_file_private_and_gone();
    }
}

TEST_F(CursesDialog, ChooserArgumentsAndPaths) {
    const std::string back = "tab: focus | /: populate | spacebar: fill text field | ok: TEXT FIELD ONLY";
    struct chooser_case {
        const char* title;
        const char* path;
        bool folder;
        strings arguments;
    };
    const chooser_case cases[] = {
        {"T", "a\\b.txt", false, {"--title", "T", "--backtitle", back, "--fselect", "a/b.txt", "0", "60"}},
        {"", "b.txt", false, {"--backtitle", back, "--fselect", "./b.txt", "0", "60"}},
        {"", nullptr, false, {"--backtitle", back, "--fselect", "./", "0", "60"}},
        {"", "", false, {"--backtitle", back, "--fselect", "./", "0", "60"}},
        {"", "d\\e", true, {"--backtitle", back, "--dselect", "d/e/", "0", "60"}},
        {"", "/d/", true, {"--backtitle", back, "--dselect", "/d/", "0", "60"}},
        {"", nullptr, true, {"--backtitle", back, "--dselect", "./", "0", "60"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path ? c.path : "(null)");
        script("/picked/file", 0);
        std::string answer;
        EXPECT_TRUE(curses_chooser(c.title, c.path, c.folder, &answer));
        EXPECT_EQ(answer, "/picked/file");
        EXPECT_EQ(recorded_arguments(), c.arguments);
        expect_answer_file_private_and_gone();
    }
    script("/picked/file", 1);
    std::string answer = "stale";
    EXPECT_TRUE(curses_chooser("", nullptr, false, &answer));
    EXPECT_EQ(answer, "");
}

TEST_F(CursesDialog, AnAnswerFileThatCannotBeMadeAnswersNothing) {
    curses_dialog_configure(("/nonexistent:" + bin).c_str(), (dir + "/missing").c_str());
    script("Yes", 0);
    EXPECT_EQ(curses_message_box("T", "m", "yesnocancel", 1), 0);
    std::string answer = "stale";
    EXPECT_FALSE(curses_input_box("T", "m", "", &answer));
    EXPECT_EQ(answer, "stale");
    EXPECT_NE(access((dir + "/args").c_str(), F_OK), 0) << "dialog ran without an answer file";
}

}  // namespace
