// The static arena and the GOSUB return-point stack.
#include <gtest/gtest.h>

#include <cstring>

#include "error/error.h"
#include "memory/return_points.h"
#include "memory/static_arena.h"

namespace {

class Arena : public ::testing::Test {
protected:
    void SetUp() override {
        error_reset_for_tests();
        mem_static_global_init();
    }
};

TEST_F(Arena, SizesRoundUpTo16AndBlocksAreAligned) {
    uint8_t* base = mem_static_current().base;
    EXPECT_EQ(mem_static_malloc(1), base);
    EXPECT_EQ(mem_static_malloc(16), base + 16);
    EXPECT_EQ(mem_static_malloc(17), base + 32);
    EXPECT_EQ(mem_static_malloc(0), base + 64);
    EXPECT_EQ(mem_static_pointer, base + 64);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(base) % 16, 0u);
}

TEST_F(Arena, LargeRequestStartsAnArenaOfTwiceThePreviousPlusTheRequest) {
    uint8_t* first = mem_static_malloc(32);
    memset(first, 0x5A, 32);
    uint8_t* big = mem_static_malloc(0x100000);
    auto arena = mem_static_current();
    EXPECT_EQ(big, arena.base);
    EXPECT_EQ(arena.size, 0x300000);
    EXPECT_EQ(arena.limit, arena.base + 0x300000);
    memset(big, 0, 0x100000);
    for (int i = 0; i < 32; i++) ASSERT_EQ(first[i], 0x5A) << "earlier arenas stay allocated";
}

TEST_F(Arena, BlockThatExactlyFillsTheArenaStartsANewOne) {
    uint8_t* base = mem_static_current().base;
    EXPECT_EQ(mem_static_malloc(0xFFFF0), base) << "stays in the first arena";
    EXPECT_EQ(mem_static_current().base, base);
    uint8_t* last = mem_static_malloc(0x10);  // would reach the limit
    EXPECT_NE(mem_static_current().base, base);
    EXPECT_EQ(last, mem_static_current().base);
    EXPECT_EQ(mem_static_current().size, 0x200010);
}

TEST_F(Arena, RestoreInsideTheCurrentArenaOrElseToItsBase) {
    uint8_t* old_block = mem_static_malloc(64);
    uint8_t* mark = mem_static_pointer;
    mem_static_malloc(128);
    mem_static_restore(mark);
    EXPECT_EQ(mem_static_pointer, mark);
    mem_static_restore(mem_static_current().limit);
    EXPECT_EQ(mem_static_pointer, mem_static_current().limit);

    mem_static_malloc(0x200000);  // a new arena
    uint8_t* current_base = mem_static_current().base;
    mem_static_restore(old_block);
    EXPECT_EQ(mem_static_pointer, current_base);
    mem_static_restore(nullptr);
    EXPECT_EQ(mem_static_pointer, current_base);
}

TEST(ReturnPoints, CapacityDoublesAndKeepsTheEntries) {
    error_reset_for_tests();
    return_point_global_init();
    EXPECT_EQ(return_points, 16384);
    EXPECT_EQ(next_return_point, 0);
    for (int64_t i = 0; i < return_points; i++) return_point[i] = uint32_t(i * 7 + 1);
    next_return_point = return_points;
    more_return_points();
    EXPECT_EQ(return_points, 32768);
    for (int64_t i = 0; i < 16384; i++) ASSERT_EQ(return_point[i], uint32_t(i * 7 + 1));
    return_point[32767] = 5;
    EXPECT_EQ(new_error.load(), 0);
}

}  // namespace
