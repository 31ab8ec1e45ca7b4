// The dialog layer over a remote shell without a display (SSH_CLIENT set, DISPLAY
// unset): its operations ask on the terminal, or through "dialog" when it is allowed.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "dialog/chooser_folder_fixture.h"
#include "dialog/console_backend.h"
#include "dialog/console_dialog.h"
#include "dialog/console_session.h"
#include "dialog/curses_dialog.h"
#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"
#include "support/scoped_env.h"

namespace {

std::string text_or_null(const char* t) { return t ? "=" + std::string(t) : "null"; }

class ConsoleRoute : public ::testing::Test {
protected:
    chooser_folder d;
    std::string saved_cwd;
    void SetUp() override {
        setenv("SSH_CLIENT", "1", 1);
        unsetenv("DISPLAY");
        dialog_reset_for_tests();
        console_dialog_global_init();
        console_dialog_reset_for_tests();
        char cwd[4096];
        ASSERT_TRUE(getcwd(cwd, sizeof cwd));
        saved_cwd = cwd;
        ASSERT_EQ(chdir(d.path().c_str()), 0);
    }
    void TearDown() override {
        if (chdir(saved_cwd.c_str()) != 0) ADD_FAILURE() << "cwd";
        dialog_reset_for_tests();
    }
};

TEST_F(ConsoleRoute, MessageBoxesAndQueriesTakeTheBasicRoute) {
    console_session session([] {
        int32_t query = ndlg_messageBox("ndlg_query", "", "yesno", "info", 1);
        std::string response = ndlg_getGlobalChar("ndlg_response");
        int32_t yes = ndlg_messageBox("T", "m", "yesno", "question", 1);
        return std::to_string(query) + response + std::to_string(yes);
    });
    ASSERT_TRUE(session.wait_for("missing software! (we will try basic console input)\n"));
    ASSERT_TRUE(session.wait_for("T\n\nm\ny/n: "));
    session.type("Y");
    EXPECT_EQ(session.answer(), "0basicinput1");
}

TEST_F(ConsoleRoute, ANotificationPrintsItsTextsAndWaitsForAKey) {
    console_session session([] { return std::to_string(ndlg_notifyPopup("News", "it happened", "warning")); });
    ASSERT_TRUE(session.wait_for("News\n\nit happened\n\npress enter to continue "));
    session.type("x");
    EXPECT_EQ(session.answer(), "1");
}

TEST_F(ConsoleRoute, FileChoosersAskForANameAndCheckIt) {
    struct chooser_case {
        int kind;  // 0 open, 1 save, 2 folder
        const char* prompt;
        std::string typed;
        std::string answer;
    };
    const chooser_case cases[] = {
        {0, "Open file from ", "a\n", "=a"},
        {0, "Open file from ", "zz\n", "null"},
        {0, "Open file from ", "\n", "null"},
        {0, "Open file from ", "s\n", "null"},
        {1, "Save file in ", "\n", "null"},
        {1, "Save file in ", "new.txt\n", "=new.txt"},
        {1, "Save file in ", "a?b\n", "null"},
        {1, "Save file in ", "\x1a\n", "null"},
        {2, "Select folder from ", ".\n", "=."},
        {2, "Select folder from ", "s\n", "=s"},
        {2, "Select folder from ", "a\n", "null"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.prompt + c.typed);
        console_session session([&] {
            if (c.kind == 0) return text_or_null(ndlg_openFileDialog("Pick", nullptr, 0, nullptr, nullptr, 0));
            if (c.kind == 1) return text_or_null(ndlg_saveFileDialog("Pick", nullptr, 0, nullptr, nullptr));
            return text_or_null(ndlg_selectFolderDialog("Pick", nullptr));
        });
        ASSERT_TRUE(session.wait_for(std::string(c.prompt) + d.path() + "\n(ctrl-Z + enter to cancel): "));
        session.type(c.typed);
        EXPECT_EQ(session.answer(), c.answer);
    }
}

TEST_F(ConsoleRoute, TheColourIsTypedAsHexadecimal) {
    struct colour_case {
        const char* typed;
        std::string answer;
    };
    const colour_case cases[] = {
        {"#F5CA20\n", "=#F5CA20 245 202 32"},
        {"f5ca20\n", "null 0 0 0"},
        {"#F5CA2\n", "null 0 0 0"},
        {"#GGGGGG\n", "null 0 0 0"},
    };
    for (const auto& c : cases) {
        console_session session([] {
            const uint8_t start[3] = {1, 2, 3};
            uint8_t rgb[3] = {0, 0, 0};
            std::string got = text_or_null(ndlg_colorChooser("Colour", nullptr, start, rgb));
            return got + " " + std::to_string(rgb[0]) + " " + std::to_string(rgb[1]) + " " + std::to_string(rgb[2]);
        });
        ASSERT_TRUE(session.wait_for("Enter hex rgb color (i.e. #f5ca20)\n(ctrl-Z + enter to cancel): "));
        session.type(c.typed);
        EXPECT_EQ(session.answer(), c.answer) << c.typed;
    }
}

TEST_F(ConsoleRoute, InputBoxesAnswerTheLineAndNothingWhenCancelled) {
    console_session session([] {
        std::string first = text_or_null(ndlg_inputBox("T", "name?", "x"));
        std::string second = text_or_null(ndlg_inputBox("T", "again?", nullptr));
        return first + "|" + second;
    });
    ASSERT_TRUE(session.wait_for("name?\n(ctrl-Z + enter to cancel): "));
    session.type("Ann\n");
    ASSERT_TRUE(session.wait_for("again?\n(ctrl-Z + enter to cancel): "));
    session.type("\x1a\n");
    EXPECT_EQ(session.answer(), "=Ann|null");
    EXPECT_TRUE(session.ended_normally());
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// "dialog" allowed, and a stand-in for it first on PATH.
class CursesRoute : public ConsoleRoute {
protected:
    std::string bin, temp;
    std::optional<scoped_env> fake_args, path, tmpdir;
    void SetUp() override {
        bin = d / "bin";
        temp = d / "tmp";
        mkdir(bin.c_str(), 0700);
        mkdir(temp.c_str(), 0700);
        std::ofstream(bin + "/dialog") << "#!/bin/sh\n"
                                          "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$ZV_FAKE_ARGS\"\n"
                                          "printf '%s' \"$ZV_FAKE_ANSWER\" >&2\n"
                                          "exit 0\n";
        chmod((bin + "/dialog").c_str(), 0755);
        fake_args.emplace("ZV_FAKE_ARGS", (d / "args").c_str());
        path.emplace("PATH", (bin + ":/usr/bin:/bin").c_str());
        tmpdir.emplace("TMPDIR", temp.c_str());
        ConsoleRoute::SetUp();
        curses_dialog_configure(dialog_env_path(), dialog_env_tmpdir());
        ndlg_setGlobalInt("ndlg_allowCursesDialogs", 1);
    }
};

TEST_F(CursesRoute, OperationsRunDialog) {
    EXPECT_TRUE(tfd_findCursesDialogExe());
    EXPECT_EQ(ndlg_messageBox("ndlg_query", "", "ok", "info", 1), 0);
    EXPECT_STREQ(ndlg_getGlobalChar("ndlg_response"), "dialog");

    setenv("ZV_FAKE_ANSWER", "", 1);
    EXPECT_EQ(ndlg_messageBox("T", "m", "okcancel", "info", 0), 1);
    EXPECT_EQ(read_file(d / "args"),
              "--title\nT\n--backtitle\ntab: move focus\n--defaultno\n--yes-label\nOk\n--no-label\nCancel\n"
              "--yesno\nm\n10\n60\n");

    setenv("ZV_FAKE_ANSWER", "typed", 1);
    EXPECT_STREQ(ndlg_inputBox("T", "m", ""), "typed");

    setenv("ZV_FAKE_ANSWER", (d / "a").c_str(), 1);
    EXPECT_STREQ(ndlg_openFileDialog("T", "x\\y", 0, nullptr, nullptr, 0), (d / "a").c_str());
    EXPECT_NE(read_file(d / "args").find("--fselect\nx/y\n0\n60\n"), std::string::npos);

    setenv("ZV_FAKE_ANSWER", (d.path() + "/").c_str(), 1);
    EXPECT_EQ(ndlg_saveFileDialog("T", nullptr, 0, nullptr, nullptr), nullptr);

    setenv("ZV_FAKE_ANSWER", (d / "s").c_str(), 1);
    EXPECT_STREQ(ndlg_selectFolderDialog("T", nullptr), (d / "s").c_str());
    EXPECT_NE(read_file(d / "args").find("--dselect\n./\n0\n60\n"), std::string::npos);

    setenv("ZV_FAKE_ANSWER", "#00FF00", 1);
    uint8_t rgb[3] = {0, 0, 0};
    const uint8_t start[3] = {16, 32, 48};
    EXPECT_STREQ(ndlg_colorChooser("T", nullptr, start, rgb), "#00FF00");
    EXPECT_EQ(rgb[1], 255);
    EXPECT_NE(read_file(d / "args").find("--inputbox\nEnter hex rgb color (i.e. #f5ca20)\n10\n60\n#102030\n"),
              std::string::npos);

    // Nothing is left in the temporary folder.
    EXPECT_EQ(std::system(("test -z \"$(ls -A '" + temp + "')\"").c_str()), 0);
}

TEST_F(CursesRoute, WithoutPermissionTheBasicRouteAsks) {
    ndlg_setGlobalInt("ndlg_allowCursesDialogs", 0);
    EXPECT_FALSE(tfd_findCursesDialogExe());
    EXPECT_EQ(ndlg_messageBox("ndlg_query", "", "ok", "info", 1), 0);
    EXPECT_STREQ(ndlg_getGlobalChar("ndlg_response"), "basicinput");
}

}  // namespace
