// Function symbols of an executable file (ELF for the running program, COFF read
// from PE files) and the table that names the function containing an address.
#pragma once
#include <cstdint>
#include <vector>

#include "log/symbol_file.h"

namespace exe_symbols {

// Receives every function symbol a scan finds.
class pe_sink {
public:
    virtual ~pe_sink() = default;
    virtual void on_symbol(const char* name, uint64_t relative_address) = 0;
};

// The COFF symbol table of a PE32 or PE32+ file; throws file_error on a bad layout.
void scan_mingw_pe_file(file& f, pe_sink& sink);
// The .symtab of a little-endian ELF64 file; "no ELF symbols" when it has none.
void scan_elf_file(file& f, pe_sink& sink);

// Demangles through the C++ runtime with one reusable buffer.
class gnu_demangler {
public:
    gnu_demangler();
    ~gnu_demangler();
    gnu_demangler(const gnu_demangler&) = delete;
    gnu_demangler& operator=(const gnu_demangler&) = delete;
    // The demangled text (valid until the next call), or null for a name that is not mangled.
    const char* try_demangle(const char* name);

private:
    char* buffer;
    size_t size;
};

struct pe_symbol {
    uint64_t address;
    uint32_t name_offset;
};

// Collects names as read; a trace demangles only the name it finds.
class symbol_collector : public pe_sink {
public:
    void on_symbol(const char* name, uint64_t relative_address) override;
    std::vector<char> names;
    std::vector<pe_symbol> symbols;
};

enum class symbol_format { coff, elf };

class pe_symtab {
public:
    pe_symtab() = default;
    // Scans the file and places its symbols at base.
    pe_symtab(uint64_t base, file& f, symbol_format format = symbol_format::coff);
    // The name of the last symbol at or below address, or null.
    const char* function_spanning(uint64_t address) const;
    void swap(pe_symtab& other);

private:
    std::vector<char> names;
    std::vector<pe_symbol> symbols;
};

// A symbol name as people read it: demangled, also after a leading '_' the
// target may add; the name itself when it is not mangled.
const char* demangled_name(gnu_demangler& demangler, const char* name);

}  // namespace exe_symbols
