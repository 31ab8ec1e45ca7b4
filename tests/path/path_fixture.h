// A fresh temporary folder as the current folder for each path test, with HOME and the
// XDG and TMPDIR variables pointing into it; strings and errors reset.
#pragma once
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "error/error.h"
#include "path/path.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

// A fresh temporary folder entered as the current folder, left and removed afterwards.
struct temporary_folder {
    std::string root;  // without a trailing '/'
    std::string previous;

    void enter() {
        char pattern[] = "/tmp/zvpath-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        previous = std::filesystem::current_path().string();
        ASSERT_EQ(chdir(root.c_str()), 0);
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "TMPDIR"}) unsetenv(name);
        std::filesystem::create_directory(root + "/home");
        setenv("HOME", (root + "/home").c_str(), 1);
    }
    void leave() {
        if (chdir(previous.c_str()) != 0) ADD_FAILURE() << "cannot leave " << root;
        std::error_code ignored;
        std::filesystem::permissions(root, std::filesystem::perms::all, ignored);
        std::filesystem::remove_all(root, ignored);
    }
};

class PathTest : public ::testing::Test {
protected:
    temporary_folder folder;
    std::string root;

    void SetUp() override {
        zvs_reset_for_tests(1 << 20, 4096, 4096);
        error_reset_for_tests();
        folder.enter();
        root = folder.root;
    }
    void TearDown() override {
        folder.leave();
        error_reset_for_tests();
        EXPECT_EQ(zvs_check_invariants(), "");
    }

    static zvs* s(const std::string& text) { return zvs_new_txt_len(text.data(), int32_t(text.size())); }
    static std::string str(const zvs* z) { return std::string(reinterpret_cast<const char*>(z->text), size_t(z->length)); }
    static void write(const std::string& path, const std::string& contents) { std::ofstream(path, std::ios::binary) << contents; }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static bool exists(const std::string& path) {
        struct stat st;
        return lstat(path.c_str(), &st) == 0;
    }
    // Runs a statement from a clean error state and answers the error it raised.
    template <class F>
    static int32_t error_of(F&& statement) {
        error_reset_for_tests();
        statement();
        int32_t e = new_error.load();
        error_reset_for_tests();
        return e;
    }
};
