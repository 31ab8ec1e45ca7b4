// Dropped files and their statements.
#include "window/file_drop.h"

#include <mutex>

#include "error/error.h"
#include "string/zvs.h"
#include "window/window_hooks.h"

std::atomic<int32_t> acceptFileDrop{0};

namespace {

std::mutex drop_lock;
drop_list* hdrop = nullptr;
int32_t totalDroppedFiles = 0;
int32_t read_index = -1;

// Releases the drop; a new drop starts reading at its first name. Lock held.
void finish() {
    delete hdrop;
    hdrop = nullptr;
    totalDroppedFiles = 0;
    read_index = -1;
}

zvs* text(const std::string& s) {
    zvs* r = zvs_new(int32_t(s.size()), 1);
    if (!s.empty()) std::copy(s.begin(), s.end(), r->text);
    return r;
}

}  // namespace

void file_drop_receive(drop_list* list) {
    std::lock_guard<std::mutex> hold(drop_lock);
    if (totalDroppedFiles || hdrop) finish();
    hdrop = list;
    totalDroppedFiles = list ? int32_t(list->names.size()) : 0;
    read_index = -1;
}

void sub__filedrop(int32_t mode) {
    if (new_error_is_set()) return;
    if (!window_handle) return;
    if (mode == 0 || mode == 1)
        acceptFileDrop.store(-1);
    else if (mode == 2)
        acceptFileDrop.store(0);
}

int32_t func__filedrop() {
    if (new_error_is_set()) return 0;
    return acceptFileDrop.load();
}

int32_t func__totaldroppedfiles() {
    if (new_error_is_set()) return 0;
    std::lock_guard<std::mutex> hold(drop_lock);
    return totalDroppedFiles;
}

void sub__finishdrop() {
    if (new_error_is_set()) return;
    std::lock_guard<std::mutex> hold(drop_lock);
    finish();
}

zvs* func__droppedfile(int32_t n, int32_t passed) {
    if (new_error_is_set()) return zvs_new(0, 1);
    std::string name;
    {
        std::lock_guard<std::mutex> hold(drop_lock);
        if (!totalDroppedFiles) {
            read_index = -1;
            return zvs_new(0, 1);
        }
        bool given = passed & 1;
        int64_t index = given ? int64_t(n) - 1 : int64_t(read_index) + 1;
        if (index < 0 || index >= totalDroppedFiles) {
            if (!given) finish();
            read_index = -1;
            return zvs_new(0, 1);
        }
        read_index = int32_t(index);
        name = hdrop->names[size_t(index)];
        if (name.size() > dropped_name_max) {
            finish();
            return zvs_new(0, 1);
        }
        if (!given && read_index == totalDroppedFiles - 1) finish();
    }
    return text(name);
}

void file_drop_reset_for_tests() {
    std::lock_guard<std::mutex> hold(drop_lock);
    finish();
    acceptFileDrop.store(0);
}
