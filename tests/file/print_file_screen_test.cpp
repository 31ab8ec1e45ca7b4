// PRINT # to SCRN: prints on the write image through the PRINT core.
#include "file/file_numbers.h"
#include "file/gfs.h"
#include "file/print_file.h"
#include "text/text_fixture.h"

namespace {

class PrintFileScreen : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        gfs_reset_for_tests();
    }
    void TearDown() override {
        gfs_close_all_files();
        TextTest::TearDown();
    }
};

TEST_F(PrintFileScreen, SpacesAndZonesAreNotAppliedOnTheScreen) {
    text_page(80, 25);
    sub_open(text("SCRN:"), 4, 0, 0, 1, 0, 0);
    ASSERT_EQ(new_error.load(), 0);
    sub_file_print(1, text("hi"), 1, 1, 0);
    EXPECT_EQ(x(), 3);
    EXPECT_EQ(y(), 1);
    sub_file_print(1, text("yo"), 0, 0, 1);
    EXPECT_EQ(row(1).substr(0, 6), "hiyo  ");
    EXPECT_EQ(x(), 1);
    EXPECT_EQ(y(), 2);
    EXPECT_EQ(new_error.load(), 0);
}

}  // namespace
