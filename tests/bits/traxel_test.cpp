// The debug-link handle: free is -1, unlocking frees only a positive handle.
#include <gtest/gtest.h>

#include "support/traxel.h"

TEST(Traxel, UnlockFreesOnlyAPositiveHandle) {
    traxel_reset_for_tests();
    EXPECT_EQ(traxelHandle(), -1);
    traxel_set_handle(5);
    unlocktraxelHandle();
    EXPECT_EQ(traxelHandle(), -1);
    traxel_set_handle(0);
    unlocktraxelHandle();
    EXPECT_EQ(traxelHandle(), 0);
}
