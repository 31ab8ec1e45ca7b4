// The buffered reader: values across window edges, bounds and its error texts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "log/symbol_file.h"

using exe_symbols::file;
using exe_symbols::file_error;

namespace {
std::string make_file() {
    std::string path = ::testing::TempDir() + "symbol_file_" + std::to_string(getpid());
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 20000; ++i) out.put(char(i % 251));
    return path;
}

uint8_t byte_at(uint64_t i) { return uint8_t(i % 251); }

template <class F>
std::string error_of(F&& f) {
    try {
        f();
    } catch (const file_error& e) {
        return e.what();
    }
    return "(none)";
}
}  // namespace

TEST(SymbolFile, ReadsLittleEndianValuesAcrossWindowEdges) {
    std::string path = make_file();
    file f(path.c_str());
    EXPECT_EQ(f.size(), 20000u);
    f.go(8190);
    uint32_t expected32 = 0;
    for (int k = 3; k >= 0; --k) expected32 = expected32 << 8 | byte_at(8190 + k);
    EXPECT_EQ(f.u32(), expected32);
    EXPECT_EQ(f.offset(), 8194u);
    f.go(16383);
    EXPECT_EQ(f.u16(), uint16_t(byte_at(16383) | byte_at(16384) << 8));
    f.go(3);
    EXPECT_TRUE(f.position_in_buffer(3));
    EXPECT_EQ(f.u8(), 3);
    f.skip(100);
    EXPECT_EQ(f.u8(), byte_at(104));
    uint64_t expected64 = 0;
    for (int k = 7; k >= 0; --k) expected64 = expected64 << 8 | byte_at(19992 + k);
    f.go(19992);
    EXPECT_EQ(f.u64(), expected64);
    unlink(path.c_str());
}

TEST(SymbolFile, BoundsAndFailuresGiveTheirTexts) {
    std::string path = make_file();
    file f(path.c_str());
    EXPECT_EQ(error_of([&] { f.go(20000); }), "(none)");
    EXPECT_EQ(error_of([&] { f.go(20001); }), "bad stream cursor position specified");
    f.go(0);
    EXPECT_EQ(error_of([&] { f.skip(-1); }), "bad stream cursor position specified");
    EXPECT_EQ(error_of([&] { f.skip(20001); }), "bad stream cursor position specified");
    f.go(19998);
    char three[3];
    EXPECT_EQ(error_of([&] { f.read(three, 3); }), "failed to read from file");
    EXPECT_EQ(error_of([] { file missing("/nonexistent/zv-symbols"); }), "failed to open file");
    unlink(path.c_str());
}
