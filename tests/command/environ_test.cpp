// ENVIRON and the environment entries; every test restores the variables it used.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "command/command.h"
#include "error/error.h"

extern char** environ;

namespace {

class Environ : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("ZVT");
        unsetenv("Zvt");
        error_reset_for_tests();
    }
    void TearDown() override {
        unsetenv("ZVT");
        unsetenv("Zvt");
        error_reset_for_tests();
    }
    static std::string value(const char* name) {
        const char* v = getenv(name);
        return v ? v : "<unset>";
    }
};

TEST_F(Environ, SetAndRemove) {
    struct {
        std::string_view text;
        const char* expected;
    } cases[] = {
        {"ZVT=1", "1"},     {"ZVT=", "<unset>"},   {"ZVT 1", "1"},       {"ZVT ", "<unset>"},
        {"ZVT=a=b", "a=b"}, {"ZVT =1", "=1"},      {"ZVT=a b", "a b"},   {"ZVT==", "="},
        {std::string_view("ZVT=a\0b", 7), "a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(environ_apply(c.text), 0) << c.text;
        EXPECT_EQ(value("ZVT"), c.expected) << c.text;
    }
}

TEST_F(Environ, TextWithoutSeparatorOrNameIsRefused) {
    setenv("ZVT", "kept", 1);
    for (std::string_view text : {"ZVT", "=abc", " abc", "", "="}) {
        EXPECT_EQ(environ_apply(text), 5) << '"' << text << '"';
        EXPECT_EQ(value("ZVT"), "kept");
    }
    EXPECT_EQ(environ_apply(std::string_view("\0=1", 3)), 5) << "a name cut to nothing by a zero byte";
}

TEST_F(Environ, NamesAreCaseSensitive) {
    EXPECT_EQ(environ_apply("Zvt=1"), 0);
    EXPECT_EQ(value("Zvt"), "1");
    EXPECT_EQ(value("ZVT"), "<unset>");
}

TEST_F(Environ, EntriesAreTheProcessEnvironmentInOrder) {
    int32_t count = func__environcount();
    ASSERT_GT(count, 0);
    for (int32_t k = 1; k <= count; k++) EXPECT_STREQ(environ_entry(k), environ[k - 1]) << k;
    EXPECT_EQ(environ_entry(count + 1), nullptr);
    EXPECT_EQ(environ_entry(0), nullptr);
    EXPECT_EQ(environ_apply("ZVT=new"), 0);
    EXPECT_EQ(func__environcount(), count + 1);
}

}  // namespace
