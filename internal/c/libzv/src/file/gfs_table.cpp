// The file layer's tables: records taken and released, the file-number map, closing
// all files, and the statements' translation of the layer's codes.
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "file/gfs.h"
#include "file/gfs_internal.h"
#include "file/gfs_os.h"

namespace {

// Records are allocated one by one, so their addresses survive the table's growth.
std::vector<std::unique_ptr<gfs_file_struct>> records;
std::vector<int32_t> free_indices;  // last released, first reused
int64_t next_id = 1;

// Bound numbers only; the highest number ever asked about is all that FREEFILE needs
// of the rest.
std::map<int32_t, int32_t> fileno_map;
int32_t fileno_max = 0;

void clear_record(gfs_file_struct* f, int64_t id) {
    *f = gfs_file_struct{};
    f->id = id;
    f->os_handle = -1;
    f->com_pushed_back = -1;
    f->com_last_byte = -1;
}

}  // namespace

void gfs_global_init() { gfs_reset_for_tests(); }

void gfs_reset_for_tests() {
    records.clear();
    free_indices.clear();
    next_id = 1;
    fileno_map.clear();
    fileno_max = 0;
    gfs_os_reset_for_tests();
}

gfs_file_struct* gfs_record(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= records.size()) return nullptr;
    gfs_file_struct* f = records[index].get();
    return f->is_open || f->is_screen ? f : nullptr;
}

int32_t gfs_new() {
    int32_t index;
    if (!free_indices.empty()) {
        index = free_indices.back();
        free_indices.pop_back();
    } else {
        index = static_cast<int32_t>(records.size());
        records.push_back(std::make_unique<gfs_file_struct>());
    }
    clear_record(records[index].get(), next_id++);
    return index;
}

void gfs_release_taken(int32_t index) {
    gfs_file_struct* f = records[index].get();
    f->is_open = 0;
    f->is_screen = 0;
    free_indices.push_back(index);
}

int32_t gfs_free(int32_t index) {
    gfs_file_struct* f = gfs_record(index);
    if (!f) return gfs_bad_index;
    if (f->file_number) fileno_map.erase(f->file_number);
    // A released screen record must not validate again, or a second release would
    // push its index twice.
    gfs_release_taken(index);
    return gfs_ok;
}

int32_t gfs_close(int32_t index) {
    gfs_file_struct* f = gfs_record(index);
    if (!f) return gfs_bad_index;
    bool screen = f->is_screen;
    gfs_free(index);
    if (screen) return gfs_ok;
    free(f->record_buffer);
    f->record_buffer = nullptr;
    free(f->field_strings);
    f->field_strings = nullptr;
    f->field_string_count = 0;
    f->locks.clear();
    gfs_os_file os{f->os_handle, f->can_read, f->can_write, f->share_token};
    gfs_os_close(&os);
    f->os_handle = -1;
    f->share_token = 0;
    return gfs_ok;
}

int32_t gfs_validhandle(int32_t index) { return gfs_record(index) ? 1 : 0; }

gfs_file_struct* gfs_get_file_struct(int32_t index) { return records[index].get(); }

void gfs_close_all_files() {
    std::vector<int32_t> indices;
    for (const auto& [n, index] : fileno_map) indices.push_back(index);
    for (int32_t index : indices) gfs_close(index);
}

int32_t gfs_fileno_valid(int32_t n) {
    if (n < 1) return -2;
    if (fileno_map.count(n)) return 1;
    if (n > fileno_max) fileno_max = n;
    return 0;
}

int32_t gfs_get_fileno(int32_t n) {
    auto it = fileno_map.find(n);
    return it == fileno_map.end() ? -1 : it->second;
}

void gfs_fileno_use(int32_t n, int32_t index) {
    fileno_map[n] = index;
    if (n > fileno_max) fileno_max = n;
    records[index]->file_number = n;
}

void gfs_fileno_free(int32_t n) { fileno_map.erase(n); }

int32_t gfs_fileno_freefile() {
    int32_t candidate = 1;
    for (const auto& [n, index] : fileno_map) {
        if (n != candidate) break;
        candidate++;
    }
    return candidate;
}

gfs_file_struct* gfs_file_of_number(int32_t n) {
    if (n < 1) return nullptr;
    int32_t index = gfs_get_fileno(n);
    return index < 0 ? nullptr : records[index].get();
}

int32_t gfs_error_number(int32_t code, gfs_errors family) {
    switch (family) {
        case gfs_errors::open:
            switch (code) {
                case gfs_path_not_found: return 76;
                case gfs_denied: return 70;
                case gfs_device_unavailable: return 68;
                case gfs_bad_com_name: return 64;
                default: return 53;
            }
        case gfs_errors::open_probe: return code == gfs_denied ? 70 : 75;
        case gfs_errors::transfer:
            switch (code) {
                case gfs_bad_index: return 258;
                case gfs_no_access: return 54;
                case gfs_bad_argument: return 5;
                case gfs_denied: return 70;
                default: return 75;
            }
        case gfs_errors::lock:
            switch (code) {
                case gfs_bad_index: return 258;
                case gfs_bad_argument: return 5;
                case gfs_denied: return 70;
                default: return 75;
            }
        case gfs_errors::record_move: return 54;
    }
    return 75;
}
