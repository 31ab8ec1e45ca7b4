// The symbol table built from a scan, its lookup, and demangling.
#include "log/symbol_table.h"

#include <cxxabi.h>

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <new>

namespace exe_symbols {

gnu_demangler::gnu_demangler() : size(128) {
    buffer = static_cast<char*>(malloc(size));
    if (!buffer) throw std::bad_alloc();
}

gnu_demangler::~gnu_demangler() { free(buffer); }

const char* gnu_demangler::try_demangle(const char* name) {
    int status = 0;
    char* result = abi::__cxa_demangle(name, buffer, &size, &status);
    if (status == 0) {
        buffer = result;
        return buffer;
    }
    if (status == -1) throw std::bad_alloc();
    assert(status != -3);
    return nullptr;
}

const char* demangled_name(gnu_demangler& demangler, const char* name) {
    if (const char* text = demangler.try_demangle(name)) return text;
    if (name[0] == '_')
        if (const char* text = demangler.try_demangle(name + 1)) return text;
    return name;
}

void symbol_collector::on_symbol(const char* name, uint64_t relative_address) {
    assert(name);
    uint32_t at = uint32_t(names.size());
    names.insert(names.end(), name, name + strlen(name) + 1);
    symbols.push_back({relative_address, at});
}

pe_symtab::pe_symtab(uint64_t base, file& f, symbol_format format) {
    symbol_collector collector;
    if (format == symbol_format::coff)
        scan_mingw_pe_file(f, collector);
    else
        scan_elf_file(f, collector);
    names.swap(collector.names);
    symbols.swap(collector.symbols);
    for (pe_symbol& s : symbols) s.address += base;
    std::sort(symbols.begin(), symbols.end(),
              [](const pe_symbol& a, const pe_symbol& b) { return a.address < b.address; });
}

const char* pe_symtab::function_spanning(uint64_t address) const {
    auto above = std::upper_bound(symbols.begin(), symbols.end(), address,
                                  [](uint64_t a, const pe_symbol& s) { return a < s.address; });
    if (above == symbols.begin()) return nullptr;
    return names.data() + (above - 1)->name_offset;
}

void pe_symtab::swap(pe_symtab& other) {
    names.swap(other.names);
    symbols.swap(other.symbols);
}

}  // namespace exe_symbols
