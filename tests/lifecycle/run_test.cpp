// RUN: the runtime reset of RUN without a file, and RUN "file".
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/runtime_flags.h"
#include "core/traps.h"
#include "error/error.h"
#include "font/font_tables.h"
#include "image/image_table.h"
#include "lifecycle/end.h"
#include "lifecycle/run.h"
#include "palette/palette.h"
#include "palette/palette_statements.h"
#include "screen/screen.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

namespace {

struct run_recorder {
    static inline std::vector<std::string> calls;
    static void width() { calls.push_back("width on mode " + std::to_string(write_page()->legacy_mode)); }
    static void rnd() { calls.push_back("rnd"); }
    static void keyclear() { calls.push_back("keyclear"); }
    static inline const run_init_calls table{width, rnd, keyclear};
};

class Run : public ::testing::Test {
protected:
    void SetUp() override {
        runtime_flags_reset_for_tests();
        error_reset_for_tests();
        traps_reset_for_tests();
        zvs_reset_for_tests(1048576, 65536, 65536);
        palette_global_init();
        font_tables_reset_for_tests();
        screen_reset_for_tests();
        image_table_reset_for_tests();
        run_recorder::calls.clear();
        run_set_init_calls(&run_recorder::table);
    }
    void TearDown() override {
        run_set_init_calls(nullptr);
        end_reset_for_tests();
        image_table_reset_for_tests();
        screen_reset_for_tests();
    }
    static zvs* text(const std::string& s) {
        zvs* z = zvs_new(int32_t(s.size()), 1);
        if (!s.empty()) memcpy(z->text, s.data(), s.size());
        return z;
    }
};

TEST_F(Run, RunInitForgetsKeyTrapsAndResetsTheScreenRndAndKeyboard) {
    zvg_screen(12, 0, 0, 0, 0, 1);
    zvg_screen(0, 0, 0, 0, 0, 1);
    zvg_sub_color(14, 1, 0, 3);  // on page 0
    zvg_palette(7, 0x3F, 3);
    zvg_screen(0, 0, 1, 1, 0, 1 | 4 | 8);
    ASSERT_EQ(new_error.load(), 0);
    onkey_default_keys();
    onkey(30).id = 4;
    onkey(30).active = TRAP_ON;
    onkey(30).count = 2;
    onstrig(7).id = 5;
    onkey_inprogress = 1;
    sub_run_init();
    EXPECT_EQ(onkey(30).id.load(), 0);
    EXPECT_EQ(onkey(30).active.load(), TRAP_OFF);
    EXPECT_EQ(onkey(30).count.load(), 0);
    EXPECT_EQ(onkey(30).keycode.load(), 0x8500);
    EXPECT_EQ(onkey_inprogress.load(), 0);
    EXPECT_EQ(onstrig(7).id.load(), 5);  // ON STRIG stays
    EXPECT_EQ(run_recorder::calls, (std::vector<std::string>{"width on mode 0", "rnd", "keyclear"}));
    img_struct* page = write_page();
    EXPECT_EQ(write_page_index(), page_index(0));
    EXPECT_EQ(display_page_index(), page_index(0));
    EXPECT_EQ(page->legacy_mode, 0);
    EXPECT_EQ(page->color, 7u);
    EXPECT_EQ(page->background_color, 0u);
    EXPECT_EQ(page->top_row, 1);
    EXPECT_EQ(func__palettecolor(7, 0, 0), 0xFFAAAAAAu);  // the mode's default again
}

TEST_F(Run, AProgramThatCannotBeStartedRaisesError53AndTheProgramGoesOn) {
    const std::string missing = ::testing::TempDir() + "no-such-program-" + std::to_string(getpid());
    // A program as BASIC source: no compiler comes with the runtime.
    const std::string source = ::testing::TempDir() + "next-" + std::to_string(getpid()) + ".bas";
    FILE* f = fopen(source.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs("PRINT 1\n", f);
    fclose(f);
    const std::string names[] = {missing, missing + " arg", std::string("/bin/true\0x", 11), "", source};
    for (const auto& name : names) {
        sub_run(text(name));
        EXPECT_EQ(new_error.load(), 53) << name;
        clear_error();
    }
    EXPECT_EQ(close_program.load(), 0);
    EXPECT_EQ(exit_ok.load(), 0);
    unlink(source.c_str());
}

TEST_F(Run, NothingHappensWhileAnErrorIsPending) {
    error(5);
    sub_run(text("/bin/true"));
    EXPECT_EQ(new_error.load(), 5);
    EXPECT_EQ(close_program.load(), 0);
}

using RunDeathTest = Run;

TEST_F(RunDeathTest, AStartedProgramEndsThisOneThroughTheShutdown) {
    const std::string marker = ::testing::TempDir() + "run-marker-" + std::to_string(getpid());
    unlink(marker.c_str());
    EXPECT_EXIT(
        {
            end_set_park_hook([] { _exit((exit_ok.load() & 1) && close_program.load() ? 42 : 43); });
            sub_run(text("/usr/bin/touch " + marker));
            _exit(44);
        },
        ::testing::ExitedWithCode(42), "");
    for (int i = 0; i < 200 && access(marker.c_str(), F_OK) != 0; ++i) usleep(10000);
    EXPECT_EQ(access(marker.c_str(), F_OK), 0);
    unlink(marker.c_str());
}

}  // namespace
