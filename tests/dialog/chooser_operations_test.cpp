// The chooser operations of the dialog layer over a scripted graphic back end: the
// texts handed on, the checks of every answer, the query and the UTF-16 twins.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "dialog/chooser_folder_fixture.h"
#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"

namespace {

struct chooser_call {
    std::string op, title;
    std::optional<std::string> path, description;
    std::vector<std::string> patterns;
    int32_t several = 0;
};

std::vector<chooser_call> calls;
std::optional<std::string> scripted;  // what the chooser answers; nothing: cancelled

std::optional<std::string> text(const char* t) { return t ? std::optional<std::string>(t) : std::nullopt; }

bool answer_with(std::string* answer) {
    if (!scripted) return false;
    *answer = *scripted;
    return true;
}

bool fake_save(const char* title, const char* path, int32_t count, const char* const* patterns,
               const char* description, std::string* answer) {
    chooser_call c{"save", title, text(path), text(description), {}, 0};
    for (int32_t i = 0; i < count; i++) c.patterns.push_back(patterns[i]);
    EXPECT_EQ(patterns[count], nullptr);
    calls.push_back(c);
    return answer_with(answer);
}

bool fake_open(const char* title, const char* path, int32_t count, const char* const* patterns,
               const char* description, int32_t several, std::string* answer) {
    chooser_call c{"open", title, text(path), text(description), {}, several};
    for (int32_t i = 0; i < count; i++) c.patterns.push_back(patterns[i]);
    calls.push_back(c);
    return answer_with(answer);
}

bool fake_folder(const char* title, const char* path, std::string* answer) {
    calls.push_back({"folder", title, text(path), std::nullopt, {}, 0});
    return answer_with(answer);
}

class ChooserOperations : public ::testing::Test {
protected:
    chooser_folder d;
    void SetUp() override {
        setenv("DISPLAY", ":99", 1);
        unsetenv("SSH_CLIENT");
        dialog_reset_for_tests();
        dialog_backend b{};
        b.available = [] { return true; };
        b.save_file = fake_save;
        b.open_file = fake_open;
        b.select_folder = fake_folder;
        dialog_backend_of(dialog_route::graphic) = b;
        calls.clear();
        scripted.reset();
    }
    void TearDown() override { dialog_reset_for_tests(); }
};

std::optional<std::string> result(const char* answer) { return text(answer); }

TEST_F(ChooserOperations, TextsReachTheChooserAsUtf8) {
    const char* patterns[] = {"*.bas", "*.b\xE9"};  // the second in Windows-1252
    scripted = std::nullopt;
    EXPECT_EQ(ndlg_openFileDialog("Pick", "a/b.bas", 2, patterns, nullptr, 1), nullptr);
    EXPECT_EQ(ndlg_saveFileDialog(nullptr, nullptr, 0, nullptr, "Text"), nullptr);
    EXPECT_EQ(ndlg_selectFolderDialog("T\xC3\xA9", ""), nullptr);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].title, "Pick");
    EXPECT_EQ(calls[0].path, "a/b.bas");
    EXPECT_EQ(calls[0].description, std::nullopt);
    EXPECT_EQ(calls[0].patterns, (std::vector<std::string>{"*.bas", "*.b\xC3\xA9"}));
    EXPECT_EQ(calls[0].several, 1);
    EXPECT_EQ(calls[1].title, "");
    EXPECT_EQ(calls[1].path, std::nullopt);
    EXPECT_EQ(calls[1].description, "Text");
    EXPECT_EQ(calls[2].title, "T\xC3\xA9");
    EXPECT_EQ(calls[2].path, "");
}

TEST_F(ChooserOperations, OpenAnswersAreChecked) {
    std::string a = d / "a", b = d / "b", c = d / "c", s = d / "s";
    struct open_case {
        std::optional<std::string> answer;
        int32_t several;
        std::optional<std::string> result;
    };
    const open_case cases[] = {
        {a + "|" + c + "|" + b, 1, a + "|" + b},
        {c + "|" + d / "x", 1, std::nullopt},
        {a, 1, a},
        {c, 0, std::nullopt},
        {s, 0, std::nullopt},
        {"", 0, std::nullopt},
        {std::nullopt, 0, std::nullopt},
        {a, 0, a},
    };
    for (const auto& k : cases) {
        scripted = k.answer;
        EXPECT_EQ(result(ndlg_openFileDialog("T", nullptr, 0, nullptr, nullptr, k.several)), k.result)
            << k.answer.value_or("(cancelled)");
    }
    // A negative allow-several answers at once.
    calls.clear();
    scripted = a;
    EXPECT_EQ(ndlg_openFileDialog("T", nullptr, 0, nullptr, nullptr, -1), nullptr);
    EXPECT_TRUE(calls.empty());
}

TEST_F(ChooserOperations, TheOpenAnswerOutlivesTheLayersConversions) {
    scripted = d / "a" + "|" + d / "b";
    const char* got = ndlg_openFileDialog("T", nullptr, 0, nullptr, nullptr, 1);
    ASSERT_NE(got, nullptr);
    ndlg_utf16to8(ndlg_utf8to16("something else entirely, long enough to move buffers around"));
    ndlg_mbcsTo8("x");
    EXPECT_EQ(std::string(got), d / "a" + "|" + d / "b");
}

TEST_F(ChooserOperations, SaveAndFolderAnswersAreChecked) {
    struct save_case {
        std::string answer;
        std::optional<std::string> result;
    };
    const save_case saves[] = {
        {"", std::nullopt}, {"/nonexist/x", std::nullopt}, {d / "a?b", std::nullopt}, {d.path() + "/", std::nullopt},
        {d / "ok.txt", d / "ok.txt"}, {"ok.txt", "ok.txt"}, {"/f", "/f"}, {"X:/f", "X:/f"},
    };
    for (const auto& k : saves) {
        scripted = k.answer;
        EXPECT_EQ(result(ndlg_saveFileDialog("T", nullptr, 0, nullptr, nullptr)), k.result) << k.answer;
    }
    // Answers are never cut: a long path comes back whole.
    std::string deep = d.path();
    for (int i = 0; i < 60; i++) deep += "/folder-with-a-long-name";
    ASSERT_EQ(std::system(("mkdir -p '" + deep + "'").c_str()), 0);
    scripted = deep + "/file.txt";
    EXPECT_EQ(result(ndlg_saveFileDialog("T", nullptr, 0, nullptr, nullptr)), deep + "/file.txt");

    struct folder_case {
        std::string answer;
        std::optional<std::string> result;
    };
    const folder_case folders[] = {{d / "s", d / "s"}, {d / "a", std::nullopt}, {"", std::nullopt},
                                   {d / "missing", std::nullopt}, {deep, deep}};
    for (const auto& k : folders) {
        scripted = k.answer;
        EXPECT_EQ(result(ndlg_selectFolderDialog("T", nullptr)), k.result) << k.answer;
    }
}

TEST_F(ChooserOperations, QueriesShowNothing) {
    scripted = d / "a";
    EXPECT_STREQ(ndlg_openFileDialog("ndlg_query", nullptr, 0, nullptr, nullptr, 0), "");
    EXPECT_STREQ(ndlg_getGlobalChar("ndlg_response"), "windows");
    EXPECT_STREQ(ndlg_saveFileDialog("ndlg_query", nullptr, 0, nullptr, nullptr), "");
    EXPECT_STREQ(ndlg_selectFolderDialog("ndlg_query", nullptr), "");
    uint8_t rgb[3] = {1, 2, 3};
    EXPECT_STREQ(ndlg_colorChooser("ndlg_query", nullptr, rgb, rgb), "");
    EXPECT_EQ(rgb[0] + rgb[1] + rgb[2], 6);
    const char16_t* w = ndlg_openFileDialogW(u"ndlg_query", nullptr, 0, nullptr, nullptr, 0);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w[0], u'\0');
    EXPECT_STREQ(ndlg_getGlobalChar("ndlg_response"), "windows_wchar");
    EXPECT_TRUE(calls.empty());
}

TEST_F(ChooserOperations, TwinsTakeTheGraphicRouteInUtf16) {
    const char16_t* patterns[] = {u"*.t\u00e9"};
    scripted = d / "s/x\u00e9";
    const char16_t* got = ndlg_saveFileDialogW(u"T\u00e9", u"p", 1, patterns, nullptr);
    ASSERT_NE(got, nullptr);
    std::string back;
    utf16_to_utf8(got, &back);
    EXPECT_EQ(back, d / "s/x\u00e9");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].title, "T\xC3\xA9");
    EXPECT_EQ(calls[0].patterns, std::vector<std::string>{"*.t\xC3\xA9"});
    scripted.reset();
    EXPECT_EQ(ndlg_selectFolderDialogW(u"T", nullptr), nullptr);
    EXPECT_EQ(ndlg_openFileDialogW(u"T", nullptr, 0, nullptr, nullptr, -1), nullptr);

    // Without a display the twins answer nothing.
    dialog_backend_of(dialog_route::graphic).available = [] { return false; };
    scripted = d / "a";
    calls.clear();
    EXPECT_EQ(ndlg_openFileDialogW(u"T", nullptr, 0, nullptr, nullptr, 0), nullptr);
    EXPECT_TRUE(calls.empty());
}

TEST_F(ChooserOperations, AnswersFollowTheTextSetting) {
    ASSERT_EQ(std::system(("touch '" + d / "caf\xC3\xA9" + "'").c_str()), 0);
    ndlg_setGlobalInt("ndlg_winUtf8", 0);
    scripted = d / "caf\xC3\xA9";
    // The answer comes back in Windows-1252.
    EXPECT_EQ(result(ndlg_openFileDialog("T", nullptr, 0, nullptr, nullptr, 0)), d / "caf\xE9");
}

}  // namespace
