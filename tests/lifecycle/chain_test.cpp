// CHAIN starting its target with the state file, and the target's restore.
#include <sys/stat.h>

#include "file/file_numbers.h"
#include "lifecycle/chain_fixture.h"
#include "platform/exe_path.h"

namespace {

std::string cwd() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? buffer : "";
}

// A state file as CHAIN writes it, for the current screen and the given folder.
void write_state_file(const std::string& path, const std::string& folder) {
    std::vector<uint8_t> bytes;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; i++) bytes.push_back(uint8_t(v >> (8 * i)));
    };
    u32(512);
    u32(uint32_t(folder.size()));
    bytes.insert(bytes.end(), folder.begin(), folder.end());
    chain_encode_screen_state(bytes);
    u32(0);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST_F(ChainTest, TheTargetsPrologueTakesTheTagAndTheFile) {
    screen(0);
    struct {
        std::vector<std::string> argv;
        bool file_present;
        std::string after;
        int32_t count_after, error;
        bool handed_over;
    } cases[] = {
        {{"p", "a", "(unique-tag:=/@*$+-)chain123.tmp"}, true, "a", 1, 0, true},
        {{"p", "(unique-tag:=/@*$+-)chain123.tmp"}, true, "", 0, 0, true},
        {{"p", "a", "(unique-tag:=/@*$+_)chain123.tmp"}, true, "a (unique-tag:=/@*$+_)chain123.tmp", 2, 0, false},
        {{"p", "a", "(unique-tag:=/@*$+-)chain123.TMP"}, true, "a (unique-tag:=/@*$+-)chain123.TMP", 2, 0, false},
        {{"p", "a", "(unique-tag:=/@*$+-)chain1x3.tmp"}, true, "a (unique-tag:=/@*$+-)chain1x3.tmp", 2, 0, false},
        {{"p", "a x(unique-tag:=/@*$+-)chain123.tmp"}, true, "a x(unique-tag:=/@*$+-)chain123.tmp", 1, 0, false},
        {{"p", "a", "(unique-tag:=/@*$+-)chain123.tmp"}, false, "a", 1, 53, false},
    };
    std::string folder = dir + "/stored";
    mkdir(folder.c_str(), 0755);
    for (const auto& c : cases) {
        ASSERT_EQ(chdir(dir.c_str()), 0);
        clear_error();
        remove("chain123.tmp");
        if (c.file_present) write_state_file("chain123.tmp", folder);
        command_line_is(c.argv);
        chain_input();
        EXPECT_EQ(new_error.load(), c.error) << c.argv.back();
        clear_error();
        EXPECT_EQ(std::string(command_line()), c.after) << c.argv.back();
        EXPECT_EQ(func__commandcount(), c.count_after) << c.argv.back();
        EXPECT_EQ(cwd(), c.handed_over ? folder : dir) << c.argv.back();
        bool left = access((dir + "/chain123.tmp").c_str(), F_OK) == 0;
        EXPECT_EQ(left, c.file_present && !c.handed_over) << c.argv.back();  // deleted, and never created
    }
}

// Folders that came from the system are used as they are: a '\' in their names is an
// ordinary byte, never a separator.
TEST_F(ChainTest, FoldersFromTheSystemKeepTheirBackslashes) {
    screen(0);
    const std::string stored = dir + "/w\\x";
    for (const std::string& folder : {dir + "/w", dir + "/w/x", stored}) mkdir(folder.c_str(), 0755);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    write_state_file("chain123.tmp", stored);
    command_line_is({"p", "(unique-tag:=/@*$+-)chain123.tmp"});
    chain_input();
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(cwd(), stored) << "the caller's folder, not w/x";

    // The state file is deleted where it was moved, by its own path.
    for (const std::string& folder : {dir + "/w/x", stored}) std::ofstream(folder + "/chain456.tmp") << "s";
    chain_files().kill(stored + "/chain456.tmp");
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_NE(access((stored + "/chain456.tmp").c_str(), F_OK), 0);
    EXPECT_EQ(access((dir + "/w/x/chain456.tmp").c_str(), F_OK), 0);
}

TEST_F(ChainTest, AStoredFolderLengthOutOfRangeKeepsTheFolder) {
    screen(0);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    const uint8_t bad[] = {0, 2, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};  // 512, -1
    std::ofstream("chain500.tmp", std::ios::binary).write(reinterpret_cast<const char*>(bad), sizeof bad);
    command_line_is({"p", "(unique-tag:=/@*$+-)chain500.tmp"});
    chain_input();
    EXPECT_EQ(cwd(), dir);
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_NE(access("chain500.tmp", F_OK), 0);
}

TEST_F(ChainTest, AScreenTheTargetCannotSetStillClosesAndDeletesTheStateFile) {
    screen(0);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    std::string folder = dir + "/stored";
    mkdir(folder.c_str(), 0755);
    const uint8_t records[] = {0, 2, 0, 0, 0, 0, 0, 0,  // 512, no folder
                               0, 1, 0, 0, 99, 0, 0, 0,  // SCREEN 99
                               0xFF, 1, 0, 0, 0, 0, 0, 0};
    std::ofstream("chain321.tmp", std::ios::binary).write(reinterpret_cast<const char*>(records), sizeof records);
    command_line_is({"p", "(unique-tag:=/@*$+-)chain321.tmp"});
    chain_input();
    EXPECT_EQ(new_error.load(), 5);
    EXPECT_NE(access("chain321.tmp", F_OK), 0);
    EXPECT_EQ(func_freefile(), 1);
    EXPECT_EQ(std::string(command_line()), "");
}

TEST_F(ChainTest, TheTargetStartsWithTheTagAndFindsTheStateFileBesideIt) {
    std::string target = dir + "/sub";
    mkdir(target.c_str(), 0755);
    std::string marker = dir + "/marker";
    std::string script = target + "/next";
    std::ofstream(script) << "#!/bin/sh\n"
                          << "cd \"$(dirname \"$0\")\"\n"
                          << "{ printf '%s|' \"$@\"; echo; ls chain*.tmp; } > '" << marker << ".part'\n"
                          << "mv '" << marker << ".part' '" << marker << "'\n";
    chmod(script.c_str(), 0755);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    screen(13);
    EXPECT_EXIT(
        {
            end_set_park_hook([] { _exit(close_program.load() ? 42 : 43); });
            zvs* t = zvs_new_txt("sub/next.bas");
            sub_chain(t);
            _exit(44);
        },
        ::testing::ExitedWithCode(42), "");
    for (int i = 0; i < 500 && access(marker.c_str(), F_OK) != 0; i++) usleep(10000);  // the target runs on
    std::string seen = contents(marker);
    ASSERT_FALSE(seen.empty());
    std::string arg = seen.substr(0, seen.find('\n'));
    EXPECT_EQ(arg.substr(0, 25), "(unique-tag:=/@*$+-)chain");
    std::string name = arg.substr(20, 12);
    EXPECT_EQ(arg, "(unique-tag:=/@*$+-)" + name + "|");  // one argument, byte for byte
    EXPECT_EQ(seen, arg + "\n" + name + "\n");  // moved beside the target before it started
    EXPECT_TRUE(state_files_in(dir).empty());
}

TEST_F(ChainTest, NoTargetAndNoCompilerIsFileNotFoundAndLeavesNoStateFile) {
    ASSERT_EQ(chdir(dir.c_str()), 0);
    screen(0);
    std::string own = libzv_executable_folder();
    auto own_before = state_files_in(own);
    sub_chain(zvs_new_txt("missing.bas"));
    EXPECT_EQ(new_error.load(), 53);
    EXPECT_TRUE(state_files_in(dir).empty());
    EXPECT_EQ(state_files_in(own), own_before);
    EXPECT_EQ(close_program.load(), 0);
}

TEST_F(ChainTest, AFailedStateFileWriteStartsNothing) {
    std::string marker = dir + "/ran";
    std::string script = dir + "/next";
    std::ofstream(script) << "#!/bin/sh\ntouch '" << marker << "'\n";
    chmod(script.c_str(), 0755);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    screen(0);
    static chain_file_ops failing;
    failing = chain_files();
    failing.put = [](int32_t, const void*, int64_t) { error(61); };  // disk full
    chain_set_file_ops(&failing);
    sub_chain(zvs_new_txt("next.bas"));
    EXPECT_EQ(new_error.load(), 61);
    usleep(200000);
    EXPECT_NE(access(marker.c_str(), F_OK), 0);
    EXPECT_EQ(close_program.load(), 0);
}

TEST_F(ChainTest, AnEmptyTargetIsFileNotFound) {
    sub_chain(zvs_new_txt(""));
    EXPECT_EQ(new_error.load(), 53);
}

}  // namespace
