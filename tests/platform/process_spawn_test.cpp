// The spawn routine: streams given to the child, the decoded wait, failures.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/process_start.h"

namespace {

std::string contents(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ProcessSpawn, WaitDecodesExitCodesAndSignals) {
    struct {
        const char* script;
        int32_t expected;
    } cases[] = {{"exit 0", 0}, {"exit 9", 9}, {"exit 255", 255}, {"kill -TERM $$", 128 + 15}, {"kill -9 $$", 137}};
    for (const auto& c : cases)
        EXPECT_EQ(process_wait(process_spawn("/bin/sh", {"sh", "-c", c.script})), c.expected) << c.script;
}

TEST(ProcessSpawn, AProgramThatCannotStartGivesNoChild) {
    EXPECT_EQ(process_spawn("/nonexistent/zv-program", {"x"}), -1);
    EXPECT_EQ(process_spawn("/bin/sh", {}), -1);
    EXPECT_EQ(process_wait(-1), -1);
}

TEST(ProcessSpawn, OneStreamToAFileTheOthersInheritedOrNull) {
    char tmpl[] = "/tmp/zvspawn-XXXXXX";
    int file = mkstemp(tmpl);
    ASSERT_GE(file, 0);
    process_streams streams;
    streams.fd[2] = file;                   // the answer, as the console dialogs take it
    streams.fd[1] = process_stream_null;
    EXPECT_EQ(process_wait(process_spawn("/bin/sh", {"sh", "-c", "echo lost; echo answer >&2; [ -e /proc/$$/fd/3 ] && exit 1; exit 0"},
                                         streams)),
              0);
    close(file);
    EXPECT_EQ(contents(tmpl), "answer\n");
    unlink(tmpl);
}

}  // namespace
