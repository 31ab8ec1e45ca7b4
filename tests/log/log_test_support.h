// Shared set-up of the logging tests: a clean environment and module state.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "error/error.h"
#include "log/log.h"
#include "support/fake_clock.h"

class LogTest : public ::testing::Test {
protected:
    fake_clock clock;
    void SetUp() override {
        for (const char* name :
             {"ORVONX_LOG_HANDLERS", "ORVONX_LOG_SCOPES", "ORVONX_LOG_LEVEL", "ORVONX_LOG_FILE_PATH"})
            unsetenv(name);
        libzv_log_reset_for_tests();
        error_reset_for_tests();
    }
    void TearDown() override { libzv_log_reset_for_tests(); }

    static void set(const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    static std::string temp_path(const char* name) {
        return ::testing::TempDir() + name + std::to_string(getpid());
    }
    static std::string read_file(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static int count(const std::string& text, const std::string& part) {
        int n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
        return n;
    }
};
