// PRINT of CHR$(7) rings BEEP and prints nothing.
#include <gtest/gtest.h>

#include "dialog/gui.h"
#include "fake_backend.h"
#include "text/text_fixture.h"

namespace {

class PrintBell : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        setenv("DISPLAY", ":99", 1);
        dialog_reset_for_tests();
        fake_backend::install();
        set_print_beep(sub_beep);
    }
    void TearDown() override {
        set_print_beep(nullptr);
        dialog_reset_for_tests();
        TextTest::TearDown();
    }
};

TEST_F(PrintBell, Chr7ReachesBeep) {
    int32_t column = x();
    item("\x07");
    EXPECT_EQ(fake_backend::beeps, 1);
    EXPECT_EQ(x(), column);
}

}  // namespace
