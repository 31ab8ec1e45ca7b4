// Command-line splitting, program resolution and starting a program.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/process_start.h"

namespace {

using strings = std::vector<std::string>;

TEST(ProcessSplit, WhiteSpaceSeparatesAndQuotesGroup) {
    struct {
        const char* text;
        strings expected;
    } cases[] = {
        {"", {}},
        {"  a  b\tc ", {"a", "b", "c"}},
        {"a \"b c\" d", {"a", "b c", "d"}},
        {"x\"y z\"w", {"xy zw"}},
        {"(unique-tag:=/@*$+-)chain123.tmp", {"(unique-tag:=/@*$+-)chain123.tmp"}},
        {"back\\slash", {"back\\slash"}},
    };
    for (const auto& c : cases) EXPECT_EQ(process_split_arguments(c.text), c.expected) << c.text;
}

class ProcessResolve : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        char tmpl[] = "/tmp/zvproc-XXXXXX";
        dir = mkdtemp(tmpl);
        mkdir((dir + "/with space").c_str(), 0755);
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
    std::string script(const std::string& path, const std::string& body = "exit 0") {
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        chmod(path.c_str(), 0755);
        return path;
    }
};

TEST_F(ProcessResolve, PathsBackslashesExeSuffixAndSpaces) {
    std::string tool = script(dir + "/tool");
    std::string spaced = script(dir + "/with space/prog");

    auto plain = process_resolve(tool + " a \"b c\"");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->program, tool);
    EXPECT_EQ(plain->arguments, (strings{"a", "b c"}));

    auto exe = process_resolve(dir + "/tool.EXE x");
    ASSERT_TRUE(exe);
    EXPECT_EQ(exe->program, tool);

    std::string backslashed = dir + "\\tool";
    auto back = process_resolve(backslashed + " a\\b");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->program, tool);
    EXPECT_EQ(back->arguments, strings{"a\\b"});  // arguments are never rewritten

    auto unquoted = process_resolve(spaced + " arg");
    ASSERT_TRUE(unquoted);
    EXPECT_EQ(unquoted->program, spaced);
    EXPECT_EQ(unquoted->arguments, strings{"arg"});

    auto quoted = process_resolve("\"" + spaced + "\" arg");
    ASSERT_TRUE(quoted);
    EXPECT_EQ(quoted->program, spaced);

    EXPECT_FALSE(process_resolve(dir + "/missing"));
    EXPECT_FALSE(process_resolve(""));
    std::ofstream(dir + "/data") << "not a program";
    EXPECT_FALSE(process_resolve(dir + "/data"));
}

// A folder from the system is used as its bytes: a '\\' in its name is no separator.
// Only the program's own text is converted, and nothing is looked up elsewhere.
TEST_F(ProcessResolve, InsideASystemFolderItsBytesAreKept) {
    const std::string odd = dir + "/a\\b";
    mkdir(odd.c_str(), 0755);
    mkdir((dir + "/a").c_str(), 0755);
    mkdir((dir + "/a/b").c_str(), 0755);
    std::string next = script(odd + "/NEXT");
    script(dir + "/a/b/NEXT");
    script(dir + "/a/b/other");
    const struct {
        std::string folder, line, program;  // "" when nothing may start
        strings arguments;
    } cases[] = {
        {odd, "NEXT.exe (unique-tag:=/@*$+-)chain123.tmp", next, {"(unique-tag:=/@*$+-)chain123.tmp"}},
        {odd + "/", "NEXT x\\y", next, {"x\\y"}},
        {odd, "other.exe", "", {}},  // only under a/b
        {odd, "sh", "", {}},         // not looked up in PATH
        {dir + "/a", "b\\NEXT", dir + "/a/b/NEXT", {}},  // the program's text is converted
    };
    for (const auto& c : cases) {
        auto found = process_resolve_in(c.folder, c.line);
        if (c.program.empty()) {
            EXPECT_FALSE(found) << c.line << " found " << found->program;
            continue;
        }
        ASSERT_TRUE(found) << c.line;
        EXPECT_EQ(found->program, c.program) << c.line;
        EXPECT_EQ(found->arguments, c.arguments) << c.line;
    }
}

TEST_F(ProcessResolve, BareNamesAreLookedUpInTheCurrentFolderThenPath) {
    script(dir + "/zvlocaltool");
    char old[4096];
    ASSERT_TRUE(getcwd(old, sizeof old));
    ASSERT_EQ(chdir(dir.c_str()), 0);
    auto local = process_resolve("zvlocaltool.exe");
    ASSERT_EQ(chdir(old), 0);
    ASSERT_TRUE(local);
    EXPECT_EQ(local->program, dir + "/zvlocaltool");

    auto sh = process_resolve("sh -c true");
    ASSERT_TRUE(sh);
    EXPECT_EQ(sh->program.substr(sh->program.size() - 3), "/sh");
}

TEST_F(ProcessResolve, StartedProgramGetsItsArgumentsByteForByte) {
    std::string marker = dir + "/marker";
    std::string tool = script(dir + "/writer", "printf '%s|' \"$@\" > \"" + marker + "\"");
    ASSERT_TRUE(libzv_process_start(tool + " one \"two three\" (unique-tag:=/@*$+-)chain100.tmp"));
    std::string content;
    for (int i = 0; i < 500 && content.empty(); i++) {
        usleep(10000);
        std::ifstream in(marker);
        content.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(content, "one|two three|(unique-tag:=/@*$+-)chain100.tmp|");
    EXPECT_FALSE(libzv_process_start(dir + "/missing"));
}

}  // namespace
