// END's prompt printed through the text statements on the last row of the display page.
#include <gtest/gtest.h>

#include "core/runtime_flags.h"
#include "lifecycle/end.h"
#include "text/end_calls.h"
#include "text/text_fixture.h"

namespace {

class EndPrompt : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        runtime_flags_reset_for_tests();
        text_register_end_calls(nullptr);
    }
    void TearDown() override {
        end_reset_for_tests();
        runtime_flags_reset_for_tests();
        TextTest::TearDown();
    }
};

TEST_F(EndPrompt, ThePromptSitsAtTheStartOfTheLastRow) {
    for (int32_t mode : {12, 0}) {
        int32_t page0 = screen(mode);
        int32_t rows = text_rows(page());
        at(3, 9);
        set_write_page(imgnew(10, 10, 32));  // END prints on the display page whatever _DEST is
        stop_program = 1;                    // so that the wait gives up at once
        EXPECT_FALSE(end_wait_in_window());
        EXPECT_EQ(write_page_index(), page0);
        EXPECT_EQ(page()->top_row, rows);
        EXPECT_EQ(page()->bottom_row, rows);
        std::string prompt = "Press any key to continue";
        for (size_t i = 0; i < prompt.size(); i++)
            EXPECT_EQ(func_screen(rows, int32_t(i) + 1, 0, 0), uint8_t(prompt[i])) << mode;
        EXPECT_EQ(func_pos(0), int32_t(prompt.size()) + 1);
        runtime_flags_reset_for_tests();
    }
}

}  // namespace
