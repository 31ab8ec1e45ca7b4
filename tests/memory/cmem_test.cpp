// Conventional memory: start-up layout, DEF SEG/PEEK/POKE and the dynamic blocks.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "error/error.h"
#include "memory/cmem.h"

namespace {

class Cmem : public ::testing::Test {
protected:
    void SetUp() override {
        cmem_reset_for_tests();
        error_reset_for_tests();
    }
    void TearDown() override { error_reset_for_tests(); }
};

uint32_t linear(const uint8_t* p) { return uint32_t(p - cmem); }

TEST_F(Cmem, StartUpLayout) {
    EXPECT_EQ(dblock - cmem, 0x500);
    EXPECT_EQ(cmem_sp, 65528);
    EXPECT_EQ(nothingvalue, dblock + 65528);
    EXPECT_EQ(defseg, dblock);
    for (int i = 0; i < 8; i++) EXPECT_EQ(nothingvalue[i], 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(cmem) % 16, 0u);
}

struct poke_case {
    const char* what;
    int64_t segment;  // -2: DEF SEG without a value
    int64_t offset;
    int32_t value;
    uint32_t address;
};

TEST_F(Cmem, PokeAndPeekThroughDefSeg) {
    const poke_case cases[] = {
        {"first text cell of page 0", 0xB800, 0, 65, 0xB8000},
        {"default segment, offset -1", -2, -1, 7, 0x104FF},
        {"segment -1 is 0xFFFF, highest byte", -1, 0xFFFF, 9, 0x10FFEF},
        {"segment -65536 is 0", -65536, 0x46C, 3, 0x46C},
        {"low byte of the value", 0xA000, 10, 0x141, 0xA000A},
        {"offset -65536 is offset 0", 0x1000, -65536, 200, 0x10000},
    };
    for (const auto& c : cases) {
        sub_defseg(c.segment, c.segment != -2);
        sub_poke(c.offset, c.value);
        EXPECT_EQ(cmem[c.address], uint8_t(c.value)) << c.what;
        EXPECT_EQ(func_peek(c.offset), uint8_t(c.value)) << c.what;
        EXPECT_EQ(new_error.load(), 0) << c.what;
    }
}

TEST_F(Cmem, OutOfRangeOffsetsAndSegmentsAreError6) {
    cmem[0x500] = 0x55;
    struct {
        const char* what;
        void (*call)();
    } cases[] = {
        {"PEEK(65536)", [] { EXPECT_EQ(func_peek(65536), 0); }},
        {"PEEK(-65537)", [] { EXPECT_EQ(func_peek(-65537), 0); }},
        {"POKE 65536, 1", [] { sub_poke(65536, 1); }},
        {"DEF SEG = 65536", [] { sub_defseg(65536, 1); }},
        {"DEF SEG = -65537", [] { sub_defseg(-65537, 1); }},
        {"PEEK(2^32)", [] { EXPECT_EQ(func_peek(int64_t(1) << 32), 0); }},
    };
    for (const auto& c : cases) {
        error_reset_for_tests();
        c.call();
        EXPECT_EQ(new_error.load(), 6) << c.what;
        EXPECT_EQ(defseg, dblock) << c.what;
        EXPECT_EQ(cmem[0x500], 0x55) << c.what;
    }
}

TEST_F(Cmem, PendingErrorStopsDefSegAndPokeButNotPeek) {
    cmem[0x500] = 42;
    error(53);
    sub_defseg(0xB800, 1);
    sub_poke(0, 1);
    EXPECT_EQ(defseg, dblock);
    EXPECT_EQ(cmem[0x500], 42);
    EXPECT_EQ(func_peek(0), 42);
    EXPECT_EQ(func_peek(65536), 0);  // its own error is dropped
    EXPECT_EQ(new_error.load(), 53);
}

TEST_F(Cmem, DynamicBlocksFillGapsFromTheTop) {
    uint8_t* a = cmem_dynamic_malloc(10);
    uint8_t* b = cmem_dynamic_malloc(20);
    EXPECT_EQ(linear(a), 0x9FFF0u);
    EXPECT_EQ(linear(b), 0x9FFD0u);
    EXPECT_EQ(cmem_dynamic_base(), 0x9FFD0u);
    cmem_dynamic_free(a);
    uint8_t* c = cmem_dynamic_malloc(16);
    EXPECT_EQ(linear(c), 0x9FFF0u) << "the gap above the second block";
    EXPECT_EQ(cmem_dynamic_base(), 0x9FFD0u) << "a block placed in a gap leaves the base";
}

TEST_F(Cmem, FreedMiddleBlockIsReusedOnlyWhenLargeEnough) {
    std::vector<uint8_t*> blocks;
    for (int i = 0; i < 3; i++) blocks.push_back(cmem_dynamic_malloc(16));
    EXPECT_EQ(linear(blocks[2]), 0x9FFD0u);
    cmem_dynamic_free(blocks[1]);
    EXPECT_EQ(linear(cmem_dynamic_malloc(16)), 0x9FFE0u);
    EXPECT_EQ(linear(cmem_dynamic_malloc(32)), 0x9FFB0u);
    cmem_dynamic_free(blocks[1]);  // the 16-byte block that took the gap
    EXPECT_EQ(linear(cmem_dynamic_malloc(17)), 0x9FF90u) << "17 rounds to 32, too big for the gap";
}

TEST_F(Cmem, ZeroSizeIsTheScreen13AddressAndFreeingOddPointersDoesNothing) {
    EXPECT_EQ(cmem_dynamic_malloc(0), cmem + 0xA0000);
    EXPECT_EQ(cmem_dynamic_base(), 0xA0000u);
    uint8_t* a = cmem_dynamic_malloc(16);
    int unknown = 0;
    cmem_dynamic_free(nullptr);
    cmem_dynamic_free(cmem + 0xA0000);
    cmem_dynamic_free(a + 1);
    cmem_dynamic_free(reinterpret_cast<uint8_t*>(&unknown));
    EXPECT_EQ(linear(cmem_dynamic_malloc(16)), 0x9FFE0u) << "the first block is still there";
    cmem_dynamic_free(a);
    EXPECT_EQ(linear(cmem_dynamic_malloc(16)), 0x9FFF0u);
}

TEST_F(Cmem, EightFullSizeBlocksFit) {
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(linear(cmem_dynamic_malloc(65536)), uint32_t(0xA0000 - (i + 1) * 0x10000));
    }
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(Cmem, BlockLargerThan64KiBIsFatal) {
    EXPECT_EXIT(cmem_dynamic_malloc(65537), ::testing::ExitedWithCode(0), "Critical Error #5");
}

TEST_F(Cmem, NinthFullSizeBlockIsFatal) {
    for (int i = 0; i < 8; i++) cmem_dynamic_malloc(65536);
    EXPECT_EXIT(cmem_dynamic_malloc(65536), ::testing::ExitedWithCode(0), "Critical Error #6");
}

TEST_F(Cmem, ManyBlocksAllocatedAndFreedReuseTheirLinks) {
    // More allocations than links exist: freed links must be reused.
    for (int round = 0; round < 200; round++) {
        std::vector<uint8_t*> blocks;
        for (int i = 0; i < 1000; i++) blocks.push_back(cmem_dynamic_malloc(16));
        ASSERT_EQ(linear(blocks.back()), 0xA0000u - 1000 * 16);
        for (uint8_t* b : blocks) cmem_dynamic_free(b);
    }
    EXPECT_EQ(linear(cmem_dynamic_malloc(16)), 0x9FFF0u);
    EXPECT_EQ(new_error.load(), 0);
}

}  // namespace
