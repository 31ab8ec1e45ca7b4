// Traces taken through the log calls: frame numbers, skipped logging frames, BASIC
// names, depth and the symbol lookup in the running executable.
#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "log/log_test_support.h"
#include "log/stacktrace.h"
#include "log/symbol_table.h"

// Frames the tests look for; noinline with a barrier so that every call stays a call.
__attribute__((noinline)) void stack_c() {
    libzv_log(LOGLEVEL_ERROR, LOGSCOPE_RUNTIME, "f.cpp", "stack_c", 1, "boom");
    asm volatile("");
}
__attribute__((noinline)) void stack_b() {
    stack_c();
    asm volatile("");
}
__attribute__((noinline)) void stack_a() {
    stack_b();
    asm volatile("");
}
__attribute__((noinline)) void SUB_FOO(short*) {
    libzv_log_orvo(LOGLEVEL_ERROR, LOGSCOPE_ORVO, "f.bas", "SUB_FOO", 2, "boom");
    asm volatile("");
}
__attribute__((noinline)) void ZVMAIN(void*) {
    short x = 0;
    SUB_FOO(&x);
    asm volatile("");
}
__attribute__((noinline)) void recurse(int depth) {
    if (depth == 0)
        libzv_log(LOGLEVEL_ERROR, LOGSCOPE_RUNTIME, "f.cpp", "recurse", 3, "deep");
    else
        recurse(depth - 1);
    asm volatile("");
}
namespace a_namespace_whose_name_is_long_enough_to_pass_the_line_buffer_xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx {
__attribute__((noinline)) void long_named() {
    libzv_log(LOGLEVEL_ERROR, LOGSCOPE_RUNTIME, "f.cpp", "long_named", 4, "long");
    asm volatile("");
}
}  // namespace a_namespace_whose_name_is_long_enough_to_pass_the_line_buffer_xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx

namespace {

class StackTrace : public LogTest {
protected:
    void SetUp() override {
        LogTest::SetUp();
        set("ORVONX_LOG_HANDLERS", "console");
        libzv_log_init();
    }
    // The trace lines of the entries written while f runs.
    template <class F>
    static std::vector<std::string> trace_of(F&& f) {
        ::testing::internal::CaptureStderr();
        f();
        std::string text = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(text.back(), '\n');
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            if (!line.empty() && line[0] == '#') lines.push_back(line);
        return lines;
    }
    static void expect_numbered_from_one(const std::vector<std::string>& lines) {
        for (size_t k = 0; k < lines.size(); ++k) {
            char prefix[8];
            snprintf(prefix, sizeof prefix, "#%-2d [", int(k + 1));
            EXPECT_EQ(lines[k].compare(0, strlen(prefix), prefix), 0) << lines[k];
            EXPECT_EQ(lines[k].find("libzv_log"), std::string::npos) << lines[k];
        }
    }
};

}  // namespace

TEST_F(StackTrace, FirstFrameIsTheCallerOfTheLogCall) {
    std::vector<std::string> lines = trace_of([] { stack_a(); });
    ASSERT_GE(lines.size(), 4u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(#1  \[0x[0-9A-F]{16}\] in stack_c\(\))"))) << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(#2  \[0x[0-9A-F]{16}\] in stack_b\(\))"))) << lines[1];
    EXPECT_TRUE(std::regex_match(lines[2], std::regex(R"(#3  \[0x[0-9A-F]{16}\] in stack_a\(\))"))) << lines[2];
    expect_numbered_from_one(lines);
}

TEST_F(StackTrace, BasicFramesOnlyListsTranslatedProcedures) {
    ::testing::internal::CaptureStderr();
    ZVMAIN(nullptr);
    std::string text = ::testing::internal::GetCapturedStderr();
    std::regex expected(R"(#1  \[0x[0-9A-F]{16}\] in FOO\(short\*\) \(ORVO\)
#2  \[0x[0-9A-F]{16}\] in Main ORVO code
)");
    std::string trace = text.substr(text.find('\n') + 1);
    EXPECT_TRUE(std::regex_match(trace, expected)) << text;
}

TEST_F(StackTrace, WalkStopsAfterFortyOneFrames) {
    std::vector<std::string> lines = trace_of([] { recurse(60); });
    // 41 frames visited, three of them the logging functions (the trace, the
    // common entry and libzv_log).
    ASSERT_EQ(lines.size(), 38u);
    expect_numbered_from_one(lines);
    for (const std::string& line : lines) EXPECT_NE(line.find("in recurse(int)"), std::string::npos) << line;
}

TEST_F(StackTrace, LongNamesAreCutAndTheLineStillEnds) {
    std::vector<std::string> lines = trace_of([] { a_namespace_whose_name_is_long_enough_to_pass_the_line_buffer_xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx::long_named(); });
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 198u);  // 199 characters with the newline
    EXPECT_EQ(lines[1].compare(0, 5, "#2  ["), 0) << lines[1];
}

TEST(StackTraceNames, BasicNamesOfTranslatedCode) {
    struct name_case {
        const char* symbol;
        const char* basic;  // null: none
    };
    const name_case cases[] = {{"ZVMAIN(void*)", "Main ORVO code"}, {"SUB_X(int*)", "X(int*) (ORVO)"},
                               {"FUNC_Y()", "Y() (ORVO)"},          {"FUNC_Y() [clone .cold]", "Y() [clone .cold] (ORVO)"},
                               {"SUBX()", nullptr},                 {"main", nullptr}};
    for (const name_case& c : cases) {
        std::optional<std::string> basic = libzv_log_resolve_orvo_symbol(c.symbol);
        EXPECT_EQ(basic.has_value(), c.basic != nullptr) << c.symbol;
        if (basic && c.basic) {
            EXPECT_EQ(*basic, c.basic);
        }
    }
}

TEST(StackTraceNames, ResolvesAnAddressInsideAFunctionOfThisExecutable) {
    std::string name = libzv_log_resolve_symbol(reinterpret_cast<uintptr_t>(&stack_b) + 1);
    EXPECT_EQ(name.rfind("stack_b()", 0), 0u) << name;
    EXPECT_EQ(libzv_log_resolve_symbol(0), "");
}

TEST(StackTraceNames, StrippedExecutableHasNoElfSymbols) {
    std::string copy = ::testing::TempDir() + "stripped_" + std::to_string(getpid());
    std::string command = "strip -o '" + copy + "' /proc/self/exe";
    ASSERT_EQ(system(command.c_str()), 0);
    std::string error;
    try {
        exe_symbols::file f(copy.c_str());
        exe_symbols::pe_symtab table(0, f, exe_symbols::symbol_format::elf);
    } catch (const exe_symbols::file_error& e) {
        error = e.what();
    }
    EXPECT_EQ(error, "no ELF symbols");
    unlink(copy.c_str());
}
