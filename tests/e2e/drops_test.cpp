// Files dropped on the window through XDND reach _DROPPEDFILE$.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/child.h"
#include "support/scenario.h"
#include "support/x11_probe.h"

namespace {

class DropsWindow : public ::testing::Test {
protected:
    void start(bool accept) {
        out = ::testing::TempDir() + "drops_" + std::to_string(getpid()) + ".txt";
        unlink(out.c_str());
        setenv("ZV_DROPS_OUT", out.c_str(), 1);
        if (accept)
            unsetenv("ZV_REFUSE");
        else
            setenv("ZV_REFUSE", "1", 1);
        program = child_start({ZV_E2E_DROPS});
        window = x11_wait_for_window("drops", 10000);
        ASSERT_NE(window.id, 0u);
    }
    void TearDown() override {
        if (window.id) x11_send_close(window.id);
        EXPECT_EQ(child_wait(program, 5000), 0);
        unlink(out.c_str());
    }
    int drop(std::vector<std::string> files) {
        files.insert(files.begin(), {ZV_DROP_FILES, std::to_string(window.id)});
        auto tool = child_start(files);
        return child_wait(tool, 10000).value_or(-1);
    }
    std::vector<std::string> wait_for_lines(size_t count) { return ::wait_for_lines(out, count); }

    std::string out;
    child_process program;
    x11_window_info window{};
};

TEST_F(DropsWindow, DroppedNamesArriveInOrderDecoded) {
    start(true);
    EXPECT_EQ(drop({"/tmp/a b.txt", "/tmp/100%", "/tmp/\xC3\xBC"}), 0);
    EXPECT_EQ(wait_for_lines(4), (std::vector<std::string>{"/tmp/a b.txt", "/tmp/100%", "/tmp/\xC3\xBC", "end of drop"}));
    EXPECT_EQ(drop({"/x"}), 0);
    EXPECT_EQ(wait_for_lines(6).back(), "end of drop");
    EXPECT_EQ(lines_of(out)[4], "/x");
}

TEST_F(DropsWindow, DropIsRefusedUntilTheProgramAcceptsFiles) {
    start(false);
    EXPECT_EQ(drop({"/tmp/a"}), 2);
    usleep(200000);
    EXPECT_TRUE(lines_of(out).empty());
}

}  // namespace
