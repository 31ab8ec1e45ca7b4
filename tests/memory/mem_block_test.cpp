// _MEM blocks: locks, _MEMNEW/_MEMFREE, _MEMGET, _MEMFILL and _MEMCOPY with their errors.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "error/error.h"
#include "memory/mem_block.h"

namespace {

class Mem : public ::testing::Test {
protected:
    void SetUp() override {
        mem_lock_reset_for_tests();
        error_reset_for_tests();
    }
    void TearDown() override { error_reset_for_tests(); }

    // A block over a local buffer, with a plain lock of its own.
    mem_block over(std::vector<uint8_t>& bytes) {
        return func__mem_at_offset(reinterpret_cast<intptr_t>(bytes.data()), intptr_t(bytes.size()));
    }
    static intptr_t at(std::vector<uint8_t>& bytes, intptr_t i) { return reinterpret_cast<intptr_t>(bytes.data()) + i; }
    static std::string text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
};

TEST_F(Mem, LocksGetRisingIdsAndAReusedLockInvalidatesOldBlocks) {
    mem_lock* a = new_mem_lock();
    mem_lock* b = new_mem_lock();
    EXPECT_EQ(a->id, 0x40000000);
    EXPECT_EQ(b->id, 0x40000001);
    EXPECT_EQ(mem_lock_last(), b);
    int32_t variable = 0;
    mem_block block = func__mem(reinterpret_cast<intptr_t>(&variable), 4, 0, 4, a);
    EXPECT_EQ(func__memexists(block), -1);
    free_mem_lock(a);
    EXPECT_EQ(a->id, 0);
    mem_lock* c = new_mem_lock();
    EXPECT_EQ(c, a) << "the last released lock is reused first";
    EXPECT_EQ(c->id, 0x40000002);
    EXPECT_EQ(func__memexists(block), 0);
}

TEST_F(Mem, BaseLockNeverMakesAValidBlock) {
    mem_block block{0, 0, mem_block_freed_id, mem_lock_base(), 0, 1, -1};
    EXPECT_EQ(func__memexists(block), 0);
    EXPECT_NE(func__memget(block, 0, 1), nullptr);
    EXPECT_EQ(new_error.load(), 308);
    error_reset_for_tests();
    sub__memfree(&block);
    EXPECT_EQ(new_error.load(), 307);
    free_mem_lock(mem_lock_base());
    EXPECT_NE(new_mem_lock(), mem_lock_base());
}

TEST_F(Mem, MemNewBlocks) {
    mem_block empty = func__memnew(0);
    EXPECT_EQ(empty.offset, 1);
    EXPECT_EQ(empty.size, 0);
    EXPECT_EQ(func__memexists(empty), -1);
    EXPECT_EQ(empty.lock->type, MEM_LOCK_PLAIN);
    sub__memfree(&empty);
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(func__memexists(empty), 0);

    mem_block sixteen = func__memnew(16);
    EXPECT_NE(sixteen.offset, 0);
    EXPECT_EQ(sixteen.size, 16);
    EXPECT_EQ(sixteen.type, 0x4000);
    EXPECT_EQ(sixteen.elementsize, 1);
    EXPECT_EQ(sixteen.image, -1);
    EXPECT_EQ(sixteen.lock->type, MEM_LOCK_MEMNEW);
    memset(reinterpret_cast<void*>(sixteen.offset), 1, 16);  // writable (ASan checks)
    sub__memfree(&sixteen);
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(sixteen.lock_id, mem_block_freed_id);

    mem_block negative = func__memnew(-1);
    EXPECT_EQ(new_error.load(), 5);
    EXPECT_EQ(negative.offset, 0);
    EXPECT_EQ(negative.size, 0);
    EXPECT_EQ(negative.lock->type, MEM_LOCK_PLAIN);
}

TEST_F(Mem, PendingErrorGivesEmptyBlocksWithoutAnotherError) {
    error(53);
    for (mem_block block : {func__memnew(16), func__mem_at_offset(1000, 10)}) {
        EXPECT_EQ(block.offset, 0);
        EXPECT_EQ(block.size, 0);
        EXPECT_EQ(block.type, 0);
        ASSERT_NE(block.lock, nullptr);
        EXPECT_EQ(block.lock->type, MEM_LOCK_PLAIN);
    }
    EXPECT_EQ(new_error.load(), 53);
}

TEST_F(Mem, MemAtOffsetWithNegativeSizeIsError301) {
    mem_block block = func__mem_at_offset(1000, -1);
    EXPECT_EQ(new_error.load(), 301);
    EXPECT_EQ(block.offset, 0);
    EXPECT_EQ(block.size, 0);
    EXPECT_EQ(block.type, 0);
    EXPECT_NE(block.lock, nullptr);
}

TEST_F(Mem, MemFreeErrors) {
    mem_block block = func__memnew(8);
    mem_block copy = block;
    sub__memfree(&block);
    sub__memfree(&block);
    EXPECT_EQ(new_error.load(), 307) << "twice on one block";
    error_reset_for_tests();
    sub__memfree(&copy);
    EXPECT_EQ(new_error.load(), 307) << "a copy of a freed block";
    error_reset_for_tests();
    mem_block zero{};
    sub__memfree(&zero);
    EXPECT_EQ(new_error.load(), 309) << "a block never initialised";
}

TEST_F(Mem, MemFreeOfScopeArrayOrImageBlockReleasesNothing) {
    for (int32_t type : {MEM_LOCK_IMAGE, MEM_LOCK_SCOPE, MEM_LOCK_ARRAY}) {
        mem_lock* lock = new_mem_lock();
        lock->type = type;
        int64_t id = lock->id;
        int32_t data[4] = {};
        mem_block a = func__mem(reinterpret_cast<intptr_t>(data), sizeof data, 0, 4, lock);
        mem_block b = a;
        sub__memfree(&a);
        EXPECT_EQ(new_error.load(), 0);
        EXPECT_EQ(lock->id, id) << "type " << type << ": the lock is not released";
        EXPECT_EQ(func__memexists(a), 0) << "type " << type;
        EXPECT_EQ(func__memexists(b), -1) << "type " << type;
        EXPECT_NE(new_mem_lock(), lock);
    }
}

TEST_F(Mem, BlockOverAFreedImageOrFreedMemNewMemoryIsNoLongerValid) {
    uint8_t pixels[64] = {};
    mem_lock* image_lock = new_mem_lock();
    image_lock->type = MEM_LOCK_IMAGE;
    mem_block image = func__mem(reinterpret_cast<intptr_t>(pixels), 64, 0, 4, image_lock);
    image.image = -5;
    free_mem_lock(image_lock);  // as freeing the image does
    EXPECT_EQ(func__memexists(image), 0);
    func__memget(image, image.offset, 4);
    EXPECT_EQ(new_error.load(), 308);

    error_reset_for_tests();
    mem_block memory = func__memnew(32);
    mem_block copy = memory;
    sub__memfree(&memory);
    EXPECT_EQ(func__memexists(copy), 0);
    func__memget(copy, copy.offset, 1);
    EXPECT_EQ(new_error.load(), 308);
}

struct get_case {
    const char* what;
    intptr_t from;  // relative to the block
    intptr_t size;
    int32_t error;
};

TEST_F(Mem, MemGetRange) {
    std::vector<uint8_t> bytes(8, 0x77);
    mem_block block = over(bytes);
    const get_case cases[] = {
        {"whole block", 0, 8, 0},          {"last byte", 7, 1, 0},
        {"empty at the end", 8, 0, 0},     {"one past the end", 7, 2, 300},
        {"before the start", -1, 1, 300},  {"far past", 1 << 20, 1, 300},
        {"negative size", 0, -1, 300},     {"larger than the block", 0, 9, 300},
        {"far below", INTPTR_MIN / 2, 4, 300},
    };
    for (const auto& c : cases) {
        error_reset_for_tests();
        const void* p = func__memget(block, block.offset + c.from, c.size);
        EXPECT_EQ(new_error.load(), c.error) << c.what;
        ASSERT_NE(p, nullptr) << c.what;
        if (c.error == 0) {
            EXPECT_EQ(p, reinterpret_cast<const void*>(block.offset + c.from)) << c.what;
        } else {
            const auto* z = static_cast<const uint8_t*>(p);
            for (intptr_t i = 0; i < (c.size > 0 && c.size < 64 ? c.size : 1); i++) EXPECT_EQ(z[i], 0) << c.what;
        }
    }
}

TEST_F(Mem, MemGetOfBadBlocksGivesZeroBytes) {
    mem_block zero{};
    const auto* p = static_cast<const uint8_t*>(func__memget(zero, 0, 100));
    EXPECT_EQ(new_error.load(), 309);
    for (int i = 0; i < 100; i++) ASSERT_EQ(p[i], 0);

    error_reset_for_tests();
    std::vector<uint8_t> bytes(4);
    mem_block block = over(bytes);
    mem_block copy = block;
    sub__memfree(&block);
    func__memget(copy, copy.offset + 100, 1);
    EXPECT_EQ(new_error.load(), 308) << "a freed block reports 308 before its range";

    error_reset_for_tests();
    error(53);
    EXPECT_NE(func__memget(over(bytes), 0, 4), nullptr) << "pending error: still readable";
}

TEST_F(Mem, MemFillPatterns) {
    std::vector<uint8_t> bytes(9, '.');
    mem_block block = over(bytes);
    sub__memfill(block, at(bytes, 1), 7, "ABC", 3);
    EXPECT_EQ(text(bytes), ".ABCABCA.");
    sub__memfill(block, at(bytes, 0), 9, "z", 1);
    EXPECT_EQ(text(bytes), "zzzzzzzzz");
    sub__memfill(block, at(bytes, 2), 2, "WXYZ", 4);
    EXPECT_EQ(text(bytes), "zzWXzzzzz") << "a pattern longer than the range";
    sub__memfill(block, at(bytes, 9), 0, "q", 1);
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(Mem, MemFillFromInsideTheFilledRangeRepeatsThePattern) {
    std::vector<uint8_t> bytes = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    mem_block block = over(bytes);
    sub__memfill(block, at(bytes, 0), 8, bytes.data() + 1, 3);
    EXPECT_EQ(text(bytes), "bcdbcdbc");
    bytes = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    sub__memfill_nochecks(at(bytes, 2), 6, bytes.data(), 4);
    EXPECT_EQ(text(bytes), "ababcdab");
}

TEST_F(Mem, MemFillErrors) {
    std::vector<uint8_t> bytes(4, '.');
    mem_block block = over(bytes);
    struct {
        const char* what;
        mem_block block;
        intptr_t from, bytes, source_bytes;
        int32_t error;
    } cases[] = {
        {"bytes -1", block, 0, -1, 1, 301},
        {"empty pattern", block, 0, 1, 0, 301},
        {"negative pattern", block, 0, 1, -2, 301},
        {"past the end", block, 1, 4, 1, 300},
        {"before the start", block, -1, 2, 1, 300},
        {"never initialised", mem_block{}, 0, 1, 1, 309},
    };
    for (const auto& c : cases) {
        error_reset_for_tests();
        sub__memfill(c.block, at(bytes, c.from), c.bytes, "x", c.source_bytes);
        EXPECT_EQ(new_error.load(), c.error) << c.what;
        EXPECT_EQ(text(bytes), "....") << c.what;
    }
    error_reset_for_tests();
    mem_block copy = block;
    sub__memfree(&block);
    sub__memfill(copy, at(bytes, 0), -1, "x", 0);
    EXPECT_EQ(new_error.load(), 308) << "a freed block reports 308 before its arguments";
}

TEST_F(Mem, TypedMemFillsUseTheValuesBytes) {
    std::vector<uint8_t> bytes(64, 0xEE);
    mem_block block = over(bytes);
    auto expect_repeats = [&](const void* pattern, size_t size, size_t count, const char* what) {
        for (size_t i = 0; i < count; i++) {
            EXPECT_EQ(bytes[i], static_cast<const uint8_t*>(pattern)[i % size]) << what << " byte " << i;
        }
    };
    int16_t i16 = -2;
    sub__memfill_2(block, at(bytes, 0), 7, i16);
    expect_repeats(&i16, 2, 7, "_2");
    int32_t i32 = 0x01020304;
    sub__memfill_4(block, at(bytes, 0), 10, i32);
    expect_repeats(&i32, 4, 10, "_4");
    int64_t i64 = 0x0102030405060708;
    sub__memfill_8(block, at(bytes, 0), 20, i64);
    expect_repeats(&i64, 8, 20, "_8");
    float single = 1.5f;
    sub__memfill_SINGLE(block, at(bytes, 0), 12, single);
    expect_repeats(&single, 4, 12, "_SINGLE");
    double dbl = -0.25;
    sub__memfill_DOUBLE(block, at(bytes, 0), 16, dbl);
    expect_repeats(&dbl, 8, 16, "_DOUBLE");
    intptr_t offset = intptr_t(0x1122334455667788);
    sub__memfill_OFFSET(block, at(bytes, 0), 16, offset);
    expect_repeats(&offset, 8, 16, "_OFFSET (8 bytes)");
    sub__memfill_1(block, at(bytes, 0), 3, int8_t(-1));
    expect_repeats("\xFF", 1, 3, "_1");
    EXPECT_EQ(new_error.load(), 0);
}

// Every length from 0 to 600 (word stores, their tails, and the copies past 256 bytes)
// and an odd start: the pattern from the first byte, nothing written after the end.
TEST_F(Mem, TypedFillsOfEveryLengthRepeatThePatternExactly) {
    const int64_t value = 0x0102030405060708;
    for (size_t size : {2u, 4u, 8u}) {
        for (intptr_t length = 0; length <= 600; length++) {
            std::vector<uint8_t> bytes(608, 0xEE);
            mem_block block = over(bytes);
            intptr_t start = at(bytes, 1);
            if (size == 2) sub__memfill_2(block, start, length, int16_t(value));
            if (size == 4) sub__memfill_4(block, start, length, int32_t(value));
            if (size == 8) sub__memfill_8(block, start, length, value);
            std::vector<uint8_t> expected(608, 0xEE);
            for (intptr_t i = 0; i < length; i++) expected[size_t(1 + i)] = uint8_t(value >> (8 * (size_t(i) % size)));
            ASSERT_EQ(bytes, expected) << size << "-byte value over " << length << " bytes";
        }
    }
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(Mem, FloatFillIsTenValueBytesThenTwentyTwoZeros) {
    std::vector<uint8_t> bytes(64, 0xEE);
    mem_block block = over(bytes);
    sub__memfill_FLOAT(block, at(bytes, 0), 64, 1.5L);
    long double value = 1.5L;
    uint8_t pattern[32] = {};
    memcpy(pattern, &value, 10);
    EXPECT_EQ(memcmp(bytes.data(), pattern, 32), 0);
    EXPECT_EQ(memcmp(bytes.data() + 32, pattern, 32), 0);

    std::vector<uint8_t> more(40, 0xEE);
    sub__memfill_nochecks_FLOAT(at(more, 0), 40, 1.5L);
    EXPECT_EQ(memcmp(more.data(), pattern, 32), 0);
    EXPECT_EQ(memcmp(more.data() + 32, pattern, 8), 0);
}

TEST_F(Mem, NoCheckFillsWriteWithoutABlock) {
    std::vector<uint8_t> bytes(6, '.');
    sub__memfill_nochecks_4(at(bytes, 1), 5, 0x44434241);
    EXPECT_EQ(text(bytes), ".ABCDA");
    sub__memfill_nochecks_2(at(bytes, 0), 1, 0x5A5A);
    EXPECT_EQ(bytes[0], 0x5A);
}

TEST_F(Mem, MemCopyErrorsFirstMatchingRuleWins) {
    std::vector<uint8_t> src_bytes(8, 's'), dst_bytes(8, 'd');
    mem_block src = over(src_bytes), dst = over(dst_bytes);
    mem_block src_freed = func__memnew(8), dst_freed = func__memnew(8);
    mem_block src_freed_copy = src_freed, dst_freed_copy = dst_freed;
    sub__memfree(&src_freed);
    sub__memfree(&dst_freed);
    mem_block none{};
    struct {
        const char* what;
        mem_block s;
        intptr_t s_from, bytes;
        mem_block d;
        intptr_t d_from;
        int32_t error;
    } cases[] = {
        {"both locks null", none, 0, 1, none, 0, 312},
        {"source lock null", none, 0, 1, dst, 0, 310},
        {"destination lock null", src, 0, 1, none, 0, 311},
        {"both freed", src_freed_copy, 0, -1, dst_freed_copy, 0, 313},
        {"source freed", src_freed_copy, 0, -1, dst, 0, 305},
        {"destination freed", src, 0, -1, dst_freed_copy, 0, 306},
        {"bytes -1", src, 100, -1, dst, 100, 301},
        {"both ranges bad", src, 4, 5, dst, 4, 304},
        {"source range bad", src, 4, 5, dst, 0, 302},
        {"destination range bad", src, 0, 5, dst, 4, 303},
        {"source before its block", src, -1, 1, dst, 0, 302},
    };
    for (const auto& c : cases) {
        error_reset_for_tests();
        intptr_t s_base = c.s.lock == src.lock ? src.offset : c.s.offset;
        intptr_t d_base = c.d.lock == dst.lock ? dst.offset : c.d.offset;
        sub__memcopy(c.s, s_base + c.s_from, c.bytes, c.d, d_base + c.d_from);
        EXPECT_EQ(new_error.load(), c.error) << c.what;
        EXPECT_EQ(text(dst_bytes), "dddddddd") << c.what;
    }
}

TEST_F(Mem, MemCopyCopiesAndOverlapsLikeMemmove) {
    std::vector<uint8_t> src_bytes = {'1', '2', '3', '4'}, dst_bytes(6, '.');
    mem_block src = over(src_bytes), dst = over(dst_bytes);
    sub__memcopy(src, at(src_bytes, 0), 4, dst, at(dst_bytes, 2));
    EXPECT_EQ(text(dst_bytes), "..1234");
    sub__memcopy(src, at(src_bytes, 4), 0, dst, at(dst_bytes, 6));
    EXPECT_EQ(new_error.load(), 0);

    for (int direction : {+1, -1}) {
        std::vector<uint8_t> bytes = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
        std::vector<uint8_t> expected = bytes;
        mem_block block = over(bytes);
        intptr_t from = direction > 0 ? 0 : 3, to = direction > 0 ? 3 : 0;
        sub__memcopy(block, at(bytes, from), 5, block, at(bytes, to));
        memmove(expected.data() + to, expected.data() + from, 5);
        EXPECT_EQ(text(bytes), text(expected)) << "direction " << direction;
    }
    EXPECT_EQ(new_error.load(), 0);
}

// Short copies (up to 64 bytes, moved without a library call) and a few longer ones,
// overlapping in both directions by every distance: the same bytes as memmove.
TEST_F(Mem, MemCopyOfEveryShortLengthMatchesMemmove) {
    for (intptr_t length = 0; length <= 70; length++) {
        for (intptr_t shift = -9; shift <= 9; shift++) {
            std::vector<uint8_t> bytes(100), expected(100);
            for (size_t i = 0; i < bytes.size(); i++) bytes[i] = expected[i] = uint8_t(i * 7 + 1);
            mem_block block = over(bytes);
            intptr_t from = 10, to = 10 + shift;
            sub__memcopy(block, at(bytes, from), length, block, at(bytes, to));
            memmove(expected.data() + to, expected.data() + from, size_t(length));
            ASSERT_EQ(bytes, expected) << length << " bytes moved by " << shift;
        }
    }
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(Mem, PendingErrorMakesStatementsDoNothing) {
    std::vector<uint8_t> bytes(4, '.');
    mem_block block = over(bytes);
    mem_block other = over(bytes);
    error(53);
    sub__memfill(block, at(bytes, 0), 4, "x", 1);
    sub__memcopy(block, at(bytes, 0), 1, block, at(bytes, 1));
    sub__memfree(&other);
    EXPECT_EQ(text(bytes), "....");
    EXPECT_NE(other.lock_id, mem_block_freed_id);
    EXPECT_EQ(new_error.load(), 53);
}

}  // namespace
