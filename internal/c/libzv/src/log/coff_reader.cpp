// scan_mingw_pe_file: function symbols from the COFF symbol table of a PE file.
#include <cstring>
#include <stdexcept>
#include <vector>

#include "log/symbol_table.h"

namespace exe_symbols {

void scan_mingw_pe_file(file& f, pe_sink& sink) {
    f.go(0x3C);
    f.go(f.u32());
    if (f.u8() != 'P' || f.u8() != 'E' || f.u16() != 0) throw file_error("file is not a Portable Executable");

    f.skip(2);  // machine
    uint16_t section_count = f.u16();
    f.skip(4);  // time stamp
    uint32_t symbol_table = f.u32();
    uint32_t symbol_count = f.u32();
    uint16_t optional_size = f.u16();
    f.skip(2);  // characteristics
    if (symbol_table == 0) throw file_error("no COFF symbols");

    uint64_t optional_start = f.offset();
    uint16_t magic = f.u16();
    if (magic == 0x10B)
        f.skip(90);
    else if (magic == 0x20B)
        f.skip(106);
    else
        throw file_error("magic number in optional header not recognized");
    uint32_t directories = f.u32();
    f.skip(int64_t(directories) * 8);
    if (f.offset() - optional_start != optional_size)
        throw file_error("size of optional header did not match expectation");

    std::vector<uint32_t> section_addresses;
    for (uint32_t s = 0; s < section_count; ++s) {
        f.skip(12);  // name, virtual size
        section_addresses.push_back(f.u32());
        f.skip(24);
    }
    uint64_t after_sections = f.offset();

    // The string table follows the symbols; offsets into it index this buffer.
    f.go(uint64_t(symbol_table) + uint64_t(symbol_count) * 18);
    uint32_t strings_size = f.u32();
    if (strings_size < 4) throw file_error("invalid size in COFF string table");
    std::vector<char> strings(size_t(strings_size) + 1, '\0');
    f.read(strings.data() + 4, strings_size - 4);

    f.go(symbol_table);
    for (uint32_t i = 0; i < symbol_count; ++i) {
        uint8_t name_field[8];
        f.read(name_field, 8);
        uint32_t value = f.u32();
        uint16_t section = f.u16();
        uint16_t type = f.u16();
        f.skip(1);  // storage class
        uint8_t aux = f.u8();
        if (type == 0x20) {
            char short_name[9] = {};
            const char* name;
            uint32_t zero, offset;
            memcpy(&zero, name_field, 4);
            memcpy(&offset, name_field + 4, 4);
            if (zero != 0) {
                memcpy(short_name, name_field, 8);
                name = short_name;
            } else {
                if (offset >= strings.size()) throw std::out_of_range("COFF string table offset");
                name = strings.data() + offset;
            }
            if (section >= 1 && section <= section_addresses.size())
                sink.on_symbol(name, uint64_t(value) + section_addresses[section - 1]);
        }
        if (aux) {
            i += aux;
            if (i >= symbol_count) throw file_error("Invalid aux. symbol count in COFF symbol");
            f.skip(int64_t(aux) * 18);
        }
    }
    f.go(after_sections);
}

}  // namespace exe_symbols
