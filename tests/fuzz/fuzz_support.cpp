// The fuzz targets' shared seams, resets, scratch folder and argument reader.
#include "fuzz_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/runtime_flags.h"
#include "core/statement_flags.h"
#include "error/error.h"
#include "file/field.h"
#include "file/file_numbers.h"
#include "file/gfs.h"
#include "font/font_tables.h"
#include "image/hardware_queue.h"
#include "image/image_table.h"
#include "log/log.h"
#include "memory/cmem.h"
#include "net/net.h"
#include "palette/palette.h"
#include "palette/vga_ports.h"
#include "platform/alert.h"
#include "platform/process_exit.h"
#include "screen/screen.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

namespace {

void throw_exit(int32_t code) { throw fuzz_exit{code}; }

int32_t quiet_alert(const char*, const char*, const char*) { return 1; }

std::string scratch;

bool strings_ready = false;
uint32_t first_temporary = 0;
std::vector<zvs*> variables;

void remove_scratch() {
    if (scratch.empty()) return;
    if (chdir("/") != 0) return;
    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
}

}  // namespace

void fuzz_install_seams() {
    static bool done = false;
    if (done) return;
    done = true;
    libzv_set_process_exit_hook(throw_exit);
    gui_alert_set_backend(quiet_alert);
    // No log handler: the fuzzers raise millions of errors, each of which is logged.
    libzv_log_global_init();
    libzv_log_reset_for_tests();
}

void fuzz_note_fatal() { strings_ready = false; }

void fuzz_reset_runtime() {
    if (strings_ready) {
        for (zvs* v : variables) zvs_free(v);
        zvs_tmp_release_to(first_temporary, 0);
    } else {
        zvs_reset_for_tests(65536, 1024, 1024);
        first_temporary = zvs_tmp_list_nexti();
        strings_ready = true;
    }
    variables.clear();
    error_reset_for_tests();
    runtime_flags_reset_for_tests();
    statement_flags_reset_for_tests();
}

void fuzz_reset_screen() {
    static bool memory_ready = false;
    if (!memory_ready) {
        cmem_reset_for_tests();
        memory_ready = true;
    }
    palette_global_init();
    font_tables_reset_for_tests();
    screen_reset_for_tests();
    image_table_reset_for_tests();
    hardware_images_reset_for_tests();
    vga_ports_reset_for_tests();
}

void fuzz_reset_files() {
    gfs_close_all_files();
    gfs_reset_for_tests();
    net_reset_for_tests();
    field_reset_for_tests();
    field_global_init();
    file_global_init();
}

const std::string& fuzz_scratch_folder() {
    if (scratch.empty()) {
        char pattern[] = "/tmp/zvfuzzXXXXXX";
        if (!mkdtemp(pattern)) {
            perror("mkdtemp");
            abort();
        }
        scratch = pattern;
        atexit(remove_scratch);
    }
    if (chdir(scratch.c_str()) != 0) {
        perror("chdir");
        abort();
    }
    return scratch;
}

void fuzz_scratch_clear() {
    fuzz_scratch_folder();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(scratch, ec)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(entry.path(), ec);
    }
}

void fuzz_write_file(const char* name, const uint8_t* data, size_t size) {
    FILE* f = fopen(name, "wb");
    if (!f) {
        perror(name);
        abort();
    }
    if (size) fwrite(data, 1, size, f);
    fclose(f);
}

zvs* fuzz_var(const uint8_t* data, size_t size) {
    zvs* v = zvs_new(int32_t(size), 0);
    if (size) memcpy(v->text, data, size);
    variables.push_back(v);
    return v;
}

zvs* fuzz_own(zvs* variable) {
    variables.push_back(variable);
    return variable;
}

zvs* fuzz_temp(const std::string& bytes) {
    zvs* t = zvs_new(int32_t(bytes.size()), 1);
    if (!bytes.empty()) memcpy(t->text, bytes.data(), bytes.size());
    return t;
}

zvs* fuzz_text(const uint8_t* data, size_t size) { return zvs_new_txt_len(data, int32_t(size)); }

int64_t fuzz_input::edgy64() {
    static constexpr int64_t edges[] = {0, 1, -1, 2, 255, 256, 32767, -32768, 32768, 65535, 65536,
                                        INT32_MAX, INT32_MIN, int64_t(INT32_MAX) + 1, INT64_MAX, INT64_MIN};
    uint8_t pick = u8();
    if (pick < 128) return edges[pick % (sizeof edges / sizeof edges[0])];
    if (pick < 192) return int64_t(int8_t(u8()));
    if (pick < 224) return int64_t(int16_t(u16()));
    if (pick < 240) return int64_t(int32_t(u32()));
    return int64_t(u64());
}

std::string fuzz_input::chunk(size_t max) {
    size_t n = u8();
    if (n > max) n = max;
    if (n > left()) n = left();
    std::string out(reinterpret_cast<const char*>(data_ + at_), n);
    at_ += n;
    return out;
}

std::string fuzz_input::rest() {
    std::string out(reinterpret_cast<const char*>(data_ + at_), left());
    at_ = size_;
    return out;
}
