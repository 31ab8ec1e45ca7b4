// scan_elf_file: function symbols from the .symtab of an ELF64 file.
#include <stdexcept>
#include <vector>

#include "log/symbol_table.h"

namespace exe_symbols {

namespace {
constexpr uint32_t sht_symtab = 2;
constexpr uint8_t stt_func = 2;
constexpr uint32_t section_header_size = 64;
constexpr uint32_t symbol_size = 24;
}  // namespace

void scan_elf_file(file& f, pe_sink& sink) {
    uint8_t ident[16];
    f.go(0);
    f.read(ident, 16);
    if (ident[0] != 0x7F || ident[1] != 'E' || ident[2] != 'L' || ident[3] != 'F')
        throw file_error("file is not an ELF file");
    if (ident[4] != 2 || ident[5] != 1) throw file_error("ELF file is not little-endian 64-bit");

    f.go(0x28);
    uint64_t section_table = f.u64();
    f.go(0x3A);
    uint16_t entry_size = f.u16();
    uint16_t section_count = f.u16();
    if (entry_size < section_header_size) throw file_error("no ELF symbols");

    auto section_field = [&](uint32_t index, uint32_t field) {
        f.go(section_table + uint64_t(index) * entry_size + field);
    };
    for (uint32_t s = 0; s < section_count; ++s) {
        section_field(s, 4);
        if (f.u32() != sht_symtab) continue;
        section_field(s, 0x18);
        uint64_t symbols_offset = f.u64();
        uint64_t symbols_size = f.u64();
        uint32_t link = f.u32();
        if (link >= section_count) throw file_error("no ELF symbols");
        section_field(link, 0x18);
        uint64_t strings_offset = f.u64();
        uint64_t strings_size = f.u64();
        if (strings_size > f.size()) throw file_error("failed to read from file");

        std::vector<char> strings(size_t(strings_size) + 1, '\0');
        f.go(strings_offset);
        f.read(strings.data(), uint32_t(strings_size));

        f.go(symbols_offset);
        for (uint64_t n = symbols_size / symbol_size; n > 0; --n) {
            uint8_t record[symbol_size];
            f.read(record, symbol_size);
            uint32_t name = uint32_t(record[0]) | uint32_t(record[1]) << 8 | uint32_t(record[2]) << 16 |
                            uint32_t(record[3]) << 24;
            uint16_t section = uint16_t(record[6] | record[7] << 8);
            uint64_t value = 0;
            for (int k = 7; k >= 0; --k) value = value << 8 | record[8 + k];
            if ((record[4] & 0xF) != stt_func || section == 0) continue;
            if (name >= strings.size()) throw std::out_of_range("ELF string table offset");
            sink.on_symbol(strings.data() + name, value);
        }
        return;
    }
    throw file_error("no ELF symbols");
}

}  // namespace exe_symbols
