// CHAIN starting its target with the state file, and the target's restore.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "file/file_numbers.h"
#include "image/image_statements.h"
#include "lifecycle/chain_fixture.h"
#include "platform/exe_path.h"
#include "support/peak_memory.h"
#include "support/private_tmpfs.h"

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

// Anyone who can write to the folder can put something at the tagged name. Only a plain
// file of the user's, reached without following a link, is read and deleted; anything
// else is a missing state file: error 53, no restore, the folder kept, the name left as
// it is. Every state file here hands over SCREEN 13 and the folder "/".
TEST_F(ChainTest, OnlyAPlainStateFileOfTheUsersOwnIsRestored) {
    screen(13);
    const std::string elsewhere = dir + "/elsewhere", name = dir + "/chain123.tmp";
    write_state_file(elsewhere, "/");
    const std::string state = contents(elsewhere);
    const struct {
        const char* what;
        const char* after;
    } rows[] = {
        {"a plain file of the user's", "error 0, restored, folder /, the name deleted"},
        {"a link to the user's state file", "error 53, not restored, folder kept, the name left"},
        {"a FIFO", "error 53, not restored, folder kept, the name left"},
        {"a folder", "error 53, not restored, folder kept, the name left"},
        {"a file of another user", "error 53, not restored, folder kept, the name left"},
        {"nothing", "error 53, not restored, folder kept, no name"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string what = row.what;
        if (what == "a file of another user" && geteuid() != 0) continue;  // only root can give a file away
        ASSERT_EQ(chdir(dir.c_str()), 0);
        std::system(("rm -rf '" + name + "'").c_str());
        pid_t feeder = -1;
        if (what == "a plain file of the user's" || what == "a file of another user") {
            std::ofstream(name, std::ios::binary) << state;
            if (what == "a file of another user") {
                ASSERT_EQ(chown(name.c_str(), 65534, 65534), 0);
            }
        } else if (what == "a link to the user's state file") {
            ASSERT_EQ(symlink(elsewhere.c_str(), name.c_str()), 0);
        } else if (what == "a FIFO") {
            // With someone ready to write the state into it, so that a reader that
            // takes it gets a whole hand-over rather than a wait.
            ASSERT_EQ(mkfifo(name.c_str(), 0600), 0);
            feeder = fork();
            if (feeder == 0) {
                int fd = open(name.c_str(), O_WRONLY);
                if (fd >= 0 && write(fd, state.data(), state.size()) < 0) _exit(1);
                _exit(0);
            }
        } else if (what == "a folder") {
            ASSERT_EQ(mkdir(name.c_str(), 0755), 0);
        }
        screen(0);
        clear_error();
        command_line_is({"p", "(unique-tag:=/@*$+-)chain123.tmp"});
        chain_input();
        std::string report = "error " + std::to_string(new_error.load());
        clear_error();
        report += img_get(page_index(0))->legacy_mode == 13 ? ", restored" : ", not restored";
        report += cwd() == "/" ? ", folder /" : cwd() == dir ? ", folder kept" : ", folder " + cwd();
        struct stat st;
        bool there = lstat(name.c_str(), &st) == 0;
        bool as_it_was = S_ISLNK(st.st_mode) ? what == "a link to the user's state file"
                         : S_ISFIFO(st.st_mode) ? what == "a FIFO"
                         : S_ISDIR(st.st_mode)  ? what == "a folder"
                                                : S_ISREG(st.st_mode) && contents(name) == state;
        report += !there       ? (what == "nothing" ? ", no name" : ", the name deleted")
                  : as_it_was ? ", the name left"
                              : ", the name changed";
        EXPECT_EQ(report, row.after);
        if (feeder > 0) {
            kill(feeder, SIGKILL);
            waitpid(feeder, nullptr, 0);
        }
        EXPECT_EQ(contents(elsewhere), state) << "the file behind the link";
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

// A state file shorter than the screen or page it declares ends the restore before
// anything of that size is made: no error, the file deleted.
TEST_F(ChainTest, AShortStateFileNeverMakesTheScreenOrPageItDeclares) {
    auto words = [](std::initializer_list<uint32_t> list) {
        std::string out;
        for (uint32_t w : list)
            for (int i = 0; i < 4; i++) out += char(w >> (8 * i));
        return out;
    };
    // A whole 8 x 8 32-bit screen with one page, then page 9 with nothing after it.
    screen(0);
    zvg_screen(func__newimage(8, 8, 32, 1), 0, 0, 0, 0, 1);
    std::vector<uint8_t> small;
    chain_encode_screen_state(small);
    small.resize(small.size() - 16);  // 261, active, visual, 511
    std::string page9 = words({512, 0}) + std::string(small.begin(), small.end()) + words({260, 9});

    const struct {
        const char* name;
        std::string file;
        int32_t width_after;  // page 0's
    } cases[] = {
        {"32-bit screen of 15677 x 32767 (2 GB)", words({512, 0, 257, 32, 15677, 32767, 260, 0, 0}), 80},
        {"text screen of 4096 x 4096", words({512, 0, 256, 0, 258, 4096, 4096, 260, 0}), 80},
        {"page 9 without its pixels", page9, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        screen(0);
        ASSERT_EQ(chdir(dir.c_str()), 0);
        std::ofstream("chain777.tmp", std::ios::binary) << c.file;
        command_line_is({"p", "(unique-tag:=/@*$+-)chain777.tmp"});
        // In a child with little memory to spare: the old reader took gigabytes here.
        int result = in_memory_limited_child(int64_t(64) << 20, [&] {
            try {
                chain_input();
            } catch (const std::bad_alloc&) {
                return 5;
            }
            if (new_error.load() != 0) return 1;
            if (img_get(page_index(0))->width != c.width_after) return 2;
            if (page_index(9) != 0) return 3;
            if (access("chain777.tmp", F_OK) == 0) return 4;
            return 0;
        });
        EXPECT_EQ(result, 0) << "1 an error, 2 the screen changed, 3 page 9 made, 4 the file left, 5 out of memory";
    }
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

// The target's folder on another file system (a tmpfs of the test's own) whose
// state-file names are already taken: by links to a file elsewhere, by plain files, or
// free. The move replaces the one name it uses, as rename would, and never writes
// through a link; the target finds the whole state file.
TEST_F(ChainTest, TheMoveToAnotherFileSystemNeverWritesThroughALink) {
    const std::string victim = dir + "/victim", arrived = dir + "/arrived", sub = dir + "/sub";
    const std::string victim_text = "23 bytes the user owns\n";
    mkdir(sub.c_str(), 0755);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    screen(13);
    std::vector<uint8_t> records;
    chain_encode_screen_state(records);  // the state file's screen records
    const std::string expected(records.begin(), records.end());

    for (const std::string taken : {"links", "files", "free"}) {
        SCOPED_TRACE(taken);
        std::ofstream(victim) << victim_text;
        remove(arrived.c_str());
        tmpfs_outcome outcome = run_on_private_tmpfs(
            sub, 4 << 20, false,
            [&] {
                std::ofstream(sub + "/next") << "#!/bin/sh\ncp \"$(dirname \"$0\")/${1#*)}\" '" << arrived << ".part'\n"
                                             << "mv '" << arrived << ".part' '" << arrived << "'\n";
                chmod((sub + "/next").c_str(), 0755);
                for (int n = 100; n <= 999; n++) {
                    std::string name = sub + "/chain" + std::to_string(n) + ".tmp";
                    if (taken == "links" && symlink(victim.c_str(), name.c_str()) != 0) return std::string("symlink");
                    if (taken == "files") std::ofstream(name) << "old";
                }
                return std::string();
            },
            [&] {
                pid_t caller = fork();
                if (caller == 0) {
                    if (chdir(dir.c_str()) != 0) _exit(45);
                    end_set_park_hook([] { _exit(close_program.load() ? 42 : 43); });
                    sub_chain(zvs_new_txt("sub/next.bas"));
                    _exit(44);
                }
                int status = 0;
                waitpid(caller, &status, 0);
                std::string report = "caller " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
                for (int i = 0; i < 500 && access(arrived.c_str(), F_OK) != 0; i++) usleep(10000);
                std::string got = contents(arrived);
                // 512, the folder, the screen records, 0.
                size_t head = 8 + dir.size();
                bool whole = got.size() == head + expected.size() + 4 &&
                             got.compare(head, expected.size(), expected) == 0;
                report += whole ? "; arrived whole" : "; arrived " + std::to_string(got.size()) + " bytes";
                int links = 0, files = 0;
                for (int n = 100; n <= 999; n++) {
                    struct stat st;
                    std::string name = sub + "/chain" + std::to_string(n) + ".tmp";
                    if (lstat(name.c_str(), &st) != 0) continue;
                    if (S_ISLNK(st.st_mode)) links++;
                    else files++;
                }
                return report + "; " + std::to_string(links) + " links, " + std::to_string(files) + " files";
            });
        if (!outcome.ran) GTEST_SKIP() << "no private tmpfs here: " << outcome.why;
        // The target reads the file and leaves it (it is a script); the one name
        // used is a plain file now.
        std::string names = taken == "links" ? "899 links, 1 files" : taken == "files" ? "0 links, 900 files" : "0 links, 1 files";
        EXPECT_EQ(outcome.report, "caller 42; arrived whole; " + names);
        std::string victim_now = contents(victim);
        EXPECT_TRUE(victim_now == victim_text) << "the linked file now holds " << victim_now.size() << " bytes";
        EXPECT_TRUE(state_files_in(dir).empty());
    }
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
    static int64_t room;
    failing = chain_files();
    // A disk with room for the first 100 bytes.
    failing.write = [](int fd, const void* bytes, size_t count) -> ssize_t {
        if (room <= 0) {
            errno = ENOSPC;
            return -1;
        }
        ssize_t n = ::write(fd, bytes, std::min(count, size_t(room)));
        room -= n > 0 ? n : 0;
        return n;
    };
    room = 100;
    chain_set_file_ops(&failing);
    sub_chain(zvs_new_txt("next.bas"));
    EXPECT_EQ(new_error.load(), 75);
    usleep(200000);
    EXPECT_NE(access(marker.c_str(), F_OK), 0);
    EXPECT_EQ(close_program.load(), 0);
    EXPECT_TRUE(state_files_in(dir).empty()) << "the part written stays behind";
}

TEST_F(ChainTest, AnEmptyTargetIsFileNotFound) {
    sub_chain(zvs_new_txt(""));
    EXPECT_EQ(new_error.load(), 53);
}

}  // namespace
