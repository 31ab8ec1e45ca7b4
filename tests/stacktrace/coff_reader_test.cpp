// The COFF reader and the symbol table on small PE fixtures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <string>

#include "log/symbol_table.h"
#include "stacktrace/coff_fixture.h"

using namespace exe_symbols;

namespace {

class CoffReader : public ::testing::Test {
protected:
    std::string path = ::testing::TempDir() + "coff_fixture_" + std::to_string(getpid());
    void TearDown() override { unlink(path.c_str()); }

    void write(const coff_fixture& fixture) {
        std::vector<uint8_t> bytes = fixture.bytes();
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    pe_symtab table(const coff_fixture& fixture, uint64_t base) {
        write(fixture);
        file f(path.c_str());
        return pe_symtab(base, f);
    }
    std::string error_of(const coff_fixture& fixture) {
        try {
            table(fixture, 0);
        } catch (const file_error& e) {
            return e.what();
        } catch (const std::out_of_range&) {
            return "out_of_range";
        }
        return "(none)";
    }
    static std::string name(const pe_symtab& t, uint64_t address) {
        const char* n = t.function_spanning(address);
        return n ? n : "(null)";
    }
};

coff_fixture two_functions(uint16_t magic) {
    coff_fixture f;
    f.magic = magic;
    f.strings = std::string("a_long_function_name") + '\0';
    f.records = {{"EIGHTCHR", 0, 0x10, 1}, {"", 4, 0x20, 2}};
    return f;
}

}  // namespace

TEST_F(CoffReader, ShortAndLongNamesAtBasePlusSectionAddress) {
    for (uint16_t magic : {uint16_t(0x10B), uint16_t(0x20B)}) {
        SCOPED_TRACE(magic);
        pe_symtab t = table(two_functions(magic), 0x140000000ull);
        uint64_t first = 0x140000000ull + 0x1000 + 0x10, second = 0x140000000ull + 0x5000 + 0x20;
        EXPECT_EQ(name(t, first), "EIGHTCHR");  // 8 bytes, no terminator in the record
        EXPECT_EQ(name(t, first + 0x100), "EIGHTCHR");
        EXPECT_EQ(name(t, second), "a_long_function_name");
        EXPECT_EQ(name(t, second + 0x100000), "a_long_function_name");  // no upper bound
        EXPECT_EQ(name(t, first - 1), "(null)");
    }
}

TEST_F(CoffReader, SkipsAuxRecordsOtherTypesAndSpecialSections) {
    coff_fixture f;
    f.records = {{"data", 0, 0x0, 1, 0x00, 2},   // not a function, two aux records
                 {"undef", 0, 0x8, 0},           // section 0
                 {"absolute", 0, 0x9, 0xFFFF},   // a negative special section
                 {"toobig", 0, 0x9, 3},          // past the section table
                 {"func", 0, 0x30, 1, 0x20, 1},  // a function with an aux record
                 {"last", 0, 0x40, 1}};
    pe_symtab t = table(f, 0);
    EXPECT_EQ(name(t, 0x1030), "func");
    EXPECT_EQ(name(t, 0x103F), "func");
    EXPECT_EQ(name(t, 0x1040), "last");
    EXPECT_EQ(name(t, 0x102F), "(null)");
}

TEST_F(CoffReader, EmptyTableNamesNothing) {
    pe_symtab empty;
    EXPECT_EQ(name(empty, 0x1000), "(null)");
    coff_fixture f;
    f.records = {{"data", 0, 0x0, 1, 0x00}};
    EXPECT_EQ(name(table(f, 0), 0x2000), "(null)");
}

TEST_F(CoffReader, MalformedFilesThrowTheirTexts) {
    struct bad_case {
        const char* what;
        void (*spoil)(coff_fixture&);
        const char* error;
    };
    const bad_case cases[] = {
        {"signature", [](coff_fixture& f) { f.bad_signature = true; }, "file is not a Portable Executable"},
        {"no symbols", [](coff_fixture& f) { f.no_symbol_pointer = true; }, "no COFF symbols"},
        {"magic", [](coff_fixture& f) { f.magic = 0x10C; }, "magic number in optional header not recognized"},
        {"optional size", [](coff_fixture& f) { f.optional_size_error = 8; },
         "size of optional header did not match expectation"},
        {"string size", [](coff_fixture& f) { f.string_size_override = 3; }, "invalid size in COFF string table"},
        {"aux on last", [](coff_fixture& f) {
             f.records.back().aux = 1;
             f.write_aux = false;
         }, "Invalid aux. symbol count in COFF symbol"},
        // The string buffer holds the table's size + 1 bytes (a final terminator).
        {"long name offset", [](coff_fixture& f) { f.records.back().long_offset = uint32_t(4 + f.strings.size() + 1); },
         "out_of_range"},
    };
    for (const bad_case& c : cases) {
        SCOPED_TRACE(c.what);
        coff_fixture f = two_functions(0x20B);
        c.spoil(f);
        EXPECT_EQ(error_of(f), c.error);
    }
}
