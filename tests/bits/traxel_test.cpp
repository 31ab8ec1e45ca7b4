// The debug-link handle: free is -1, unlocking frees only a positive handle.
#include <gtest/gtest.h>

#include "memory/static_arena.h"
#include "shape.h"
#include "support/traxel.h"
#include "traxel.h"

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

TEST(Traxel, DebugLinkSubLeavesNoScopeBehind) {
    mem_static_global_init();
    uint8_t* arena = mem_static_pointer;
    int64_t mark = zv_tmp_mark();
    SUB_TRAXEL();
    EXPECT_EQ(mem_static_pointer, arena);
    EXPECT_EQ(zv_tmp_mark(), mark);
}
