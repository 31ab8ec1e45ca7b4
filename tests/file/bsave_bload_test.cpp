// BSAVE and BLOAD: memory-image files of conventional memory.
#include <errno.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "file/bload.h"
#include "file/bsave.h"
#include "file/replace_file.h"
#include "file/file_fixture.h"
#include "file/full_disk.h"
#include "file/whole_file_cases.h"
#include "memory/cmem.h"
#include "support/private_tmpfs.h"

namespace {

class MemoryImage : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        cmem_reset_for_tests();
    }
    void TearDown() override {
        gfs_os_set_whole_file_write_for_tests(nullptr);
        cmem_reset_for_tests();
        FileTest::TearDown();
    }
    static void fill(int64_t linear, int64_t count, uint8_t seed) {
        for (int64_t i = 0; i < count; i++) cmem[linear + i] = uint8_t(seed + i * 7);
    }
    static std::string memory(int64_t linear, int64_t count) {
        return std::string(reinterpret_cast<const char*>(cmem + linear), size_t(count));
    }
    static std::string header(uint16_t segment, uint16_t offset, uint16_t length) {
        const char h[7] = {char(0xFD),         char(segment & 255), char(segment >> 8), char(offset & 255),
                           char(offset >> 8), char(length & 255),  char(length >> 8)};
        return std::string(h, 7);
    }
    static int32_t bsave(const std::string& name, int32_t offset, int32_t length) {
        sub_bsave(text(name), offset, length);
        return take_error();
    }
    static int32_t bload(const std::string& name, int32_t offset = 0, int32_t passed = 0) {
        sub_bload(text(name), offset, passed);
        return take_error();
    }
};

TEST_F(MemoryImage, SavesTheTextPageWithItsHeader) {
    fill(0xB8000, 4000, 3);
    sub_defseg(0xB800, 1);
    EXPECT_EQ(bsave("page.bsv", 0, 4000), 0);
    std::string file = read_file("page.bsv");
    ASSERT_EQ(file.size(), 4007u);
    EXPECT_EQ(file.substr(0, 7), header(0xB800, 0, 4000));
    EXPECT_EQ(file.substr(7), memory(0xB8000, 4000));
}

TEST_F(MemoryImage, LengthsAndOffsetsAreSixteenBitsButWhole64KStays) {
    fill(0x20000, 65536, 1);
    sub_defseg(0x2000, 1);
    const struct { int32_t offset, length; std::string head; size_t data; } cases[] = {
        {0, 65536, header(0x2000, 0, 0), 65536},
        {0, -1, header(0x2000, 0, 0xFFFF), 65535},
        {-65536 + 16, 32, header(0x2000, 16, 32), 32},
        {-1, 1, header(0x2000, 0xFFFF, 1), 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bsave("m.bsv", c.offset, c.length), 0) << c.offset << " " << c.length;
        std::string file = read_file("m.bsv");
        ASSERT_EQ(file.size(), 7 + c.data) << c.offset << " " << c.length;
        EXPECT_EQ(file.substr(0, 7), c.head);
        EXPECT_EQ(file.substr(7), memory(0x20000 + uint16_t(c.offset), int64_t(c.data)));
    }
}

TEST_F(MemoryImage, SaveErrorsCreateNothing) {
    const struct { int32_t segment, offset, length, error; } cases[] = {
        {0x2000, 70000, 1, 6},   {0x2000, -65537, 1, 6},  {0x2000, 0, 65537, 6},
        {0x2000, 0, -65537, 6},  {0xFFFF, 0xFFFF, 65536, 5}, {0xFFFF, 0xFFFF, 5, 5},
    };
    for (const auto& c : cases) {
        sub_defseg(c.segment, 1);
        EXPECT_EQ(bsave("x.bsv", c.offset, c.length), c.error) << c.segment << ":" << c.offset << " " << c.length;
        EXPECT_FALSE(exists("x.bsv"));
    }
    sub_defseg(0xFFFF, 1);
    EXPECT_EQ(bsave("x.bsv", 0xFFFF, 4), 0) << "the last byte of conventional memory is within reach";
    EXPECT_EQ(bsave("missing\\x.bsv", 0, 1), 64);
    error(9);
    sub_bsave(text("y.bsv"), 0, 1);
    EXPECT_FALSE(exists("y.bsv"));
}

TEST_F(MemoryImage, SaveEmptiesAnOlderLongerFile) {
    write_file("m.bsv", std::string(100, 'x'));
    sub_defseg(0x2000, 1);
    EXPECT_EQ(bsave("m.bsv", 0, 3), 0);
    EXPECT_EQ(read_file("m.bsv").size(), 10u);
}

TEST_F(MemoryImage, AFailedSaveLeavesThePreviousFileAsItWas) {
    const std::string previous = header(0x1000, 0, 3) + "old";
    fill(0x20000, 65536, 5);
    sub_defseg(0x2000, 1);
    gfs_os_set_whole_file_write_for_tests(full_disk_write);
    for (int64_t budget : {0, 3, 7, 9, 65542}) {
        write_file("m.bsv", previous, 0604);
        full_disk_budget = budget;
        EXPECT_EQ(bsave("m.bsv", 0, 65536), 75) << budget;
        EXPECT_EQ(read_file("m.bsv"), previous) << budget;
        struct stat st;
        ASSERT_EQ(stat("m.bsv", &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0604u) << budget;
        full_disk_budget = budget;
        EXPECT_EQ(bsave("n.bsv", 0, 65536), 75) << budget;
        EXPECT_FALSE(exists("n.bsv")) << budget;
        std::set<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(".")) names.insert(e.path().filename().string());
        EXPECT_EQ(names, std::set<std::string>{"m.bsv"}) << "no temporary file stays behind, " << budget;
    }
    full_disk_budget = 7 + 65536;
    EXPECT_EQ(bsave("m.bsv", 0, 65536), 0);
    EXPECT_EQ(read_file("m.bsv"), header(0x2000, 0, 0) + memory(0x20000, 65536));
}

TEST_F(MemoryImage, AFullTmpfsKeepsThePreviousFile) {
    ASSERT_EQ(mkdir("small", 0777), 0);
    const std::string previous = header(0x1000, 0, 3) + "old";
    sub_defseg(0x2000, 1);
    tmpfs_outcome outcome = run_on_private_tmpfs(
        std::filesystem::absolute("small").string(), 65536, false, [&] { write_file("m.bsv", previous); return std::string(); },
        [&] {
            std::string report = "error " + std::to_string(bsave("m.bsv", 0, 65536));
            report += read_file("m.bsv") == previous ? " kept" : " lost";
            return report;
        });
    if (!outcome.ran) GTEST_SKIP() << "no small tmpfs here: " << outcome.why;
    EXPECT_EQ(outcome.report, "error 75 kept");
}

// BSAVE "f", 0, 40000 from segment 2000h: a header and 40,000 bytes.
class BsaveCases : public WholeFileCases {
protected:
    void SetUp() override {
        WholeFileCases::SetUp();
        cmem_reset_for_tests();
    }
    void TearDown() override {
        cmem_reset_for_tests();
        WholeFileCases::TearDown();
    }
};

TEST_P(BsaveCases, Row) {
    const int32_t length = int32_t(whole_file_cases::new_size - 7);
    const std::string data = whole_file_cases::bytes_of(size_t(length), 11);
    memcpy(cmem + 0x20000, data.data(), data.size());
    sub_defseg(0x2000, 1);
    const char head[7] = {char(0xFD), 0x00, 0x20, 0x00, 0x00, char(length & 255), char(length >> 8)};
    run_row(GetParam().bsave_error, std::string(head, 7) + data, [&] {
        sub_bsave(text("f"), 0, length);
        return take_error();
    });
}
INSTANTIATE_TEST_SUITE_P(WholeFile, BsaveCases, ::testing::ValuesIn(whole_file_cases::cases), whole_file_case_name);

TEST_F(MemoryImage, WholeSegmentRoundTrip) {
    fill(0x30000, 65536, 9);
    std::string saved = memory(0x30000, 65536);
    sub_defseg(0x3000, 1);
    ASSERT_EQ(bsave("seg.bsv", 0, 65536), 0);
    memset(cmem + 0x30000, 0, 65536);
    sub_defseg(0, 0);
    EXPECT_EQ(bload("seg.bsv"), 0);
    EXPECT_EQ(memory(0x30000, 65536), saved);
}

TEST_F(MemoryImage, LoadGoesToTheHeadersPlaceOrToDefSegAndOffset) {
    write_file("m.bsv", header(0x1000, 0x20, 3) + "abc");
    sub_defseg(0x4000, 1);
    EXPECT_EQ(bload("m.bsv"), 0);
    EXPECT_EQ(memory(0x10020, 3), "abc");
    EXPECT_EQ(bload("m.bsv", 0x10, 1), 0);
    EXPECT_EQ(memory(0x40010, 3), "abc");
    EXPECT_EQ(bload("m.bsv", -65536 + 0x30, 1), 0);
    EXPECT_EQ(memory(0x40030, 3), "abc");
}

TEST_F(MemoryImage, LoadErrors) {
    write_file("short.bsv", header(0x1000, 0, 100).substr(0, 6));
    write_file("mark.bsv", "X" + header(0x1000, 0, 1).substr(1) + "z");
    write_file("part.bsv", header(0x1000, 0, 100) + std::string(40, 'p'));
    write_file("past.bsv", header(0xFFFF, 0xFFF0, 0x100) + std::string(0x100, 'q'));
    write_file("empty0.bsv", header(0x1000, 0, 0) + std::string(100, 'e'));
    const struct { const char* name; int32_t offset, passed, error; int64_t stored; } cases[] = {
        {"missing.bsv", 0, 0, 53, 0}, {"short.bsv", 0, 0, 54, 0},  {"mark.bsv", 0, 0, 54, 0},
        {"part.bsv", 0, 0, 54, 40},   {"past.bsv", 0, 0, 5, 0},    {"empty0.bsv", 0, 0, 0, 0},
        {"part.bsv", 70000, 1, 6, 0}, {"m.bsv", -65537, 1, 6, 0},
    };
    for (const auto& c : cases) {
        cmem_reset_for_tests();
        EXPECT_EQ(bload(c.name, c.offset, c.passed), c.error) << c.name;
        EXPECT_EQ(memory(0x10000, c.stored), std::string(size_t(c.stored), 'p')) << c.name;
        EXPECT_EQ(cmem[0x10000 + c.stored], 0) << c.name;
        EXPECT_EQ(cmem[0x10FFF0], 0) << c.name;
    }
    error(9);
    sub_bload(text("part.bsv"), 0, 0);
    EXPECT_EQ(cmem[0x10000], 0) << "nothing while an error is pending";
}

TEST_F(MemoryImage, HeaderLengthZeroLoadsTheRestOfALargeFile) {
    write_file("big.bsv", header(0x1000, 0, 0) + std::string(65536 + 10, 'b'));
    EXPECT_EQ(bload("big.bsv"), 0);
    EXPECT_EQ(memory(0x10000, 65546), std::string(65546, 'b'));
    EXPECT_EQ(cmem[0x10000 + 65546], 0);
}

}  // namespace
