// Configuration from the environment: handlers, scopes, level and their warnings.
#include "log/log_test_support.h"

#include <utility>
#include <vector>

namespace {

// Entries made after the configuration, one of each kind.
void log_samples() {
    libzv_log(LOGLEVEL_TRACE, LOGSCOPE_RUNTIME, "t.cpp", "f", 1, "rt-trace");
    libzv_log(LOGLEVEL_INFO, LOGSCOPE_RUNTIME, "t.cpp", "f", 1, "rt-info");
    libzv_log(LOGLEVEL_WARN, LOGSCOPE_RUNTIME, "t.cpp", "f", 1, "rt-warn");
    libzv_log(LOGLEVEL_INFO, LOGSCOPE_ORVO, "t.cpp", "f", 1, "orvo-info");
    libzv_log(LOGLEVEL_ERROR, LOGSCOPE_ORVO, "t.cpp", "f", 1, "orvo-error");
    libzv_log(LOGLEVEL_INFO, LOGSCOPE_LIBZV, "t.cpp", "f", 1, "lib-info");
    libzv_log(LOGLEVEL_INFO, LOGSCOPE_LIBZV_AUDIO, "t.cpp", "f", 1, "audio-info");
    libzv_log(LOGLEVEL_INFO, LOGSCOPE_LIBZV_IMAGE, "t.cpp", "f", 1, "image-info");
}

struct config_case {
    const char* handlers;
    const char* scopes;
    const char* level;
    std::vector<std::pair<std::string, int>> lines;  // line ending, times written
    int32_t logminlevel;
};

const std::string warn_prefix = "] WARN runtime internal\\c\\libzv/src/logging/logging: libzv_log_init: ";

TEST_F(LogTest, EnvironmentTable) {
    const config_case cases[] = {
        {nullptr, "bogus", "bogus", {}, 5},
        {"console", nullptr, nullptr,
         {{"rt-info", 1}, {"rt-warn", 1}, {"orvo-info", 1}, {"orvo-error", 1}, {"lib-info", 0}, {"rt-trace", 0}},
         2},
        {"console", "libzv", nullptr, {{"lib-info", 1}, {"rt-info", 1}, {"orvo-info", 0}, {"orvo-error", 1}}, 2},
        {"Console", nullptr, "warning", {{"rt-warn", 1}, {"rt-info", 0}, {"orvo-error", 1}}, 3},
        {"console, file", nullptr, nullptr, {{"rt-info", 1}}, 2},
        {"console,console", nullptr, nullptr, {{"rt-info", 2}, {"orvo-error", 2}}, 2},
        {"console", "foo", "ERROR", {{"foo", 1}, {"rt-warn", 0}, {"rt-info", 0}, {"orvo-error", 1}}, 4},
        {"console", nullptr, "debug", {{"debug", 1}, {"rt-info", 1}}, 2},
        {"console", nullptr, "TRACE", {{"rt-trace", 1}}, 1},
        {"console", nullptr, "Information", {{"rt-info", 1}, {"rt-trace", 0}}, 2},
        {"console", "LIBZV-Audio,Orvo", nullptr,
         {{"audio-info", 1}, {"orvo-info", 1}, {"rt-info", 1}, {"lib-info", 0}, {"image-info", 0}}, 2},
        {"console", "all", nullptr, {{"lib-info", 1}, {"audio-info", 1}, {"image-info", 1}}, 2},
        {"console", "", nullptr, {{"orvo-info", 0}, {"rt-info", 1}}, 2},
        {"bogus", nullptr, nullptr, {}, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("handlers ") + (c.handlers ? c.handlers : "(unset)") + ", scopes " +
                     (c.scopes ? c.scopes : "(unset)") + ", level " + (c.level ? c.level : "(unset)"));
        libzv_log_reset_for_tests();
        set("ORVONX_LOG_HANDLERS", c.handlers);
        set("ORVONX_LOG_SCOPES", c.scopes);
        set("ORVONX_LOG_LEVEL", c.level);
        set("ORVONX_LOG_FILE_PATH", temp_path("config.log").c_str());
        ::testing::internal::CaptureStderr();
        libzv_log_init();
        log_samples();
        error(53);
        std::string out = ::testing::internal::GetCapturedStderr();
        if (c.lines.empty()) {
            EXPECT_EQ(out, "");
        }
        for (const auto& [message, times] : c.lines)
            EXPECT_EQ(count(out, ": " + message + "\n"), times) << message << " in\n" << out;
        EXPECT_EQ(access(temp_path("config.log").c_str(), F_OK), -1) << "no file handler was asked for";
        error_reset_for_tests();
        EXPECT_EQ(func__logminlevel(), c.logminlevel);
    }
}

TEST_F(LogTest, UnknownScopeAndLevelAreWarnedLiterally) {
    set("ORVONX_LOG_HANDLERS", "console");
    set("ORVONX_LOG_SCOPES", "Foo%s,,libzv");
    set("ORVONX_LOG_LEVEL", "debug%n");
    ::testing::internal::CaptureStderr();
    libzv_log_init();
    std::string out = ::testing::internal::GetCapturedStderr();
    // The scope word lower-cased, the level value as read; an empty word warns empty.
    EXPECT_EQ(count(out, warn_prefix), 3) << out;
    EXPECT_EQ(count(out, ": foo%s\n"), 1) << out;
    EXPECT_EQ(count(out, ": \n"), 1) << out;
    EXPECT_EQ(count(out, ": debug%n\n"), 1) << out;
    EXPECT_EQ(out.find("[0.00000] WARN"), 0u) << out;
}

TEST_F(LogTest, UnsetHandlersLeaveEverythingOff) {
    set("ORVONX_LOG_SCOPES", "bogus");
    set("ORVONX_LOG_LEVEL", "bogus");
    ::testing::internal::CaptureStderr();
    libzv_log_init();
    log_samples();
    error(53);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(libzv_log_enabled());
    error_reset_for_tests();
    EXPECT_EQ(func__logminlevel(), 5);
}

TEST_F(LogTest, LogMinLevelIsZeroWhileAnErrorIsPending) {
    set("ORVONX_LOG_HANDLERS", "console");
    libzv_log_init();
    new_error = 5;
    EXPECT_EQ(func__logminlevel(), 0);
}

}  // namespace
