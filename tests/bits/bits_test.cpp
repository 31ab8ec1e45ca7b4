// Bit-field array elements: sign handling, exact placement and the bytes touched.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "core/array.h"
#include "support/bits.h"

TEST(Bits, ReadsElementOneOfFourBitFields) {
    uint8_t data[1] = {0xF0};
    EXPECT_EQ(getbits(4, data, 1), -1);
    EXPECT_EQ(getubits(4, data, 1), 15u);
    EXPECT_EQ(getbits(4, data, 0), 0);
}

TEST(Bits, SetWritesOnlyTheElementAcrossAByteBoundary) {
    uint8_t data[2] = {0, 0};
    setbits(3, data, 2, 7);
    EXPECT_EQ(data[0], 0xC0);
    EXPECT_EQ(data[1], 0x01);
    uint8_t full[2] = {0xFF, 0xFF};
    setbits(3, full, 2, 0);
    EXPECT_EQ(full[0], 0x3F);
    EXPECT_EQ(full[1], 0xFE);
}

// Every width that matters at every phase: the element reads back (signed and
// unsigned), the bits around it keep their pattern, and the last element of an
// exactly sized heap block stays inside it (ASan reports a stray byte).
TEST(Bits, RoundTripsEveryPhaseWithoutTouchingNeighbours) {
    std::mt19937_64 rng(7);
    for (uint32_t bits : {1u, 7u, 13u, 57u, 58u, 63u}) {
        for (int count = 1; count <= 8; ++count) {  // last element at phase (count-1)*bits & 7
            size_t size = (size_t(bits) * count + 7) / 8;
            auto data = std::make_unique<uint8_t[]>(size);
            auto before = std::make_unique<uint8_t[]>(size);
            for (size_t k = 0; k < size; ++k) data[k] = uint8_t(rng());
            memcpy(before.get(), data.get(), size);
            intptr_t i = count - 1;
            uint64_t mask = (uint64_t(1) << bits) - 1;
            uint64_t value = rng() & mask;
            setbits(bits, data.get(), i, int64_t(value));
            ASSERT_EQ(getubits(bits, data.get(), i), value) << bits << " " << count;
            int64_t expected = (value >> (bits - 1)) & 1 ? int64_t(value | ~mask) : int64_t(value);
            ASSERT_EQ(getbits(bits, data.get(), i), expected) << bits << " " << count;
            size_t first = size_t(bits) * i;
            for (size_t bit = 0; bit < size * 8; ++bit) {
                if (bit >= first && bit < first + bits) continue;
                ASSERT_EQ((data[bit / 8] >> (bit % 8)) & 1, (before[bit / 8] >> (bit % 8)) & 1)
                    << "width " << bits << " element " << i << " bit " << bit;
            }
        }
    }
}

TEST(Bits, HighBitsOfWideElementsSurvive) {
    uint8_t data[16] = {};
    int64_t value = int64_t(0x4123456789ABCDEFull);  // bit 62 set: beyond a 57-bit window
    setbits(63, data, 1, value);                     // starts at bit 63, phase 7
    EXPECT_EQ(getubits(63, data, 1), uint64_t(value));
    setbits(63, data, 1, -2);
    EXPECT_EQ(getbits(63, data, 1), -2);
    EXPECT_EQ(getbits(63, data, 0), 0);
}

// Translated code reaches the elements through the array's descriptor: the data
// pointer it holds, whatever the number of dimensions.
TEST(Bits, ElementsThroughADescriptor) {
    uint8_t data[4] = {0xF0, 0, 0, 0};
    array_descriptor<1> a{data, ARRAY_ALLOCATED, {{0, 8, 1}}, nullptr};
    EXPECT_EQ(call_getbits(4, &a, 1), -1);
    EXPECT_EQ(call_getubits(4, &a, 1), 15u);
    EXPECT_EQ(call_getbits(4, &a, 0), 0);
    call_setbits(3, &a, 2, 7);  // bits 6 to 8
    EXPECT_EQ(data[0], 0xF0 | 0xC0);
    EXPECT_EQ(data[1], 0x01);
    EXPECT_EQ(data[2], 0);

    // DIM b(1 TO 2, 0 TO 3) AS _BIT * 5: element (2, 3) is number 7, bits 35 to 39.
    uint8_t grid[5] = {};
    array_descriptor<2> b{grid, ARRAY_ALLOCATED, {{0, 4, 1}, {1, 2, 4}}, nullptr};
    call_setbits(5, &b, 7, -6);
    EXPECT_EQ(grid[4], 0xD0);  // 11010 at bits 3 to 7 of byte 4
    EXPECT_EQ(call_getbits(5, &b, 7), -6);
    EXPECT_EQ(call_getubits(5, &b, 7), 26u);
    EXPECT_EQ(grid[0] | grid[1] | grid[2] | grid[3], 0);
}
