// CHAIN tests: the screen of the image tests, a scratch folder, and the file
// statements behind the state file.
#pragma once
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "command/command.h"
#include "core/chain.h"
#include "core/end.h"
#include "core/runtime_flags.h"
#include "image/image_fixture.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

// State files on disk through stdio, standing in for OPEN, PUT, GET, CLOSE and KILL.
struct stdio_files {
    static inline std::map<int32_t, FILE*> open_files;
    static inline bool fail_writes = false;
    static int32_t freefile() {
        int32_t n = 1;
        while (open_files.count(n)) n++;
        return n;
    }
    static void open_binary(const std::string& name, int32_t n) {
        FILE* f = fopen(name.c_str(), "r+b");
        if (!f) f = fopen(name.c_str(), "w+b");
        if (!f) return error(75);
        open_files[n] = f;
    }
    static void put(int32_t n, const void* bytes, int64_t length) {
        if (fail_writes) return error(75);
        fwrite(bytes, 1, size_t(length), open_files.at(n));
    }
    static void get(int32_t n, void* bytes, int64_t length) {
        size_t got = fread(bytes, 1, size_t(length), open_files.at(n));
        memset(static_cast<uint8_t*>(bytes) + got, 0, size_t(length) - got);
    }
    static void close(int32_t n) {
        fclose(open_files.at(n));
        open_files.erase(n);
    }
    static void kill(const std::string& name) {
        std::string path = name;
        for (char& c : path)
            if (c == '\\') c = '/';
        remove(path.c_str());
    }
    static inline const chain_file_ops ops{freefile, open_binary, put, get, close, kill};
};

class ChainTest : public ImageTest {
protected:
    std::string dir;
    void SetUp() override {
        ImageTest::SetUp();
        runtime_flags_reset_for_tests();
        zvs_reset_for_tests(1048576, 65536, 65536);
        stdio_files::fail_writes = false;
        chain_set_file_ops(&stdio_files::ops);
        char tmpl[] = "/tmp/zvchain-XXXXXX";
        dir = mkdtemp(tmpl);
    }
    void TearDown() override {
        chain_set_file_ops(nullptr);
        std::system(("rm -rf '" + dir + "'").c_str());
        ImageTest::TearDown();
    }
    static void command_line_is(const std::vector<std::string>& args) {
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        command_initialize(int32_t(argv.size()), argv.data());
    }
    static std::vector<std::string> state_files_in(const std::string& folder) {
        std::vector<std::string> found;
        if (DIR* d = opendir(folder.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string name = e->d_name;
                if (name.rfind("chain", 0) == 0 && name.size() == 12 && name.substr(8) == ".tmp") found.push_back(name);
            }
            closedir(d);
        }
        return found;
    }
    static std::string contents(const std::string& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};
