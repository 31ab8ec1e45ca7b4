// The choosers' folder lists, selection and Enter, on a scratch folder.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "dialog/chooser_file_model.h"
#include "dialog/chooser_folder_fixture.h"

namespace {

std::vector<std::string> names(const std::vector<chooser_entry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries) out.push_back(e.folder ? e.name + "/" : e.name);
    return out;
}

using strings = std::vector<std::string>;

class ChooserModel : public ::testing::Test {
protected:
    chooser_folder d;
    void SetUp() override {
        for (const char* f : {"B.BAS", "c.bi", "a.txt", "Z"}) std::ofstream(d / f) << "x";
        mkdir((d / "T").c_str(), 0755);
        mkdir((d / "s/inner").c_str(), 0755);
    }
};

TEST_F(ChooserModel, ListsShowParentFoldersThenFilesThatPassTheFilter) {
    struct list_case {
        const char* patterns;
        bool folders_only;
        strings listed;
    };
    const list_case cases[] = {
        {"", false, {"../", "s/", "T/", "a", "a.txt", "b", "B.BAS", "c.bi", "Z"}},
        {"*.bas;*.BI", false, {"../", "s/", "T/", "B.BAS", "c.bi"}},
        {"*.*", false, {"../", "s/", "T/", "a", "a.txt", "b", "B.BAS", "c.bi", "Z"}},
        {"*.none", false, {"../", "s/", "T/"}},
        {"", true, {"../", "s/", "T/"}},
    };
    for (const auto& c : cases) {
        std::vector<chooser_entry> entries;
        EXPECT_TRUE(chooser_list_folder(d.path(), c.patterns, c.folders_only, &entries));
        EXPECT_EQ(names(entries), c.listed) << c.patterns;
    }
    std::vector<chooser_entry> entries;
    EXPECT_FALSE(chooser_list_folder(d / "missing", "", false, &entries));
    EXPECT_EQ(names(entries), strings{"../"});
    EXPECT_TRUE(chooser_list_folder("/", "", true, &entries));
    EXPECT_NE(names(entries).front(), "../");
}

TEST_F(ChooserModel, JoinsAndStartFolders) {
    EXPECT_EQ(chooser_join("/", "f"), "/f");
    EXPECT_EQ(chooser_join("/a/b", "f"), "/a/b/f");
    EXPECT_EQ(chooser_join("/a/b", ".."), "/a");
    EXPECT_EQ(chooser_join("/a", ".."), "/");
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    EXPECT_EQ(chooser_start_folder(""), cwd);
    EXPECT_EQ(chooser_start_folder(d / "missing"), cwd);
    EXPECT_EQ(chooser_start_folder(d / "a"), cwd);
    EXPECT_EQ(chooser_start_folder(d.path() + "/s/inner/.."), d / "s");
    EXPECT_EQ(chooser_start_folder(d.path() + "\\s"), d / "s");
}

TEST_F(ChooserModel, StartsInTheDefaultPathsFolderWithItsFileName) {
    const char* patterns[] = {"*.bas", "*.bi"};
    chooser_file_model m = chooser_file_start(chooser_kind::open, true, (d / "s/x.bas").c_str(), 2, patterns, nullptr);
    EXPECT_EQ(m.folder, d / "s");
    EXPECT_EQ(m.name, "x.bas");
    ASSERT_EQ(m.filters.size(), 2u);
    EXPECT_EQ(names(m.entries), (strings{"../", "inner/"}));
    chooser_file_enter(&m, d.path());
    EXPECT_EQ(names(m.entries), (strings{"../", "s/", "T/", "B.BAS", "c.bi"}));
    chooser_file_next_filter(&m);
    EXPECT_EQ(m.entries.size(), 9u);
    chooser_file_next_filter(&m);
    EXPECT_EQ(m.entries.size(), 5u);

    chooser_file_model f = chooser_file_start(chooser_kind::folder, false, (d / "s").c_str(), 0, nullptr, nullptr);
    EXPECT_EQ(f.name, d / "s");
    EXPECT_EQ(names(f.entries), (strings{"../", "inner/"}));
}

size_t index_of(const chooser_file_model& m, const std::string& name) {
    for (size_t i = 0; i < m.entries.size(); i++)
        if (m.entries[i].name == name) return i;
    return m.entries.size();
}

TEST_F(ChooserModel, OpenTakesTypedNamesOrTheSelection) {
    chooser_file_model m = chooser_file_start(chooser_kind::open, true, (d.path() + "/").c_str(), 0, nullptr, nullptr);
    struct typed_case {
        const char* typed;
        chooser_outcome::kind_t kind;
        std::string path;
    };
    const typed_case cases[] = {
        {"a", chooser_outcome::answer, d / "a"},
        {"zz", chooser_outcome::stay, ""},  // a missing file keeps the chooser open
        {"s/../b", chooser_outcome::answer, d / "s/../b"},
    };
    for (const auto& c : cases) {
        m.name = c.typed;
        chooser_outcome out = chooser_file_accept(&m, false);
        EXPECT_EQ(out.kind, c.kind) << c.typed;
        EXPECT_EQ(out.path, c.path) << c.typed;
        EXPECT_EQ(m.folder, d.path());
    }

    // Several selected with toggles: the answer follows the list's order.
    m.name.clear();
    chooser_file_pick(&m, index_of(m, "b"), true);
    EXPECT_EQ(m.name, "b");
    chooser_file_pick(&m, index_of(m, "a"), true);
    EXPECT_EQ(m.name, "");
    chooser_file_pick(&m, index_of(m, "s"), true);  // folders are not selected by a toggle
    chooser_outcome out = chooser_file_accept(&m, true);
    EXPECT_EQ(out.kind, chooser_outcome::answer);
    EXPECT_EQ(out.path, d / "a" + "|" + d / "b");

    // A typed folder is entered, and so is the folder under the cursor with nothing selected.
    m.name = "s";
    EXPECT_EQ(chooser_file_accept(&m, false).kind, chooser_outcome::stay);
    EXPECT_EQ(m.folder, d / "s");
    EXPECT_EQ(m.name, "");
    chooser_file_pick(&m, index_of(m, "inner"), false);
    EXPECT_EQ(chooser_file_accept(&m, true).kind, chooser_outcome::stay);
    EXPECT_EQ(m.folder, d / "s/inner");
    chooser_file_pick(&m, index_of(m, ".."), false);
    chooser_file_accept(&m, true);
    chooser_file_pick(&m, index_of(m, ".."), false);
    chooser_file_accept(&m, true);
    EXPECT_EQ(m.folder, d.path());
}

TEST_F(ChooserModel, ASinglePickReplacesTheSelection) {
    chooser_file_model m = chooser_file_start(chooser_kind::open, false, (d.path() + "/").c_str(), 0, nullptr, nullptr);
    chooser_file_pick(&m, index_of(m, "a"), true);  // no toggling with one file allowed
    chooser_file_pick(&m, index_of(m, "b"), true);
    EXPECT_EQ(m.name, "b");
    chooser_outcome out = chooser_file_accept(&m, true);
    EXPECT_EQ(out.kind, chooser_outcome::answer);
    EXPECT_EQ(out.path, d / "b");
}

TEST_F(ChooserModel, SaveNeedsAFolderAndAsksBeforeReplacing) {
    const char* patterns[] = {"*.txt"};
    chooser_file_model m = chooser_file_start(chooser_kind::save, false, (d / "new").c_str(), 1, patterns, "Text");
    EXPECT_EQ(m.name, "new");
    struct save_case {
        const char* typed;
        chooser_outcome::kind_t kind;
        std::string path;
    };
    const save_case cases[] = {
        {"new", chooser_outcome::answer, d / "new.txt"},        // the default extension
        {"notes.md", chooser_outcome::answer, d / "notes.md"},
        {"a", chooser_outcome::confirm_replace, d / "a.txt"},   // the name with its extension exists
        {"a.txt", chooser_outcome::confirm_replace, d / "a.txt"},
        {"Z", chooser_outcome::answer, d / "Z.txt"},
        {"missing/x", chooser_outcome::stay, ""},               // a missing folder keeps it open
        {"/f", chooser_outcome::answer, "/f.txt"},
    };
    for (const auto& c : cases) {
        m.name = c.typed;
        chooser_outcome out = chooser_file_accept(&m, false);
        EXPECT_EQ(out.kind, c.kind) << c.typed;
        EXPECT_EQ(out.path, c.path) << c.typed;
    }
}

TEST_F(ChooserModel, TheFolderChooserAnswersItsField) {
    chooser_file_model m = chooser_file_start(chooser_kind::folder, false, d.path().c_str(), 0, nullptr, nullptr);
    chooser_file_pick(&m, index_of(m, "s"), false);
    EXPECT_EQ(m.name, d.path());  // moving in the list leaves the field
    EXPECT_EQ(chooser_file_accept(&m, true).kind, chooser_outcome::stay);
    EXPECT_EQ(m.name, d / "s");
    chooser_outcome out = chooser_file_accept(&m, false);
    EXPECT_EQ(out.kind, chooser_outcome::answer);
    EXPECT_EQ(out.path, d / "s");
    m.name = "inner/..";
    EXPECT_EQ(chooser_file_accept(&m, false).path, d / "s");
    m.name = "/";
    EXPECT_EQ(chooser_file_accept(&m, false).path, "/");
    m.name = "nothing";
    EXPECT_EQ(chooser_file_accept(&m, false).path, d / "s/nothing");
}

// On this system '\' is a byte of a name. Names from the listing are used as they are,
// never read as runtime paths: "a\b.txt" is not a/b.txt, "c\d" has no c/d beside it,
// and the folder "e\f" is entered as itself.
TEST_F(ChooserModel, ListedNamesWithABackslashAreUsedAsTheyAre) {
    const std::string x = d / "x";
    mkdir(x.c_str(), 0755);
    mkdir((x + "/a").c_str(), 0755);
    std::ofstream(x + "/a/b.txt") << "x";
    std::ofstream(x + "/a\\b.txt") << "x";
    std::ofstream(x + "/c\\d") << "x";
    mkdir((x + "/e\\f").c_str(), 0755);
    std::ofstream(x + "/e\\f/g") << "x";
    mkdir((x + "/s").c_str(), 0755);
    std::ofstream(x + "/s/b") << "x";
    chooser_file_model m = chooser_file_start(chooser_kind::open, false, (x + "/").c_str(), 0, nullptr, nullptr);
    EXPECT_EQ(names(m.entries), (strings{"../", "a/", "e\\f/", "s/", "a\\b.txt", "c\\d"}));
    for (const char* name : {"a\\b.txt", "c\\d"}) {
        chooser_file_pick(&m, index_of(m, name), false);
        EXPECT_EQ(m.name, name);
        chooser_outcome out = chooser_file_accept(&m, true);
        EXPECT_EQ(out.kind, chooser_outcome::answer) << name;
        EXPECT_EQ(out.path, x + "/" + name);
        // The graphic route's answer is checked as the system path it is.
        EXPECT_EQ(chooser_check_open(out.path, false, false, true), x + "/" + name);
    }
    // A typed name is a runtime path: '\' separates.
    m.name = "s\\b";
    EXPECT_EQ(chooser_file_accept(&m, false).path, x + "/s/b");

    chooser_file_pick(&m, index_of(m, "e\\f"), false);
    EXPECT_EQ(chooser_file_accept(&m, true).kind, chooser_outcome::stay);
    EXPECT_EQ(m.folder, x + "/e\\f");
    EXPECT_EQ(names(m.entries), (strings{"../", "g"}));
    chooser_file_pick(&m, index_of(m, "g"), false);
    EXPECT_EQ(chooser_file_accept(&m, true).path, x + "/e\\f/g");

    chooser_file_model f = chooser_file_start(chooser_kind::folder, false, x.c_str(), 0, nullptr, nullptr);
    chooser_file_pick(&f, index_of(f, "e\\f"), false);
    chooser_file_accept(&f, true);
    chooser_outcome folder = chooser_file_accept(&f, false);
    EXPECT_EQ(folder.path, x + "/e\\f");
    EXPECT_EQ(chooser_check_folder(folder.path, true), x + "/e\\f");
}

}  // namespace
