// CHAIN between two programs: the target gets the screen, the folder and a clean
// command line, wherever it is found; no state file is left behind.
#include <gtest/gtest.h>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/child.h"

namespace {

class Chain : public ::testing::Test {
protected:
    std::string dir, bin, work;
    void SetUp() override {
        char tmpl[] = "/tmp/zvchaine2e-XXXXXX";
        dir = mkdtemp(tmpl);
        bin = dir + "/bin";
        work = dir + "/work";
        mkdir(bin.c_str(), 0755);
        mkdir(work.c_str(), 0755);
        copy(ZV_E2E_CHAIN_FROM, bin + "/from");
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    static void copy(const std::string& from, const std::string& to) {
        ASSERT_EQ(std::system(("cp '" + from + "' '" + to + "'").c_str()), 0);
    }
    // Runs the chaining program in work/ and waits until it and its target are done.
    void chain(const std::string& target) {
        setenv("ZV_CHAIN_DIR", work.c_str(), 1);
        setenv("ZV_CHAIN_TARGET", target.c_str(), 1);
        auto from = child_start({bin + "/from"});
        EXPECT_EQ(child_wait(from, 20000), 0);
    }
    // What the target wrote in the caller's current folder (work unless given).
    std::vector<std::string> chained(const std::string& folder = "", int timeout_ms = 10000) {
        std::string path = (folder.empty() ? work : folder) + "/chained.txt";
        int64_t deadline = monotonic_ms() + timeout_ms;
        std::vector<std::string> lines;
        while (monotonic_ms() < deadline) {
            lines.clear();
            std::ifstream in(path);
            for (std::string line; std::getline(in, line);) lines.push_back(line);
            if (lines.size() >= 7) break;
            usleep(20000);
        }
        return lines;
    }
    std::vector<std::string> expected(const std::string& folder = "") const {
        return {"[]", "0", folder.empty() ? work : folder, "PAGE0", "PAGE1", "1", "0"};
    }
    static std::vector<std::string> state_files(const std::string& folder) {
        std::vector<std::string> found;
        if (DIR* d = opendir(folder.c_str())) {
            while (dirent* e = readdir(d))
                if (std::string(e->d_name).rfind("chain", 0) == 0 && std::string(e->d_name).find(".tmp") != std::string::npos)
                    found.push_back(e->d_name);
            closedir(d);
        }
        return found;
    }
    void no_state_file_left() {
        for (const std::string& folder : {work, bin, work + "/sub"})
            EXPECT_TRUE(state_files(folder).empty()) << folder;
    }
};

TEST_F(Chain, TargetInTheProgramsOwnFolderGetsScreenFolderAndCleanCommandLine) {
    copy(ZV_E2E_CHAIN_TO, bin + "/NEXT");  // names are case-sensitive: NEXT.BAS starts NEXT
    chain("NEXT.BAS");
    EXPECT_EQ(chained(), expected());
    no_state_file_left();
}

TEST_F(Chain, TargetInASubfolderFindsTheMovedStateFile) {
    mkdir((work + "/sub").c_str(), 0755);
    copy(ZV_E2E_CHAIN_TO, work + "/sub/next");
    chain("sub/next.bas");
    EXPECT_EQ(chained(), expected());
    no_state_file_left();
}

// The state file's names are predictable, and the caller's folder may be open to other
// users. Whatever already stands at a name (a link to a file elsewhere, a file of the
// user's, a FIFO) is never opened, written, moved or deleted: the state file takes a
// free name, made new and private, and with no name free CHAIN fails with error 67
// before anything starts. The target is in sub/, so the file is made in the caller's
// folder and then moved.
TEST_F(Chain, TheStateFileTakesAFreeNameAndIsPrivate) {
    const std::string sub = work + "/sub", elsewhere = dir + "/elsewhere", seen = dir + "/seen";
    const std::string pid_file = dir + "/target.pid", elsewhere_text = "a file of the user's elsewhere\n";
    mkdir(sub.c_str(), 0755);
    copy(ZV_E2E_CHAIN_TO, sub + "/to");
    // The target notes the state file's name, mode and kind, then becomes the real one.
    std::ofstream(sub + "/next") << "#!/bin/sh\n"
                                 << "echo $$ > '" << pid_file << "'\n"
                                 << "name=\"${1#*)}\"\n"
                                 << "{ echo \"$name\"; stat -c '%a %F' \"$(dirname \"$0\")/$name\"; } > '" << seen
                                 << ".part'\n"
                                 << "mv '" << seen << ".part' '" << seen << "'\n"
                                 << "exec \"$(dirname \"$0\")/to\" \"$@\"\n";
    chmod((sub + "/next").c_str(), 0755);
    struct umask_kept {
        mode_t saved = umask(022);  // a plain create would make the file 0644
        ~umask_kept() { umask(saved); }
    } kept;

    const struct {
        const char* name;
        const char* at_names;  // what stands at every name but chain500.tmp ("" for none)
        bool all_names;        // and at chain500.tmp too
        const char* expected;
    } rows[] = {
        {"links to a file elsewhere at every name", "link", true,
         "error 67; target not started; elsewhere kept; 900 links kept; nothing else left"},
        {"the user's files at every name but one", "file", false,
         "target saw chain500.tmp, 600 regular file; restored; elsewhere kept; 899 files kept; nothing else left"},
        {"FIFOs at every name but one", "fifo", false,
         "target saw chain500.tmp, 600 regular file; restored; elsewhere kept; 899 fifos kept; nothing else left"},
        {"nothing", "", false, "target saw a free name, 600 regular file; restored; elsewhere kept; nothing else left"},
    };
    auto name_of = [](int n) { return "chain" + std::to_string(n) + ".tmp"; };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string kind = row.at_names;
        std::system(("rm -f '" + work + "'/chain*.tmp '" + sub + "'/chain*.tmp '" + work + "/chained.txt' '" + work + "/chain_error.txt' '" +
                     seen + "' '" + pid_file + "'")
                        .c_str());
        std::ofstream(elsewhere) << elsewhere_text;
        for (int n = 100; n <= 999 && !kind.empty(); n++) {
            if (n == 500 && !row.all_names) continue;
            std::string path = work + "/" + name_of(n);
            bool made = kind == "link"   ? symlink(elsewhere.c_str(), path.c_str()) == 0
                        : kind == "fifo" ? mkfifo(path.c_str(), 0644) == 0
                                         : bool(std::ofstream(path) << "the user's file " << n << "\n");
            ASSERT_TRUE(made) << path;
        }

        chain("sub/next.bas");
        std::string report;
        std::ifstream error_file(work + "/chain_error.txt");
        int error = -1;
        if (error_file >> error) {
            // CHAIN came back: nothing was started.
            report = "error " + std::to_string(error) + "; target " +
                     (access(seen.c_str(), F_OK) == 0 ? "started anyway" : "not started");
        } else {
            std::vector<std::string> lines = chained();
            std::ifstream noted(seen);
            std::string name, mode;
            std::getline(noted, name);
            std::getline(noted, mode);
            if (kind.empty() && name.size() == 12 && name.rfind("chain", 0) == 0) name = "a free name";
            report = "target saw " + name + ", " + mode + "; " + (lines == expected() ? "restored" : "not restored");
            if (lines.size() < 7) {
                // A target stuck reading is ended here.
                std::ifstream pid_in(pid_file);
                int pid = 0;
                if (pid_in >> pid && pid > 0) kill(pid, SIGKILL);
            }
        }
        std::ifstream elsewhere_in(elsewhere);
        std::string elsewhere_now(std::istreambuf_iterator<char>(elsewhere_in), {});
        report += elsewhere_now == elsewhere_text ? "; elsewhere kept" : "; elsewhere overwritten";

        int kept = 0;
        std::vector<std::string> other;
        for (int n = 100; n <= 999; n++) {
            std::string path = work + "/" + name_of(n);
            struct stat st;
            if (lstat(path.c_str(), &st) != 0) continue;
            auto first_line = [&] {
                std::ifstream in(path);
                std::string line;
                std::getline(in, line);
                return line;
            };
            bool as_before = kind == "link"   ? S_ISLNK(st.st_mode)
                             : kind == "fifo" ? S_ISFIFO(st.st_mode)
                             : kind == "file" ? S_ISREG(st.st_mode) && first_line() == "the user's file " + std::to_string(n)
                                              : false;
            if (as_before && (n != 500 || row.all_names)) kept++;
            else other.push_back(name_of(n));
        }
        if (!kind.empty()) report += "; " + std::to_string(kept) + " " + kind + "s kept";
        for (const std::string& folder : {sub, bin})
            for (const std::string& name : state_files(folder)) other.push_back(folder + "/" + name);
        if (other.empty()) {
            report += "; nothing else left";
        } else {
            report += "; left:";
            for (const std::string& name : other) report += " " + name;
        }
        EXPECT_EQ(report, row.expected);
    }
}

TEST_F(Chain, TheCompilerIsRunWhenNoTargetStarts) {
    std::string compiler = bin + "/orvonx.exe";
    std::ofstream(compiler) << "#!/bin/sh\n"
                            << "[ \"$1\" = -c ] && [ \"$2\" = '" << work << "/next.bas' ] || exit 1\n"
                            << "cp '" << ZV_E2E_CHAIN_TO << "' \"$(dirname \"$0\")/next\"\n";
    chmod(compiler.c_str(), 0755);
    chain("next.bas");
    EXPECT_EQ(chained(), expected());
    no_state_file_left();
}

TEST_F(Chain, NoTargetAndNoCompilerIsFileNotFoundInTheChainingProgram) {
    chain("next.bas");
    std::ifstream in(work + "/chain_error.txt");
    int error = 0;
    in >> error;
    EXPECT_EQ(error, 53);
    no_state_file_left();
}

// Folders that come from the system are Linux names: with the caller, its target and
// the compiler in a folder named a\b, a program of the same name under a/b is never
// started, and the state file is not left behind anywhere.
TEST_F(Chain, FoldersWithABackslashStartTheTargetInThem) {
    const std::string odd = dir + "/a\\b", plain = dir + "/a/b", decoy_ran = dir + "/decoy_ran";
    const struct {
        const char* name;
        bool caller_in_odd;   // the executable's folder is a\b (else bin)
        bool cwd_odd;         // the current folder is a\b (else work)
        const char* target;   // what is in a\b: the program "next", or the compiler
        bool decoy;           // the same names under a/b
    } cases[] = {
        {"current folder, decoy beside", false, true, "next", true},
        {"current folder", false, true, "next", false},
        {"own folder, decoy beside", true, false, "next", true},
        {"own folder", true, false, "next", false},
        {"compiler in the own folder, decoy beside", true, true, "orvonx.exe", true},
        {"compiler in the own folder", true, true, "orvonx.exe", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::system(("rm -rf '" + dir + "/a' '" + odd + "' '" + decoy_ran + "'").c_str());
        ASSERT_EQ(std::system(("mkdir -p '" + plain + "' '" + odd + "'").c_str()), 0);
        std::string cwd = c.cwd_odd ? odd : work;
        std::string own = c.caller_in_odd ? odd : bin;
        copy(ZV_E2E_CHAIN_FROM, own + "/from");
        if (std::string(c.target) == "next") {
            copy(ZV_E2E_CHAIN_TO, odd + "/next");
        } else {
            // The compiler leaves the target in the own folder, built from the source
            // in the current folder.
            std::ofstream(odd + "/orvonx.exe") << "#!/bin/sh\n"
                                               << "[ \"$1\" = -c ] && [ \"$2\" = '" << cwd << "/next.bas' ] || exit 1\n"
                                               << "cp '" << ZV_E2E_CHAIN_TO << "' \"$(dirname \"$0\")/next\"\n";
            chmod((odd + "/orvonx.exe").c_str(), 0755);
        }
        if (c.decoy) {
            for (const std::string name : {"next", "orvonx.exe"}) {
                std::ofstream(plain + "/" + name) << "#!/bin/sh\ntouch '" << decoy_ran << "'\n";
                chmod((plain + "/" + name).c_str(), 0755);
            }
        }
        remove((cwd + "/chained.txt").c_str());
        setenv("ZV_CHAIN_DIR", cwd.c_str(), 1);
        setenv("ZV_CHAIN_TARGET", "next.bas", 1);
        auto from = child_start({own + "/from"});
        EXPECT_EQ(child_wait(from, 20000), 0);

        EXPECT_EQ(chained(cwd), expected(cwd));
        EXPECT_NE(access(decoy_ran.c_str(), F_OK), 0) << "the program under a/b ran";
        for (const std::string& folder : {odd, plain, work, bin}) EXPECT_TRUE(state_files(folder).empty()) << folder;
        remove((own + "/from").c_str());
    }
}

}  // namespace
