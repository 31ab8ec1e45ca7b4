// Stack traces: the walk, the frame lines and the symbol lookup.
#include "log/stacktrace.h"

#include <link.h>
#include <unistd.h>
#include <unwind.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>

#include "log/symbol_table.h"

using namespace exe_symbols;

namespace {

constexpr int32_t max_frames = 41;
constexpr size_t line_size = 200;

// The module's tables of one trace: each file is read once per trace, not per frame.
using table_cache = std::map<std::string, pe_symtab>;

struct module_info {
    bool found = false;
    uintptr_t address = 0;
    uint64_t base = 0;
    std::string path;
};

int find_module(dl_phdr_info* info, size_t, void* data) {
    auto* m = static_cast<module_info*>(data);
    for (int k = 0; k < info->dlpi_phnum; ++k) {
        const ElfW(Phdr)& ph = info->dlpi_phdr[k];
        if (ph.p_type != PT_LOAD) continue;
        uintptr_t start = info->dlpi_addr + ph.p_vaddr;
        if (m->address >= start && m->address < start + ph.p_memsz) {
            m->found = true;
            m->base = info->dlpi_addr;
            if (info->dlpi_name && info->dlpi_name[0]) {
                m->path = info->dlpi_name;
            } else {
                // The main program: start-up changes the current folder, so its path.
                char path[4096];
                ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
                m->path.assign(path, n > 0 ? size_t(n) : 0);
            }
            return 1;
        }
    }
    return 0;
}

std::string resolve(uintptr_t address, table_cache& cache) {
    module_info m;
    m.address = address;
    dl_iterate_phdr(find_module, &m);
    if (!m.found) return std::string();
    try {
        auto at = cache.find(m.path);
        if (at == cache.end()) {
            pe_symtab table;
            try {
                file f(m.path.c_str());
                pe_symtab built(m.base, f, symbol_format::elf);
                table.swap(built);
            } catch (const std::exception&) {
                // Unreadable symbols: the frame is named by the module path.
            }
            at = cache.emplace(m.path, pe_symtab()).first;
            at->second.swap(table);
        }
        if (const char* name = at->second.function_spanning(address)) {
            gnu_demangler demangler;
            return demangled_name(demangler, name);
        }
    } catch (const std::exception&) {
    }
    return m.path;
}

struct stacktrace_state {
    bool basic_frames_only;
    bool basic_frame_seen = false;
    int32_t frames_visited = 0;
    int32_t frames_skipped = 0;
    std::string text;
    table_cache tables;
};

bool is_logging_frame(const std::string& name) {
    return name.compare(0, 9, "libzv_log") == 0 || name.compare(0, 10, "libzv_vlog") == 0;
}

_Unwind_Reason_Code stacktrace_frame(_Unwind_Context* context, stacktrace_state* state) {
    if (state->frames_visited >= max_frames) return _URC_NORMAL_STOP;
    state->frames_visited += 1;
    int before_instruction = 0;
    uintptr_t ip = _Unwind_GetIPInfo(context, &before_instruction);
    if (ip == 0) return _URC_NORMAL_STOP;
    // A return address may lie past the end of a function ending in a call: look
    // up the call itself, except in a signal frame, whose address is exact.
    std::string name = resolve(before_instruction ? ip : ip - 1, state->tables);
    if (is_logging_frame(name)) {
        state->frames_skipped += 1;
        return _URC_NO_REASON;
    }
    if (std::optional<std::string> basic = libzv_log_resolve_orvo_symbol(name.c_str())) {
        name = *basic;
        state->basic_frame_seen = true;
    } else if (state->basic_frames_only) {
        return state->basic_frame_seen ? _URC_NORMAL_STOP : _URC_NO_REASON;
    }
    char line[line_size];
    int prefix = snprintf(line, sizeof line, "#%-2d [0x%016" PRIXPTR "] in ",
                          int(state->frames_visited - state->frames_skipped), ip);
    // A long name is cut so that the line still ends in its newline.
    int room = int(line_size) - prefix - 2;
    snprintf(line + prefix, sizeof line - size_t(prefix), "%.*s\n", room, name.c_str());
    state->text += line;
    return _URC_NO_REASON;
}

// Nothing may be thrown through the unwinder: out of memory ends the walk with the
// lines made so far.
_Unwind_Reason_Code stacktrace_frame_callback(_Unwind_Context* context, void* data) {
    try {
        return stacktrace_frame(context, static_cast<stacktrace_state*>(data));
    } catch (const std::exception&) {
        return _URC_NORMAL_STOP;
    }
}

}  // namespace

std::string libzv_log_get_stacktrace(bool basic_frames_only) {
    stacktrace_state state;
    state.basic_frames_only = basic_frames_only;
    _Unwind_Backtrace(stacktrace_frame_callback, &state);
    return state.text;
}

std::optional<std::string> libzv_log_resolve_orvo_symbol(const char* name) {
    if (!name) return std::nullopt;
    if (strncmp(name, "ZVMAIN(", 7) == 0) return std::string("Main ORVO code");
    if (strncmp(name, "SUB_", 4) == 0) return std::string(name + 4) + " (ORVO)";
    if (strncmp(name, "FUNC_", 5) == 0) return std::string(name + 5) + " (ORVO)";
    return std::nullopt;
}

std::string libzv_log_resolve_symbol(uintptr_t address) {
    table_cache tables;
    return resolve(address, tables);
}
