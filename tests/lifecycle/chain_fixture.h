// CHAIN tests: the screen of the image tests, a scratch folder, and clean file tables.
#pragma once
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "command/command.h"
#include "core/runtime_flags.h"
#include "file/gfs.h"
#include "image/image_fixture.h"
#include "lifecycle/chain.h"
#include "lifecycle/end.h"
#include "net/net.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

class ChainTest : public ImageTest {
protected:
    std::string dir;
    void SetUp() override {
        ImageTest::SetUp();
        runtime_flags_reset_for_tests();
        zvs_reset_for_tests(1048576, 65536, 65536);
        gfs_reset_for_tests();
        net_reset_for_tests();
        char tmpl[] = "/tmp/zvchain-XXXXXX";
        dir = mkdtemp(tmpl);
    }
    void TearDown() override {
        chain_set_file_ops(nullptr);
        gfs_close_all_files();
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
