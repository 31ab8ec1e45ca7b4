// The file handler: appending, a path that cannot be opened, and concurrent writers.
#include <regex>
#include <thread>
#include <vector>

#include "log/log_test_support.h"

namespace {

TEST_F(LogTest, FileHandlerAppendsAfterTheExistingContent) {
    std::string path = temp_path("append.log");
    {
        std::ofstream(path) << "old line\n";
    }
    set("ORVONX_LOG_HANDLERS", "file");
    set("ORVONX_LOG_FILE_PATH", path.c_str());
    libzv_log_init();
    fake_clock::now_ns = 2500 * 1000000ll;
    libzv_log(LOGLEVEL_INFO, LOGSCOPE_RUNTIME, "a.cpp", "f", 3, "new line");
    EXPECT_EQ(read_file(path), "old line\n[2.50000] INFO runtime a.cpp: f: 3: new line\n");
    unlink(path.c_str());
}

TEST_F(LogTest, FileThatCannotBeOpenedLeavesTheHandlerInert) {
    set("ORVONX_LOG_HANDLERS", "file");
    set("ORVONX_LOG_FILE_PATH", "/nonexistent/x.log");
    ::testing::internal::CaptureStderr();
    libzv_log_init();
    libzv_log(LOGLEVEL_ERROR, LOGSCOPE_RUNTIME, "a.cpp", "f", 3, "dropped");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Unable to open file '/nonexistent/x.log' for logging!");
}

TEST_F(LogTest, FileHandlerWithoutAPathIsInert) {
    set("ORVONX_LOG_HANDLERS", "file");
    ::testing::internal::CaptureStderr();
    libzv_log_init();
    libzv_log(LOGLEVEL_ERROR, LOGSCOPE_RUNTIME, "a.cpp", "f", 3, "dropped");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Unable to open file '' for logging!");
}

TEST_F(LogTest, ConcurrentWritersNeverInterleaveLines) {
    std::string path = temp_path("threads.log");
    unlink(path.c_str());
    set("ORVONX_LOG_HANDLERS", "file");
    set("ORVONX_LOG_FILE_PATH", path.c_str());
    libzv_log_init();
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; t++)
        writers.emplace_back([t] {
            for (int i = 0; i < 500; i++)
                libzv_log(LOGLEVEL_WARN, LOGSCOPE_ORVO, "w.cpp", "writer", t, "entry %d of writer %d", i, t);
        });
    for (auto& w : writers) w.join();
    std::istringstream lines(read_file(path));
    std::regex line_format(R"(\[0\.00000\] WARN ORVO w\.cpp: writer: ([0-3]): entry ([0-9]+) of writer \1)");
    int n = 0;
    for (std::string line; std::getline(lines, line); n++) ASSERT_TRUE(std::regex_match(line, line_format)) << line;
    EXPECT_EQ(n, 2000);
    unlink(path.c_str());
}

}  // namespace
