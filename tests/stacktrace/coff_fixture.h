// Builds small PE files with a COFF symbol table, byte by byte.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct coff_record {
    std::string short_name;  // up to 8 bytes; empty: long_offset into the string table
    uint32_t long_offset = 0;
    uint32_t value = 0;
    uint16_t section = 1;
    uint16_t type = 0x20;
    uint8_t aux = 0;  // followed by that many zeroed 18-byte records
};

struct coff_fixture {
    uint16_t magic = 0x20B;
    int32_t optional_size_error = 0;  // added to the declared optional-header size
    bool bad_signature = false;
    bool no_symbol_pointer = false;
    std::vector<uint32_t> section_addresses{0x1000, 0x5000};
    std::vector<coff_record> records;
    std::string strings;              // the string table after its size field
    int64_t string_size_override = -1;
    bool write_aux = true;  // false: aux counts claim records that are not there

    std::vector<uint8_t> bytes() const {
        std::vector<uint8_t> b(0x44, 0);
        put32(b, 0x3C, 0x40);
        b[0x40] = 'P';
        b[0x41] = 'E';
        if (bad_signature) b[0x41] = 'X';
        uint32_t directories = 2;
        uint32_t optional = (magic == 0x10B ? 96u : 112u) + 8 * directories;
        size_t header = b.size();
        b.resize(header + 20, 0);
        put16(b, header + 2, uint16_t(section_addresses.size()));
        put16(b, header + 16, uint16_t(int32_t(optional) + optional_size_error));
        size_t opt = b.size();
        b.resize(opt + optional, 0);
        put16(b, opt, magic);
        put32(b, opt + optional - 8 * directories - 4, directories);
        for (uint32_t va : section_addresses) {
            size_t s = b.size();
            b.resize(s + 40, 0);
            put32(b, s + 12, va);
        }
        uint32_t count = 0;
        for (const coff_record& r : records) count += 1 + (write_aux ? r.aux : 0);
        put32(b, header + 8, no_symbol_pointer ? 0 : uint32_t(b.size()));
        put32(b, header + 12, count);
        for (const coff_record& r : records) {
            size_t s = b.size();
            b.resize(s + 18 * (1 + (write_aux ? r.aux : 0)), 0);
            if (!r.short_name.empty())
                memcpy(&b[s], r.short_name.data(), r.short_name.size());
            else
                put32(b, s + 4, r.long_offset);
            put32(b, s + 8, r.value);
            put16(b, s + 12, r.section);
            put16(b, s + 14, r.type);
            b[s + 17] = r.aux;
        }
        size_t t = b.size();
        b.resize(t + 4, 0);
        put32(b, t, string_size_override >= 0 ? uint32_t(string_size_override) : uint32_t(4 + strings.size()));
        b.resize(t + 4 + strings.size());
        if (!strings.empty()) memcpy(&b[t + 4], strings.data(), strings.size());
        return b;
    }

    static void put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
        b[at] = uint8_t(v);
        b[at + 1] = uint8_t(v >> 8);
    }
    static void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
        for (int k = 0; k < 4; ++k) b[at + k] = uint8_t(v >> (8 * k));
    }
};
