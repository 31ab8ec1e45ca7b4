// SWAP of strings and memory blocks, the x87 mode and the small calls of translated code.
#include <fpu_control.h>
#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

#include "core/fpu.h"
#include "core/small_calls.h"
#include "core/swap.h"
#include "string/string_fixture.h"

namespace {

using SwapString = StringTest;

TEST_F(SwapString, ExchangesTextsWithoutConsumingEither) {
    const struct {
        std::string a, b;
    } cases[] = {
        {"abc", "wxyz"},
        {std::string("a\0b", 3), "longer text"},
        {"", "x"},
        {"", ""},
    };
    for (const auto& c : cases) {
        zvs* a = var(c.a);
        zvs* b = var(c.b);
        int64_t live = zvs_heap_info_now().live_descriptors;
        uint32_t mark = zvs_tmp_list_nexti();
        swap_string(a, b);
        EXPECT_EQ(str(a), c.b);
        EXPECT_EQ(str(b), c.a);
        EXPECT_FALSE(a->temporary);
        EXPECT_FALSE(b->temporary);
        // The copy is gone and no temporary was left behind.
        EXPECT_EQ(zvs_heap_info_now().live_descriptors, live);
        EXPECT_EQ(zvs_tmp_list_nexti(), mark);
        zvs_free(a);
        zvs_free(b);
    }
}

TEST_F(SwapString, FixedLengthSideKeepsItsLength) {
    char bytes[5];
    memcpy(bytes, "12345", 5);
    zvs* fixed = zvs_new_fixed(bytes, 5, 0);
    zvs* a = var("abc");
    swap_string(a, fixed);
    EXPECT_EQ(str(a), "12345");
    EXPECT_EQ(std::string(bytes, 5), "abc  ");
    swap_string(fixed, a);
    EXPECT_EQ(std::string(bytes, 5), "12345");
    EXPECT_EQ(str(a), "abc  ");
    zvs_free(a);
    zvs_free(fixed);
}

TEST_F(SwapString, SameStringOnBothSidesAndPendingError) {
    zvs* a = var("same");
    swap_string(a, a);
    EXPECT_EQ(str(a), "same");
    zvs* b = var("other");
    error(53);
    swap_string(a, b);
    EXPECT_EQ(str(a), "same");
    EXPECT_EQ(str(b), "other");
    zvs_free(a);
    zvs_free(b);
}

TEST(SwapBlock, ExchangesEveryLengthExactly) {
    for (int64_t length = 0; length <= 11; length++) {
        std::vector<uint8_t> a(16), b(16);
        std::iota(a.begin(), a.end(), 1);
        std::iota(b.begin(), b.end(), 101);
        auto a0 = a, b0 = b;
        swap_block(a.data(), b.data(), length);
        for (int64_t i = 0; i < 16; i++) {
            EXPECT_EQ(a[i], i < length ? b0[i] : a0[i]) << "length " << length << " byte " << i;
            EXPECT_EQ(b[i], i < length ? a0[i] : b0[i]) << "length " << length << " byte " << i;
        }
    }
}

TEST(SwapBlock, UnalignedBlocks) {
    alignas(8) uint8_t buffer[32];
    std::iota(buffer, buffer + 32, 0);
    swap_block(buffer + 1, buffer + 17, 7);
    EXPECT_EQ(buffer[1], 17);
    EXPECT_EQ(buffer[7], 23);
    EXPECT_EQ(buffer[17], 1);
    EXPECT_EQ(buffer[8], 8);
}

TEST(Fpu, ExtendedPrecisionControlWord) {
    fpu_control_t old;
    _FPU_GETCW(old);
    fpu_control_t single = 0x007F;  // 24-bit mantissa
    _FPU_SETCW(single);
    set_fpu_extended_precision();
    fpu_control_t now;
    _FPU_GETCW(now);
    EXPECT_EQ(now, 0x037F);  // 64-bit mantissa, to nearest, every exception masked
    volatile long double one = 1, three = 3;
    long double third = one / three;
    EXPECT_NE(third, (long double)(double)third);  // more than 53 bits kept
    _FPU_SETCW(old);
}

TEST(SmallCalls, AddoneWrapsAtTheTop) {
    EXPECT_EQ(addone(1), 2);
    EXPECT_EQ(addone(-1), 0);
    EXPECT_EQ(addone(2147483647), -2147483647 - 1);
    EXPECT_EQ(logical_drives(), 0u);
}

}  // namespace
