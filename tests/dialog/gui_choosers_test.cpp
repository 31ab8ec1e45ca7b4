// The chooser functions: the pattern list, stand-ins for absent arguments, the colour
// bytes both ways, and answers copied into BASIC strings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/chooser_folder_fixture.h"
#include "dialog/gui.h"
#include "error/error.h"
#include "fake_backend.h"
#include "gui_fixture.h"
#include "string/zvs.h"

namespace {

class GuiChoosers : public GuiFixture {};

TEST(GuiPatterns, SplitAtBarsDroppingEmptyPieces) {
    struct row {
        const char* patterns;
        std::vector<std::string> pieces;
    };
    const row rows[] = {
        {"*.txt||*.bas", {"*.txt", "*.bas"}}, {"", {}}, {nullptr, {}}, {"|", {}}, {"||", {}},
        {"|a|", {"a"}}, {"a|b|c|d|e", {"a", "b", "c", "d", "e"}}, {"*.bas", {"*.bas"}},
    };
    for (const row& r : rows) {
        int32_t count = -1;
        char** list = gui_split_patterns(r.patterns, &count);
        EXPECT_EQ(count, int32_t(r.pieces.size())) << (r.patterns ? r.patterns : "null");
        if (r.pieces.empty()) {
            EXPECT_EQ(list, nullptr);
            continue;
        }
        ASSERT_NE(list, nullptr);
        for (size_t i = 0; i < r.pieces.size(); ++i) EXPECT_EQ(list[i], r.pieces[i]);
        EXPECT_EQ(list[r.pieces.size()], nullptr);
        gui_free_patterns(list);
    }
}

TEST_F(GuiChoosers, ColourBytesInAndOut) {
    struct row {
        bool given;
        uint32_t start;
        uint8_t passed[3];
        const char* answer;  // null: cancelled
        uint8_t chosen[3];
        uint32_t result;
    };
    const row rows[] = {
        {true, 0xFF102030, {0x10, 0x20, 0x30}, "#ff0000", {0xFF, 0, 0}, 0xFFFF0000},
        {false, 0x123456, {0, 0, 0}, "#00ff00", {0, 0xFF, 0}, 0xFF00FF00},
        {true, 0x123456, {0x12, 0x34, 0x56}, nullptr, {0xAA, 0xBB, 0xCC}, 0},
    };
    for (const row& r : rows) {
        fake_backend::calls.clear();
        fake_backend::texts = {r.answer};
        for (int i = 0; i < 3; ++i) fake_backend::colour_answer[i] = r.chosen[i];
        EXPECT_EQ(func__guiColorChooserDialog(s("Pick"), r.start, r.given ? 3 : 1), r.result);
        ASSERT_EQ(fake_backend::calls.size(), 1u);
        const fake_call& c = fake_backend::calls[0];
        EXPECT_EQ(c.title, "Pick");
        EXPECT_EQ(c.kind, "");  // no text default: the bytes are the start colour
        for (int i = 0; i < 3; ++i) EXPECT_EQ(c.rgb[i], r.passed[i]) << i;
    }
}

TEST_F(GuiChoosers, FileChooserArgumentsAndStandIns) {
    fake_backend::texts = {nullptr, nullptr, nullptr, nullptr, nullptr};
    func__guiOpenFileDialog(s("Open"), s("dir/"), s("*.txt||*.bas"), s("Texts"), 1, 1 | 2 | 4 | 8 | 16);
    fake_call c = fake_backend::calls.back();
    EXPECT_EQ(c.op, "open");
    EXPECT_EQ(c.default_text, "dir/");
    EXPECT_EQ(c.message, "*.txt;*.bas");
    EXPECT_EQ(c.kind, "Texts");
    EXPECT_EQ(c.number, 1);

    // Absent path, no patterns, an empty description; several given as 0 or not given.
    func__guiOpenFileDialog(s("Open"), nullptr, s("||"), s(""), 0, 1 | 4 | 8 | 16);
    c = fake_backend::calls.back();
    EXPECT_FALSE(c.has_default);
    EXPECT_EQ(c.message, "");
    EXPECT_EQ(c.kind, "<null>");
    EXPECT_EQ(c.number, 0);
    func__guiOpenFileDialog(s("Open"), nullptr, nullptr, nullptr, 5, 1);
    EXPECT_EQ(fake_backend::calls.back().number, 0);

    func__guiSaveFileDialog(s("Save"), s("a.txt"), s("*.txt"), nullptr, 1 | 2 | 4);
    c = fake_backend::calls.back();
    EXPECT_EQ(c.op, "save");
    EXPECT_EQ(c.default_text, "a.txt");
    EXPECT_EQ(c.message, "*.txt");
    EXPECT_EQ(c.kind, "<null>");

    func__guiSelectFolderDialog(nullptr, nullptr, 0);
    c = fake_backend::calls.back();
    EXPECT_EQ(c.op, "folder");
    EXPECT_EQ(c.title, "");
    EXPECT_FALSE(c.has_default);
}

TEST_F(GuiChoosers, AnswersBecomeStringsAndCancelsEmptyOnes) {
    chooser_folder d;
    const std::string& dir = d.path();
    std::string both = d / "a" + "|" + d / "b";
    fake_backend::texts = {both.c_str(), nullptr, dir.c_str(), nullptr};
    EXPECT_EQ(text(func__guiOpenFileDialog(s("Open"), nullptr, nullptr, nullptr, 1, 1 | 16)), both);
    EXPECT_EQ(text(func__guiOpenFileDialog(s("Open"), nullptr, nullptr, nullptr, 0, 1)), "");
    EXPECT_EQ(text(func__guiSelectFolderDialog(s("Folder"), s(dir), 3)), dir);
    EXPECT_EQ(text(func__guiSaveFileDialog(s("Save"), nullptr, nullptr, nullptr, 1)), "");
}

TEST_F(GuiChoosers, APendingErrorShowsNothing) {
    error(5);
    EXPECT_EQ(func__guiColorChooserDialog(s("T"), 0, 1), 0u);
    EXPECT_EQ(text(func__guiOpenFileDialog(s("T"), nullptr, nullptr, nullptr, 0, 1)), "");
    EXPECT_EQ(text(func__guiSaveFileDialog(s("T"), nullptr, nullptr, nullptr, 1)), "");
    EXPECT_EQ(text(func__guiSelectFolderDialog(s("T"), nullptr, 1)), "");
    EXPECT_TRUE(fake_backend::calls.empty());
}

}  // namespace
