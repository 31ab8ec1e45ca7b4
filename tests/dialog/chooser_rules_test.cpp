// Chooser rules: filter entries, name matching, the default path and extension,
// the answer checks and the colour text.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "dialog/chooser_folder_fixture.h"
#include "dialog/chooser_rules.h"

namespace {

using entries = std::vector<std::pair<std::string, std::string>>;

entries filter_of(const char* description, std::vector<const char*> patterns) {
    entries out;
    for (const auto& e : chooser_filter_entries(description, static_cast<int32_t>(patterns.size()), patterns.data()))
        out.emplace_back(e.label, e.patterns);
    return out;
}

TEST(ChooserFilter, EntriesFromDescriptionAndPatterns) {
    EXPECT_EQ(filter_of(nullptr, {"*.bas", "*.bi"}),
              (entries{{"*.bas;*.bi", "*.bas;*.bi"}, {"All Files", "*.*"}}));
    EXPECT_EQ(filter_of("", {"*.bas"}), (entries{{"*.bas", "*.bas"}, {"All Files", "*.*"}}));
    EXPECT_EQ(filter_of("BASIC", {"*.bas"}), (entries{{"BASIC", "*.bas"}, {"All Files", "*.*"}}));
    EXPECT_EQ(filter_of("BASIC", {}), entries{});
    EXPECT_EQ(filter_of(nullptr, {nullptr, ""}), entries{});
    EXPECT_EQ(filter_of(nullptr, {"", "*.x", nullptr}), (entries{{"*.x", "*.x"}, {"All Files", "*.*"}}));
    EXPECT_TRUE(chooser_filter_entries("d", 3, nullptr).empty());
    const char* one[] = {"*.x"};
    EXPECT_TRUE(chooser_filter_entries("d", -1, one).empty());
}

TEST(ChooserFilter, LongTextsAreCutOnCharacterBoundaries) {
    // 126 one-unit characters then é: the label ends after 127 units.
    std::string description = std::string(126, 'd') + "\xC3\xA9" + std::string(72, 'e');
    auto got = filter_of(description.c_str(), {"*.x"});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].first, std::string(126, 'd') + "\xC3\xA9");
    // A character outside the basic plane takes two units and does not fit in the last one.
    std::string wide = std::string(126, 'd') + "\xF0\x9F\x98\x80";
    EXPECT_EQ(filter_of(wide.c_str(), {"*.x"})[0].first, std::string(126, 'd'));

    // Patterns that would pass the 1,023-unit filter text are left out whole.
    std::vector<std::string> many(200, "*.abc");
    std::vector<const char*> pointers;
    for (auto& p : many) pointers.push_back(p.c_str());
    auto cut = filter_of("D", pointers);
    ASSERT_EQ(cut.size(), 2u);
    const std::string& joined = cut[0].second;
    size_t kept = (joined.size() + 1) / 6;
    EXPECT_EQ(joined.size(), kept * 6 - 1);  // whole patterns only
    EXPECT_LE(1 + 1 + joined.size() + 1 + 14, 1023u);
    EXPECT_GT(1 + 1 + joined.size() + 6 + 1 + 14, 1023u);
}

TEST(ChooserFilter, NamesMatchPatternListsIgnoringCase) {
    struct match_case {
        const char* patterns;
        const char* name;
        bool matches;
    };
    const match_case cases[] = {
        {"*.BAS", "prog.bas", true},      {"*.bas", "PROG.BAS", true},    {"*.*", "README", true},
        {"*.bas;*.bi", "x.bi", true},     {"*.bas;*.bi", "x.bix", false}, {"*.bas", "prog.basx", false},
        {"a?c", "abc", true},             {"a?c", "ac", false},           {"a?c", "a\xC3\xA9" "c", true},
        {"*", "", true},                  {"x*y*z", "xaaybbz", true},     {"x*y*z", "xaaybb", false},
        {"", "a", false},                 {";*.q", "p.q", true},          {"\xC3\xA9*", "\xC3\x89x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooser_name_matches(c.patterns, c.name), c.matches) << c.patterns << " / " << c.name;
}

TEST(ChooserDefaultPath, SplitsAtTheLastSeparator) {
    struct split_case {
        const char* path;
        const char* folder;
        const char* file;
    };
    const split_case cases[] = {
        {"a/b/c.txt", "a/b", "c.txt"}, {"c.txt", "", "c.txt"}, {"a/", "a", ""},
        {"C:\\x\\y.txt", "C:\\x", "y.txt"}, {"a\\b/c", "a\\b", "c"}, {"/f", "/", "f"},
        {"\\f", "/", "f"}, {"", "", ""}, {nullptr, "", ""},
    };
    for (const auto& c : cases) {
        chooser_start start = chooser_split_default_path(c.path);
        EXPECT_EQ(start.folder, c.folder) << (c.path ? c.path : "(null)");
        EXPECT_EQ(start.file, c.file) << (c.path ? c.path : "(null)");
    }
}

TEST(ChooserDefaultExtension, OnlyAPlainExtensionIsAddedToANameWithoutOne) {
    struct extension_case {
        const char* name;
        const char* pattern;
        const char* result;
    };
    const extension_case cases[] = {
        {"notes", "*.txt", "notes.txt"},   {"notes.md", "*.txt", "notes.md"},  {"notes", "*.t?t", "notes"},
        {"notes", "*.*", "notes"},         {"notes", "*", "notes"},            {"notes", nullptr, "notes"},
        {"d.x/notes", "*.txt", "d.x/notes.txt"}, {"d/", "*.txt", "d/"},        {"notes", "x.txt", "notes"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooser_default_extension(c.name, c.pattern), c.result) << c.name << " / " << (c.pattern ? c.pattern : "");
}

TEST(ChooserChecks, SaveAnswers) {
    chooser_folder d;
    const std::string refused[] = {"", "/nonexist/x", d / "a?b", d.path() + "/", d / "a:b", d / "a\"b", d / "a<b",
                                   d / "a>b", d / "a|b", d / "a*b", d / "a/b"};
    for (const auto& answer : refused) EXPECT_EQ(chooser_check_save(answer), std::nullopt) << answer;
    const std::string kept[] = {d / "ok.txt", "ok.txt", "/f", "X:/f", d.path() + "\\ok"};
    for (const auto& answer : kept) EXPECT_EQ(chooser_check_save(answer), answer) << answer;
}

TEST(ChooserChecks, OpenAnswersKeepOnlyExistingFiles) {
    chooser_folder d;
    std::string a = d / "a", b = d / "b", c = d / "c", s = d / "s";
    struct open_case {
        std::string answer;
        bool several;
        std::optional<std::string> result;
    };
    const open_case cases[] = {
        {a + "|" + c + "|" + b, true, a + "|" + b},
        {c + "|" + d / "x", true, std::nullopt},
        {a, true, a},
        {c + "|" + a, true, a},
        {a + "|", true, a},
        {c, false, std::nullopt},
        {s, false, std::nullopt},
        {"", false, std::nullopt},
        {"", true, std::nullopt},
        {a + "|" + b, false, std::nullopt},  // one name that does not exist
        {a, false, a},
    };
    for (const auto& c : cases) EXPECT_EQ(chooser_check_open(c.answer, c.several, false), c.result) << c.answer;
}

TEST(ChooserChecks, OpenWithReadingRequiredRefusesUnreadableFiles) {
    chooser_folder d;
    chmod(d.path().c_str(), 0755);
    chmod((d / "a").c_str(), 0);
    // Root reads every file: the check runs as an ordinary user in a child.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
        bool ok = chooser_check_open(d / "a", false, false) == d / "a" &&
                  chooser_check_open(d / "a", false, true) == std::nullopt &&
                  chooser_check_open(d / "a|" + d / "b", true, true) == d / "b";
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(ChooserChecks, FoldersAndPathIsDirectory) {
    chooser_folder d;
    EXPECT_TRUE(tfd_pathIsDirectory(""));
    EXPECT_TRUE(tfd_pathIsDirectory("X:"));
    EXPECT_TRUE(tfd_pathIsDirectory(d.path().c_str()));
    EXPECT_TRUE(tfd_pathIsDirectory((d.path() + "\\s").c_str()));
    EXPECT_FALSE(tfd_pathIsDirectory((d / "a").c_str()));
    EXPECT_FALSE(tfd_pathIsDirectory((d / "missing").c_str()));
    EXPECT_FALSE(tfd_pathIsDirectory(nullptr));

    EXPECT_EQ(chooser_check_folder(d / "s"), d / "s");
    EXPECT_EQ(chooser_check_folder("."), ".");
    EXPECT_EQ(chooser_check_folder(d / "a"), std::nullopt);
    EXPECT_EQ(chooser_check_folder(""), std::nullopt);
}

TEST(ChooserColour, TextParsingAndFormat) {
    struct colour_case {
        const char* text;
        bool valid;
        uint8_t r, g, b;
    };
    const colour_case cases[] = {
        {"#F5CA20", true, 245, 202, 32}, {"#00ff00", true, 0, 255, 0}, {"f5ca20", false, 0, 0, 0},
        {"#F5CA2", false, 0, 0, 0},      {"#GGGGGG", false, 0, 0, 0},   {"#F5CA200", false, 0, 0, 0},
        {"", false, 0, 0, 0},            {"#-1CA20", false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        uint8_t rgb[3] = {7, 7, 7};
        EXPECT_EQ(chooser_parse_colour(c.text, rgb), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(rgb[0], c.r);
            EXPECT_EQ(rgb[1], c.g);
            EXPECT_EQ(rgb[2], c.b);
        } else {
            EXPECT_EQ(rgb[0] + rgb[1] + rgb[2], 21) << "untouched: " << c.text;
        }
    }
    const uint8_t green[3] = {0, 255, 0}, mixed[3] = {16, 32, 171};
    EXPECT_EQ(chooser_colour_text(green), "#00ff00");
    EXPECT_EQ(chooser_colour_text(mixed), "#1020ab");
}

TEST(ChooserCut, CutsFallOnCharacterBoundaries) {
    std::string e600;
    for (int i = 0; i < 600; i++) e600 += "\xC3\xA9";
    EXPECT_EQ(chooser_cut_bytes(e600, 1023).size(), 1022u);
    EXPECT_EQ(chooser_cut_bytes(e600, 1022).size(), 1022u);
    EXPECT_EQ(chooser_cut_bytes("abc", 2), "ab");
    EXPECT_EQ(chooser_cut_bytes("ab\xF0\x9F\x98\x80", 5), "ab");
    EXPECT_EQ(chooser_cut_bytes("ab", 5), "ab");
    EXPECT_EQ(chooser_cut_units("ab\xF0\x9F\x98\x80", 3), "ab");
    EXPECT_EQ(chooser_cut_units("ab\xF0\x9F\x98\x80", 4), "ab\xF0\x9F\x98\x80");
    EXPECT_EQ(chooser_cut_units("\xC3\xA9\xC3\xA9", 1), "\xC3\xA9");
}

}  // namespace
