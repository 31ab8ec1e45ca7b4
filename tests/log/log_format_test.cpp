// The line formats, the message cut, the level and scope names and the ERROR filter.
#include <unistd.h>

#include "log/log_test_support.h"
#include "string/zvs.h"

namespace {

class LogFormat : public LogTest {
protected:
    void SetUp() override {
        LogTest::SetUp();
        set("ORVONX_LOG_HANDLERS", "console");
        libzv_log_init();
        fake_clock::now_ns = 1234 * 1000000ll;
    }
};

TEST_F(LogFormat, LineWithAndWithoutSourceFile) {
    ::testing::internal::CaptureStderr();
    libzv_log(LOGLEVEL_INFO, LOGSCOPE_RUNTIME, "src/x.cpp", "f", 12, "msg");
    libzv_log(LOGLEVEL_INFO, LOGSCOPE_RUNTIME, nullptr, "f", 7, "msg");
    libzv_log(LOGLEVEL_WARN, LOGSCOPE_ORVO, "", "g", -3, "%d-%s", 5, "x");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "[1.23400] INFO runtime src/x.cpp: f: 12: msg\n"
              "[1.23400] INFO runtime f: 7: msg\n"
              "[1.23400] WARN ORVO g: -3: 5-x\n");
}

TEST_F(LogFormat, MessageIsCutAt199Characters) {
    std::string long_message(300, 'x');
    ::testing::internal::CaptureStderr();
    libzv_log(LOGLEVEL_INFO, LOGSCOPE_RUNTIME, nullptr, "f", 1, "%s", long_message.c_str());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[1.23400] INFO runtime f: 1: " + std::string(199, 'x') + "\n");
}

TEST_F(LogFormat, ErrorEntriesPassWhateverTheirScope) {
    ::testing::internal::CaptureStderr();
    libzv_log(LOGLEVEL_ERROR, LOGSCOPE_LIBZV_IMAGE, nullptr, "f", 1, "image");
    libzv_log(LOGLEVEL_INFO, LOGSCOPE_LIBZV_IMAGE, nullptr, "f", 1, "dropped");
    libzv_log(LOGLEVEL_ERROR, logscope(9), nullptr, "f", 2, "odd scope");
    libzv_log(LOGLEVEL_INFO, logscope(9), nullptr, "f", 2, "dropped");
    // Each ERROR entry is followed by its stack trace ("#1  [0x...] in ..." lines).
    std::istringstream captured(::testing::internal::GetCapturedStderr());
    std::string entries;
    for (std::string line; std::getline(captured, line);)
        if (line.rfind("#", 0) != 0) entries += line + "\n";
    EXPECT_EQ(entries,
              "[1.23400] ERROR libzv-image f: 1: image\n"
              "[1.23400] ERROR UNKNOWN f: 2: odd scope\n");
}

TEST_F(LogFormat, BasicErrorsAreLoggedInScopeLibzv) {
    ::testing::internal::CaptureStderr();
    error(53);
    error(9);
    std::string out = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find(" ERROR libzv internal/c/libzv/src/error/error.cpp: error: "), std::string::npos) << out;
    EXPECT_EQ(count(out, ": ORVO Error 53 reported: File not found\n"), 1);
    EXPECT_EQ(count(out, ": ORVO Error 9 reported: Subscript out of range\n"), 1);
    EXPECT_EQ(new_error.load(), 53);
}

// The log statements of translated programs pass BASIC strings: counted bytes that
// may hold a zero byte, where the message then ends.
TEST_F(LogFormat, BasicStringsEndAtAZeroByte) {
    uint8_t bytes[] = {'a', 'b', 0, 'c', 'd', 'e', 'f'};
    zvs with_zero{};
    with_zero.text = bytes;
    with_zero.length = 5;  // "ab" CHR$(0) "cd"
    zvs counted{};
    counted.text = bytes + 3;
    counted.length = 2;  // "cd": the bytes after the length are not read
    zvs empty{};
    ::testing::internal::CaptureStderr();
    libzv_log_zvs(LOGLEVEL_INFO, LOGSCOPE_ORVO, "prog.bas", "f", 3, &with_zero);
    libzv_log_zvs(LOGLEVEL_WARN, LOGSCOPE_ORVO, "prog.bas", "f", 4, &counted);
    libzv_log_zvs(LOGLEVEL_INFO, LOGSCOPE_ORVO, nullptr, "f", 5, &empty);
    libzv_log_zvs(LOGLEVEL_INFO, LOGSCOPE_LIBZV, nullptr, "f", 6, &counted);  // scope off
    // An ERROR entry lists translated BASIC frames only: none here.
    libzv_log_zvs(LOGLEVEL_ERROR, LOGSCOPE_ORVO, nullptr, "f", 7, &with_zero);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "[1.23400] INFO ORVO prog.bas: f: 3: ab\n"
              "[1.23400] WARN ORVO prog.bas: f: 4: cd\n"
              "[1.23400] INFO ORVO f: 5: \n"
              "[1.23400] ERROR ORVO f: 7: ab\n");
}

TEST(LogNames, LevelAndScopeNames) {
    EXPECT_STREQ(logLevelName(0), "TRACE");
    EXPECT_STREQ(logLevelName(1), "INFO");
    EXPECT_STREQ(logLevelName(2), "WARN");
    EXPECT_STREQ(logLevelName(3), "ERROR");
    EXPECT_STREQ(logLevelName(4), "UNKNOWN");
    EXPECT_STREQ(logLevelName(-1), "UNKNOWN");
    EXPECT_STREQ(logScopeName(0), "runtime");
    EXPECT_STREQ(logScopeName(1), "ORVO");
    EXPECT_STREQ(logScopeName(2), "libzv");
    EXPECT_STREQ(logScopeName(3), "libzv-audio");
    EXPECT_STREQ(logScopeName(4), "libzv-image");
    EXPECT_EQ(logScopeName(5), nullptr);
    EXPECT_EQ(logScopeName(-1), nullptr);
}

}  // namespace
