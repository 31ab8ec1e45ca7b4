// CHAIN between two programs: the target gets the screen, the folder and a clean
// command line, wherever it is found; no state file is left behind.
#include <gtest/gtest.h>
#include <dirent.h>
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
    std::vector<std::string> chained(int timeout_ms = 10000) {
        std::string path = work + "/chained.txt";
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
    std::vector<std::string> expected() const { return {"[]", "0", work, "PAGE0", "PAGE1", "1", "0"}; }
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

}  // namespace
