// Subscript checks in 64 bits, rounding to 64-bit patterns, LBOUND and UBOUND.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/array.h"
#include "core/runtime_flags.h"
#include "core/statement_flags.h"
#include "error/error.h"

namespace {

class ArrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        error_reset_for_tests();
        runtime_flags_reset_for_tests();
        statement_flags_reset_for_tests();
    }
    // The latched number, cleared for the next case.
    int32_t take_error() {
        int32_t n = new_error.load();
        error_reset_for_tests();
        zvevent = 0;
        return n;
    }
};

constexpr long double nan_value = std::numeric_limits<long double>::quiet_NaN();

struct subscript_case {
    long double value;
    int32_t lbound, count;
    int32_t error;    // 0: in range
    uint32_t index;   // element offset when in range
};

TEST_F(ArrayTest, SubscriptsRoundTiesToEvenAndAreCheckedIn64Bits) {
    const subscript_case cases[] = {
        {-0.5L, 0, 10, 0, 0},
        {-1.0L, 0, 10, 9, 0},
        {2.5L, 0, 10, 0, 2},
        {3.5L, 0, 10, 0, 4},
        {9.0L, 0, 10, 0, 9},
        {9.5L, 0, 10, 9, 0},  // rounds to 10
        {5.5L, 5, 3, 0, 1},
        {4.5L, 5, 3, 9, 0},   // rounds to 4
        {4294967297.0L, 0, 10, 9, 0},
        {4294967296.0L, 0, 10, 9, 0},
        {-4294967295.0L, 0, 10, 9, 0},
        {nan_value, 0, 10, 9, 0},
        {std::numeric_limits<long double>::infinity(), 0, 10, 9, 0},
        {-std::numeric_limits<long double>::infinity(), 0, 10, 9, 0},
        {1e30L, 0, 10, 9, 0},
        {-2.0L, -2, 8, 0, 0},
        {5.0L, -2, 8, 0, 7},
        {6.0L, -2, 8, 9, 0},
        {2147483647.0L, 2147483640, 8, 0, 7},  // the last index of the widest range
        {-9.2e18L, -2147483647 - 1, 5, 9, 0},  // far below, no wrap through 64 bits
        {0.0L, 0x7FFFFFFF, 0, 9, 0},           // unallocated
    };
    for (const auto& c : cases) {
        array_dimension d{c.lbound, c.count, 1};
        uint32_t index = array_index(c.value, d);
        EXPECT_EQ(take_error(), c.error) << double(c.value) << " lbound " << c.lbound << " count " << c.count;
        EXPECT_EQ(index, c.index) << double(c.value);
    }
}

TEST_F(ArrayTest, ArrayCheckComparesUnsigned) {
    EXPECT_EQ(array_check(9, 10), 9u);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(array_check(uint32_t(-1), 10), 0u);
    EXPECT_EQ(take_error(), 9);
    EXPECT_EQ(array_check(10, 10), 0u);
    EXPECT_EQ(take_error(), 9);
}

TEST_F(ArrayTest, ASubscriptErrorRaisesTheBoundaryFlag) {
    array_dimension d{0, 10, 1};
    array_index(11.0L, d);
    EXPECT_EQ(new_error.load(), 9);
    EXPECT_EQ(zvevent.load(), 1);
}

TEST_F(ArrayTest, RoundToUint64) {
    const struct {
        long double x;
        uint64_t bits;
    } cases[] = {
        {2.5L, 2},
        {3.5L, 4},
        {-1.0L, 0xFFFFFFFFFFFFFFFFull},
        {-0.5L, 0},
        {9223372036854777856.0L, 0x8000000000000800ull},  // 2^63 + 2048
        {18446744073709551615.0L, 0xFFFFFFFFFFFFFFFFull},  // 2^64 - 1
        {-9223372036854775808.0L, 0x8000000000000000ull},
        {nan_value, 0x8000000000000000ull},
        {18446744073709551616.0L, 0x8000000000000000ull},  // 2^64
        {-9223372036854775809.0L, 0x8000000000000000ull},  // below -2^63
        {9223372036854775807.5L, 0x8000000000000000ull},   // rounds to 2^63
    };
    for (const auto& c : cases) EXPECT_EQ(round_to_uint64(c.x), c.bits) << double(c.x);
}

// DIM A(1 TO 3, -2 TO 5): groups stored last dimension first.
struct dim_a_fixture : ArrayTest {
    array_descriptor<2> a{};
    array_descriptor<2>* a_pointer = &a;
    void SetUp() override {
        ArrayTest::SetUp();
        a.flags = ARRAY_ALLOCATED | ARRAY_STATIC;
        a.dim[0] = {-2, 8, 3};
        a.dim[1] = {1, 3, 1};
    }
};

TEST_F(dim_a_fixture, BoundsOfEachDimension) {
    EXPECT_EQ(func_lbound(&a, 1, 2), 1);
    EXPECT_EQ(func_ubound(&a, 1, 2), 3);
    EXPECT_EQ(func_lbound(&a, 2, 2), -2);
    EXPECT_EQ(func_ubound(&a, 2, 2), 5);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(dim_a_fixture, DimensionOutsideOneToDimensionsIsError9) {
    for (int32_t dimension : {0, 3, -1}) {
        EXPECT_EQ(func_lbound(&a, dimension, 2), 0);
        EXPECT_EQ(take_error(), 9) << dimension;
        EXPECT_EQ(func_ubound(&a, dimension, 2), 0);
        EXPECT_EQ(take_error(), 9) << dimension;
    }
}

TEST_F(dim_a_fixture, UnallocatedArrayIsError9) {
    array_set_unallocated(&a);
    EXPECT_EQ(func_lbound(&a, 1, 2), 0);
    EXPECT_EQ(take_error(), 9);
    EXPECT_EQ(a.dim[0].lbound, 0x7FFFFFFF);
    uint64_t nothing;
    memcpy(&nothing, a.data, 8);
    EXPECT_EQ(nothing, 0u);
}

TEST_F(dim_a_fixture, PendingErrorMakesBoundsReturn0WithoutTouchingIt) {
    error(53);
    EXPECT_EQ(func_ubound(&a, 1, 2), 0);
    EXPECT_EQ(new_error.load(), 53);
}

TEST_F(dim_a_fixture, CheckBoundsLeaveNothingPendingEvenAnEarlierError) {
    EXPECT_EQ(check_ubound(&a_pointer, 2, 2), 5);
    array_set_unallocated(&a);
    error(53);
    EXPECT_EQ(check_lbound(&a_pointer, 1, 2), 0);
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(check_ubound(&a_pointer, 1, 2), 0);
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(disableEvents.load(), 0);
}

TEST_F(dim_a_fixture, ADimensionCountBeyondTheDescriptorIsClamped) {
    // Never reads past the descriptor's own groups.
    EXPECT_EQ(func_lbound(&a, 3, 60), 0);
    EXPECT_EQ(take_error(), 9);
}

}  // namespace
