// _DIR$: keywords, the XDG user folders, creation and the fall-backs.
#include <filesystem>

#include "path/folders.h"
#include "path/path_fixture.h"

namespace fs = std::filesystem;

class SpecialFolders : public PathTest {
protected:
    std::string home;
    void SetUp() override {
        PathTest::SetUp();
        home = root + "/home";
        fs::create_directories(home + "/.config");
    }
    std::string dir(const std::string& keyword) { return str(func__dir(s(keyword))); }
};

TEST_F(SpecialFolders, KeywordsSelectTheirKindIgnoringCase) {
    const struct { const char* keyword; int32_t kind; } cases[] = {
        {"HOME", 0}, {"USER PROFILE", 0}, {"DESKTOP", 1}, {"MY DOCUMENTS", 2}, {"TEXT", 2}, {"CAMERA ROLL", 3},
        {"SOUNDS", 4}, {"MY VIDEOS", 5}, {"DOWNLOAD", 6}, {"DATA", 7}, {"LOCAL DATA", 8}, {"COMMON PROGRAM DATA", 9},
        {"FONTS", 10}, {"USER FONTS", 11}, {"TEMP FILES", 12}, {"PROGRAM FILES", 13}, {"PROGRAMFILES(X86)", 14},
        {"PROGRAM FILES 86", 14}, {"", 1}, {"DESKTP", 1}, {"MY  DOCUMENTS", 1}, {" HOME", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(special_folder_kind(c.keyword), c.kind) << c.keyword;
}

TEST_F(SpecialFolders, UserFoldersComeFromUserDirsAndAreCreated) {
    write(home + "/.config/user-dirs.dirs",
          "# written by xdg-user-dirs-update\n"
          "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n"
          "XDG_MUSIC_DIR=\"" + root + "/tunes\"\n"
          "XDG_PICTURES_DIR=relative/not/taken\n"
          "  XDG_VIDEOS_DIR=\"$HOME/Old\"\n"
          "XDG_VIDEOS_DIR=\"$HOME/Film \\\"x\\\"\"\n");
    EXPECT_EQ(dir("my documents"), home + "/Docs/");
    EXPECT_EQ(dir("DOCUMENTS"), home + "/Docs/");
    EXPECT_TRUE(fs::is_directory(home + "/Docs"));
    EXPECT_EQ(dir("Music"), root + "/tunes/");
    EXPECT_EQ(dir("pictures"), home + "/Pictures/");
    EXPECT_EQ(dir("videos"), home + "/Film \"x\"/") << "the last line wins; escapes taken";
    EXPECT_EQ(dir("HOME"), home + "/");
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(SpecialFolders, UnknownKeywordsGiveTheDesktop) {
    EXPECT_EQ(dir(""), home + "/Desktop/");
    EXPECT_EQ(dir("desktp"), home + "/Desktop/");
    EXPECT_EQ(dir("DESKTOP"), home + "/Desktop/");
}

TEST_F(SpecialFolders, DownloadsIsCreatedUnderTheProfile) {
    ASSERT_FALSE(fs::exists(home + "/Downloads"));
    EXPECT_EQ(dir("DOWNLOADS"), home + "/Downloads/");
    EXPECT_TRUE(fs::is_directory(home + "/Downloads"));
}

TEST_F(SpecialFolders, FoldersThatCannotBeFoundFallBackToTheProfile) {
    EXPECT_EQ(dir("USERFONTS"), home + "/") << "no fonts folder under the local data";
    fs::create_directories(home + "/.local/share/fonts");
    EXPECT_EQ(dir("USER FONT"), home + "/.local/share/fonts/");
    // The parent of a user folder is missing: only the last part is ever created.
    write(home + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/no/Desk\"\n");
    EXPECT_EQ(dir("DESKTOP"), home + "/");
    EXPECT_FALSE(fs::exists(home + "/no"));
}

TEST_F(SpecialFolders, ApplicationDataFollowsXdgAndIsPrivate) {
    EXPECT_EQ(dir("APPDATA"), home + "/.config/");
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    EXPECT_EQ(dir("LOCALAPPDATA"), root + "/data/");
    EXPECT_EQ(fs::status(root + "/data").permissions() & fs::perms::all, fs::perms::owner_all);
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(dir("APPDATA"), home + "/.config/") << "a relative XDG variable is ignored";
}

TEST_F(SpecialFolders, TemporaryFolder) {
    fs::create_directory(root + "/tmp");
    setenv("TMPDIR", (root + "/tmp").c_str(), 1);
    EXPECT_EQ(dir("TEMP"), root + "/tmp/");
    setenv("TMPDIR", (root + "/missing").c_str(), 1);
    EXPECT_EQ(dir("TMP"), "/tmp/");
}

TEST_F(SpecialFolders, SystemFoldersAreNeverCreated) {
    setenv("XDG_DATA_DIRS", ("relative:" + root + "/shared:/usr/share").c_str(), 1);
    EXPECT_EQ(dir("PROGRAMDATA"), home + "/") << "the first absolute entry does not exist";
    EXPECT_FALSE(fs::exists(root + "/shared"));
    fs::create_directory(root + "/shared");
    EXPECT_EQ(dir("PROGRAMDATA"), root + "/shared/");
    std::string programs = dir("PROGRAMFILES");
    EXPECT_EQ(programs, fs::is_directory("/opt") ? "/opt/" : home + "/");
    EXPECT_EQ(dir("PROGRAM FILES (X86)"), programs);
}

TEST_F(SpecialFolders, WithoutHomeThePasswordEntryIsTheProfile) {
    // Outside 0 to 14 asks the profile folder.
    unsetenv("HOME");
    std::string fallback = FS_GetSpecialFolder(99);
    EXPECT_EQ(fallback.back(), '/');
    EXPECT_EQ(FS_GetSpecialFolder(0), fallback);
    setenv("HOME", (root + "/home").c_str(), 1);
    EXPECT_EQ(FS_GetSpecialFolder(-1), home + "/");
}

TEST_F(SpecialFolders, RunsWhileAnErrorIsPendingAndConsumesItsArgument) {
    error(5);
    int64_t before = zvs_heap_info_now().live_descriptors;
    zvs* keyword = zvs_new(4, 1);
    memcpy(keyword->text, "home", 4);
    EXPECT_EQ(str(func__dir(keyword)), home + "/");
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, before + 1);
    EXPECT_EQ(new_error.load(), 5);
}
