// CLEAR's runtime part (compiled with every program): arrays zero-filled or freed,
// and the reset of DATA, files, images and error handling.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "clear.h"
#include "error/error.h"
#include "image/image_modes.h"
#include "image/image_properties.h"
#include "image/image_statements.h"
#include "image/image_table.h"
#include "lifecycle/end.h"
#include "memory/cmem.h"
#include "memory/mem_lock.h"
#include "memory/return_points.h"
#include "palette/palette.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

namespace {

class Clear : public ::testing::Test {
protected:
    void SetUp() override {
        error_reset_for_tests();
        zvs_reset_for_tests(1048576, 65536, 65536);
        mem_lock_global_init();
        cmem_reset_for_tests();
        return_point_global_init();
        palette_global_init();
        image_table_reset_for_tests();
    }
    void TearDown() override {
        end_reset_for_tests();
        image_table_reset_for_tests();
        error_reset_for_tests();
    }
    static int32_t take_error() {
        int32_t n = new_error.load();
        clear_error();
        return n;
    }
};

TEST_F(Clear, StaticArraysAreZeroFilledOverEveryDimension) {
    // DIM A(1 TO 3, 0 TO 4) AS LONG in the static arena, and one byte beyond it.
    int32_t storage[16];
    for (auto& v : storage) v = 7;
    array_descriptor<2> a{storage, ARRAY_ALLOCATED | ARRAY_STATIC, {{0, 5, 1}, {1, 3, 5}}, nullptr};
    clear_array(&a, 4);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(storage[i], 0) << i;
    EXPECT_EQ(storage[15], 7);
    EXPECT_EQ(a.flags, uint32_t(ARRAY_ALLOCATED | ARRAY_STATIC));
    EXPECT_EQ(a.data, storage);
    EXPECT_EQ(func_lbound(&a, 1, 2), 1);
}

TEST_F(Clear, DynamicArraysAreFreedAndTheirMemBlocksInvalidated) {
    mem_lock* lock = new_mem_lock();
    lock->type = MEM_LOCK_ARRAY;
    array_descriptor<1> b{malloc(11 * 8), ARRAY_ALLOCATED, {{0, 11, 1}}, lock};
    clear_array(&b, 8);
    EXPECT_EQ(lock->id, 0);
    EXPECT_EQ(b.flags, 0u);
    EXPECT_EQ(b.data, array_nothing_value());
    EXPECT_EQ(b.dim[0].lbound, array_unallocated_lbound);
    EXPECT_EQ(b.dim[0].count, 0);
    EXPECT_EQ(b.lock, nullptr);
    EXPECT_EQ(take_error(), 0);
    func_lbound(&b, 1, 1);
    EXPECT_EQ(take_error(), 9);

    clear_array(&b, 8);  // an unallocated array is left alone
    EXPECT_EQ(b.data, array_nothing_value());
}

TEST_F(Clear, ConventionalMemoryArraysGoBackToTheirHeap) {
    uint8_t* block = cmem_dynamic_malloc(64);
    array_descriptor<1> c{block, ARRAY_ALLOCATED | ARRAY_CMEM, {{0, 32, 1}}, nullptr};
    clear_array(&c, 2);
    EXPECT_EQ(c.flags, 0u);
    EXPECT_EQ(cmem_dynamic_malloc(64), block);  // the same block is free again
}

TEST_F(Clear, TheRestOfTheRuntimeIsReset) {
    static int closes;
    closes = 0;
    end_set_close_all_files([] { ++closes; });
    int32_t page = imgnew(320, 200, 13);
    img_get(page)->flags |= IMG_SCREEN;
    page_set(0, page);
    set_write_page(page);
    set_display_page(page);
    int32_t handle = func__newimage(10, 10, 32, 1);
    ASSERT_LT(handle, 0);
    error_handler_history_init();
    zvs_set(error_handler_history, zvs_new_txt("53 at 10"));
    error_goto_line = 3;
    error_handling = 1;
    next_return_point = 2;
    int32_t data_offset = 12;

    clear_reset_runtime(&data_offset);
    EXPECT_EQ(data_offset, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(error_goto_line.load(), 0);
    EXPECT_EQ(error_handling.load(), 0);
    EXPECT_EQ(next_return_point, 0);
    EXPECT_EQ(error_handler_history->length, 0);
    func__width(handle, 1);
    EXPECT_EQ(take_error(), 258);
    EXPECT_TRUE(img_get(page)->valid);
    EXPECT_EQ(page_index(0), page);
}

}  // namespace
