// RANDOMIZE without a number on a text page, before the INPUT editor registers its
// reader; PRINT USING's text printed the way a PRINT USING statement prints it.
#include <gtest/gtest.h>

#include "error/error.h"
#include "number/print_using.h"
#include "number/rnd.h"
#include "text/text_fixture.h"

namespace {

class NumberOnText : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        error_reset_for_tests();
        rnd_reset_for_tests();
        print_using_reset_for_tests();
        text_page(80, 25);
        at(1, 1);
    }
    void TearDown() override {
        rnd_reset_for_tests();
        error_reset_for_tests();
        TextTest::TearDown();
    }
};

TEST_F(NumberOnText, RandomizeShowsItsPromptWithoutALineEnd) {
    sub_randomize(0, 0);
    EXPECT_EQ(row(1).substr(0, 38), "Random-number seed (-32768 to 32767)? ");
    EXPECT_EQ(x(), 39);
    EXPECT_EQ(y(), 1);
    // Nothing was read: the state stays.
    EXPECT_EQ(rnd_state(), 327680);
}

TEST_F(NumberOnText, PrintUsingTextGoesThroughThePrintCore) {
    zvs* dest = zvs_new(0, 0);
    zvs* format = zvs_new_txt("##.## |");
    int32_t p = print_using_single(format, 1.5f, 0, dest);
    print_using_single(format, -2.25f, p, dest);
    item(str(dest));
    end_line();
    EXPECT_EQ(row(1).substr(0, 16), " 1.50 |-2.25 |  ");
    EXPECT_EQ(y(), 2);
    zvs_free(dest);
}

}  // namespace
