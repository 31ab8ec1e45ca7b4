// GET and PUT of variables on RANDOM and BINARY files: record and byte positions, the
// length-prefixed string records, short reads, errors, and the byte transfers.
#include <cstring>
#include <string>

#include "file/byte_element.h"
#include "file/get_put.h"
#include "memory/static_arena.h"
#include "file_fixture.h"

namespace {

class GetPutTest : public FileTest {
protected:
    static byte_element_struct* element(void* bytes, int32_t length) {
        static byte_element_struct e;
        return byte_element(reinterpret_cast<uint64_t>(bytes), length, &e);
    }
    static byte_element_struct* element(const std::string& s) {
        return element(const_cast<char*>(s.data()), int32_t(s.size()));
    }
    static int64_t pos(int32_t n) { return gfs_getpos(gfs_get_fileno(n)); }
    static std::string hex(const std::string& bytes, size_t count) {
        std::string out;
        char b[4];
        for (size_t i = 0; i < count && i < bytes.size(); i++) {
            snprintf(b, sizeof b, i ? " %02X" : "%02X", uint8_t(bytes[i]));
            out += b;
        }
        return out;
    }
    static void put_string(int32_t n, const std::string& s, int64_t record = 0, int32_t passed = 0) {
        sub_put2(n, record, element(s), passed);
    }
    static std::string get_string(int32_t n, int64_t record = 0, int32_t passed = 0) {
        zvs* v = var("unchanged");
        sub_get2(n, record, v, passed);
        return str(v);
    }
};

TEST_F(GetPutTest, RandomStringRecordsRoundTripWithTheirLengthPrefix) {
    struct row {
        int32_t length;
        int64_t record_length;
        int32_t error;
        const char* prefix;  // first bytes of the file
    };
    const row rows[] = {
        {0, 128, 0, "00 00"},
        {126, 128, 0, "7E 00"},
        {127, 128, 59, ""},
        {32767, 32769, 0, "FF 7F"},
        {32768, 32776, 0, "00 80 01 00 00 00 00 00"},
        {40000, 40008, 0, "40 9C 01 00 00 00 00 00"},
        {40000, 40007, 59, ""},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.length);
        std::string name = "r" + std::to_string(r.length) + "_" + std::to_string(r.record_length);
        ASSERT_EQ(open(name, 1, 1, r.record_length, 1), 0);
        std::string s(size_t(r.length), 'a');
        for (size_t i = 0; i < s.size(); i++) s[i] = char('a' + i % 26);
        put_string(1, s, 1, 1);
        EXPECT_EQ(take_error(), r.error);
        sub_close(1, 1);
        std::string file = read_file(name);
        if (r.error) {
            EXPECT_EQ(file.size(), 0u);
            continue;
        }
        int prefix = r.length < 32768 ? 2 : 8;
        EXPECT_EQ(file.size(), size_t(prefix + r.length));
        EXPECT_EQ(hex(file, size_t(prefix)), r.prefix);
        EXPECT_EQ(file.substr(size_t(prefix)), s);
        ASSERT_EQ(open(name, 1, 1, r.record_length, 1), 0);
        EXPECT_EQ(get_string(1, 1, 1), s);
        EXPECT_EQ(take_error(), 0);
        sub_close(1, 1);
    }
}

TEST_F(GetPutTest, StringRecordsWithoutANumberAdvanceOneRecordEach) {
    ASSERT_EQ(open("f", 1, 1, 10, 1), 0);
    put_string(1, "ab");
    put_string(1, "cde");
    EXPECT_EQ(pos(1), 20);
    sub_close(1, 1);
    ASSERT_EQ(open("f", 1, 1, 10, 1), 0);
    EXPECT_EQ(get_string(1), "ab");
    EXPECT_EQ(get_string(1), "cde");
    // Past the end: empty, no error, and the position still moves one record on.
    EXPECT_EQ(get_string(1), "");
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(pos(1), 30);
    EXPECT_EQ(get_string(1, 9, 1), "");
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(pos(1), 90);
}

TEST_F(GetPutTest, MalformedStringRecordsRaiseFiftyNineAndStayPut) {
    struct row {
        int64_t record_length;
        std::string file;
        bool passed;
        const char* result;
        int32_t error;
    };
    const row rows[] = {
        // The 8-byte form does not fit a record of 7.
        {7, std::string("\x00\x80xxxxx", 7), true, "unchanged", 59},
        {7, std::string("\x00\x80xxxxx", 7), false, "unchanged", 59},
        {8, std::string("\x00\x80\x00\x00\x00\x00\x00\x00", 8), true, "", 0},
        // Longer than the record minus its prefix.
        {10, std::string("\x09\x00xxxxxxxx", 10), true, "unchanged", 59},
        {10, std::string("\x08\x00xxxxxxxx", 10), true, "xxxxxxxx", 0},
        {10, std::string("\x00\x80\xFF\xFF\xFF\xFF\xFF\x7F\x00\x00", 10), true, "unchanged", 59},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.record_length);
        write_file("m", r.file);
        ASSERT_EQ(open("m", 1, 1, r.record_length, 1), 0);
        EXPECT_EQ(get_string(1, 1, r.passed), r.result);
        EXPECT_EQ(take_error(), r.error);
        EXPECT_EQ(pos(1), r.error ? 0 : r.record_length);
        sub_close(1, 1);
    }
}

TEST_F(GetPutTest, ShortStringRecordAtTheEndIsZeroFilledAndMovesToTheRecordsEnd) {
    write_file("s", std::string("\x03\x00" "abc", 5));
    ASSERT_EQ(open("s", 1, 1, 16, 1), 0);
    EXPECT_EQ(get_string(1), "abc");
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(pos(1), 16);
    // A record length below 2 holds no prefix.
    ASSERT_EQ(open("t", 1, 2, 1, 1), 0);
    EXPECT_EQ(get_string(2), "unchanged");
    EXPECT_EQ(take_error(), 59);
}

TEST_F(GetPutTest, BlocksAtRecordNumbers) {
    std::string bytes;
    for (int i = 0; i < 40; i++) bytes += char(i);
    write_file("b", bytes);
    ASSERT_EQ(open("b", 1, 1, 10, 1), 0);
    uint8_t v[2] = {0xEE, 0xEE};
    sub_get(1, 3, element(v, 2), 1);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(v[0], 20);
    EXPECT_EQ(v[1], 21);
    EXPECT_EQ(pos(1), 30);

    uint8_t w[2] = {0xAA, 0xBB};
    sub_put(1, 2, element(w, 2), 1);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(pos(1), 20);
    sub_close(1, 1);
    std::string after = read_file("b");
    EXPECT_EQ(uint8_t(after[10]), 0xAA);
    EXPECT_EQ(uint8_t(after[11]), 0xBB);
    EXPECT_EQ(after.substr(12), bytes.substr(12));
}

TEST_F(GetPutTest, ShortBlockReadsZeroFillAndKeepWhereTheReadEnded) {
    write_file("b", "abcdef");
    ASSERT_EQ(open("b", 2, 1), 0);
    char v[4] = {'w', 'x', 'y', 'z'};
    sub_get(1, 5, element(v, 4), 1);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(std::string(v, 4), std::string("ef\0\0", 4));
    EXPECT_EQ(gfs_eof_passed(gfs_get_fileno(1)), 1);
    EXPECT_EQ(pos(1), 6);

    // On RANDOM the short read also stays where it ended.
    ASSERT_EQ(open("b", 1, 2, 4, 1), 0);
    sub_get(2, 2, element(v, 3), 1);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(std::string(v, 3), std::string("ef\0", 3));
    EXPECT_EQ(pos(2), 6);
}

TEST_F(GetPutTest, BinaryPositionsCountBytesAndCurrentPositionContinues) {
    write_file("b", "0123456789");
    ASSERT_EQ(open("b", 2, 1), 0);
    char v[3];
    sub_get(1, 4, element(v, 3), 1);
    EXPECT_EQ(std::string(v, 3), "345");
    sub_get(1, 0, element(v, 3), 0);
    EXPECT_EQ(std::string(v, 3), "678");
    sub_put(1, 0, element(std::string("X")), 0);
    sub_put(1, 1, element(std::string("Y")), 1);
    EXPECT_EQ(take_error(), 0);
    sub_close(1, 1);
    EXPECT_EQ(read_file("b"), "Y12345678X");
}

TEST_F(GetPutTest, BinaryStringGetFillsTheVariablesOwnLength) {
    write_file("b", "abcdef");
    ASSERT_EQ(open("b", 2, 1), 0);
    zvs* v = var("123");
    sub_get2(1, 2, v, 1);
    EXPECT_EQ(str(v), "bcd");
    zvs* empty = var("");
    sub_get2(1, 0, empty, 0);
    EXPECT_EQ(str(empty), "");
    EXPECT_EQ(pos(1), 4);
    // PUT of a string on BINARY writes its bytes without a prefix.
    put_string(1, "XY", 1, 1);
    EXPECT_EQ(take_error(), 0);
    sub_close(1, 1);
    EXPECT_EQ(read_file("b"), "XYcdef");
}

TEST_F(GetPutTest, Errors) {
    write_file("in", "data");
    uint8_t v[200];
    struct row {
        const char* what;
        void (*run)(uint8_t* v);
        int32_t error;
    };
    const row rows[] = {
        {"GET #1, 0", [](uint8_t* b) { sub_get(1, 0, element(b, 2), 1); }, 63},
        {"GET #1, -5", [](uint8_t* b) { sub_get(1, -5, element(b, 2), 1); }, 63},
        {"GET #1, 2^62", [](uint8_t* b) { sub_get(1, int64_t(1) << 62, element(b, 2), 1); }, 63},
        {"PUT #1, 2^62", [](uint8_t* b) { sub_put(1, int64_t(1) << 62, element(b, 2), 1); }, 63},
        {"GET$ #1, 2^62", [](uint8_t*) { get_string(1, int64_t(1) << 62, 1); }, 63},
        {"GET #1 longer than LEN", [](uint8_t* b) { sub_get(1, 1, element(b, 129), 1); }, 59},
        {"PUT #1 longer than LEN", [](uint8_t* b) { sub_put(1, 1, element(b, 129), 1); }, 59},
        {"GET on INPUT", [](uint8_t* b) { sub_get(2, 0, element(b, 1), 0); }, 54},
        {"PUT on INPUT", [](uint8_t* b) { sub_put(2, 0, element(b, 1), 0); }, 54},
        {"GET$ on INPUT", [](uint8_t*) { get_string(2); }, 54},
        {"PUT on ACCESS READ", [](uint8_t* b) { sub_put(3, 0, element(b, 1), 0); }, 75},
        {"PUT$ on ACCESS READ", [](uint8_t*) { put_string(3, "x"); }, 75},
        {"GET on OUTPUT", [](uint8_t* b) { sub_get(4, 0, element(b, 1), 0); }, 54},
        {"GET of an unbound number", [](uint8_t* b) { sub_get(9, 0, element(b, 1), 0); }, 52},
        {"GET #0", [](uint8_t* b) { sub_get(0, 0, element(b, 1), 0); }, 52},
        {"GET #-1, no handle", [](uint8_t* b) { sub_get(-1, 0, element(b, 1), 0); }, 52},
        {"PUT #-1, no handle", [](uint8_t* b) { sub_put(-1, 0, element(b, 1), 0); }, 52},
        {"GET$ #-1, no handle", [](uint8_t*) { get_string(-1); }, 52},
    };
    ASSERT_EQ(open("r", 1, 1), 0);
    ASSERT_EQ(open("in", 3, 2), 0);
    sub_open(text("in"), 2, 2, 0, 3, 0, 0);
    ASSERT_EQ(take_error(), 0);
    ASSERT_EQ(open("out", 4, 4), 0);
    for (const row& r : rows) {
        r.run(v);
        EXPECT_EQ(take_error(), r.error) << r.what;
    }
    EXPECT_EQ(file(1)->position, 0);
    EXPECT_EQ(read_file("r").size(), 0u);
    EXPECT_EQ(read_file("in"), "data");
}

TEST_F(GetPutTest, RandomFileThatOnlyOpenedForReadingRefusesPut) {
    write_file("ro", "abcd", 0444);
    ASSERT_EQ(open("ro", 1, 1), 0);
    sub_put(1, 1, element(std::string("x")), 1);
    EXPECT_EQ(take_error(), 75);
    EXPECT_EQ(read_file("ro"), "abcd");
}

TEST_F(GetPutTest, NothingHappensWhileAnErrorIsPending) {
    write_file("b", "abcd");
    ASSERT_EQ(open("b", 2, 1), 0);
    error(5);
    char v[2] = {'x', 'x'};
    sub_get(1, 1, element(v, 2), 1);
    sub_put(1, 1, element(std::string("zz")), 1);
    zvs* s = var("12");
    sub_get2(1, 1, s, 1);
    put_string(1, "zz", 1, 1);
    generic_put(1, 0, reinterpret_cast<const uint8_t*>("zz"), 2);
    uint8_t g[2] = {'g', 'g'};
    generic_get(1, 0, g, 2);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(g[0], 'g');
    EXPECT_EQ(std::string(v, 2), "xx");
    EXPECT_EQ(str(s), "12");
    EXPECT_EQ(pos(1), 0);
    sub_close(1, 1);
    EXPECT_EQ(read_file("b"), "abcd");
}

TEST_F(GetPutTest, ByteTransfersIgnoreTheModeAndCheckOnlyTheDirection) {
    write_file("t", "abcd");
    ASSERT_EQ(open("t", 3, 1), 0);  // INPUT
    uint8_t v[4] = {9, 9, 9, 9};
    generic_get(1, 2, v, 4);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(generic_get_bytes_read(), 2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(v), 4), std::string("cd\0\0", 4));
    generic_get(1, 0, v, 1);
    generic_get(1, -1, v + 1, 1);
    EXPECT_EQ(generic_get_bytes_read(), 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(v), 2), "ab");
    generic_put(1, 0, v, 1);
    EXPECT_EQ(take_error(), 75);
    EXPECT_EQ(generic_get_bytes_read(), 1);

    ASSERT_EQ(open("u", 4, 2), 0);  // OUTPUT
    generic_put(2, -1, reinterpret_cast<const uint8_t*>("xyz"), 3);
    generic_put(2, 1, reinterpret_cast<const uint8_t*>("Q"), 1);
    generic_get(2, 0, v, 1);
    EXPECT_EQ(take_error(), 75);
    EXPECT_EQ(generic_get_bytes_read(), 0);
    generic_get(7, 0, v, 1);
    EXPECT_EQ(take_error(), 52);
    sub_close(2, 1);
    EXPECT_EQ(read_file("u"), "xQz");
}

TEST_F(GetPutTest, ByteElementClampsNegativeLengthsAndTheArenaFormLasts) {
    byte_element_struct own;
    EXPECT_EQ(byte_element(0x1234, -5, &own), &own);
    EXPECT_EQ(own.offset, 0x1234u);
    EXPECT_EQ(own.length, 0);

    mem_static_global_init();
    byte_element_struct* a = byte_element(1, 2);
    byte_element_struct* b = byte_element(3, -4);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->offset, 1u);
    EXPECT_EQ(a->length, 2);
    EXPECT_EQ(b->offset, 3u);
    EXPECT_EQ(b->length, 0);
}

}  // namespace
