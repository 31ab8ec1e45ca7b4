// The file tests' fixture: a temporary current folder, clean file tables, strings and
// no pending error; short ways to make files and read them back.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "error/error.h"
#include "file/file_numbers.h"
#include "file/gfs.h"
#include "net/net.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/zvfileXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        ASSERT_EQ(chdir(folder_.c_str()), 0);
        zvs_reset_for_tests(1048576, 65536, 65536);
        error_reset_for_tests();
        gfs_reset_for_tests();
        net_reset_for_tests();  // CLOSE reaches the network handles too
    }
    void TearDown() override {
        gfs_close_all_files();
        error_reset_for_tests();
        if (chdir("/") == 0) {
            std::error_code ec;
            std::filesystem::permissions(folder_, std::filesystem::perms::all, ec);
            std::filesystem::remove_all(folder_, ec);
        }
    }

    static void write_file(const std::string& name, const std::string& bytes, mode_t mode = 0644) {
        {
            std::ofstream out(name, std::ios::binary | std::ios::trunc);
            out << bytes;
        }
        chmod(name.c_str(), mode);
    }
    static std::string read_file(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static bool exists(const std::string& name) { return std::filesystem::exists(name); }

    // A temporary holding a copy of the bytes.
    static zvs* text(const std::string& s) {
        zvs* t = zvs_new(static_cast<int32_t>(s.size()), 1);
        if (!s.empty()) memcpy(t->text, s.data(), s.size());
        return t;
    }
    static std::string str(const zvs* s) { return std::string(reinterpret_cast<const char*>(s->text), s->length); }
    static zvs* var(const std::string& s = "") {
        zvs* v = zvs_new(static_cast<int32_t>(s.size()), 0);
        if (!s.empty()) memcpy(v->text, s.data(), s.size());
        return v;
    }

    // The pending error, cleared.
    static int32_t take_error() {
        int32_t n = new_error.load();
        error_reset_for_tests();
        return n;
    }

    // OPEN name FOR mode AS #n [LEN = length], with no ACCESS or LOCK clause.
    static int32_t open(const std::string& name, int32_t mode, int32_t n, int64_t length = 0, int32_t passed = 0) {
        sub_open(text(name), mode, 0, 0, n, length, passed);
        return take_error();
    }
    static gfs_file_struct* file(int32_t n) { return gfs_file_of_number(n); }

    std::string folder_;
};
