// Dropped files and their statements.
#include "window/file_drop.h"

#include <mutex>

#include "error/error.h"
#include "glut/window_hooks.h"
#include "string/zvs.h"

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

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percent_decoded(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        int high = s[i] == '%' && i + 2 < s.size() ? hex_value(s[i + 1]) : -1;
        int low = high >= 0 ? hex_value(s[i + 2]) : -1;
        if (s[i] == '%' && high >= 0 && low >= 0) {
            out += char(high * 16 + low);
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> file_paths_from_uri_list(const std::string& list) {
    std::vector<std::string> paths;
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find('\n', start);
        if (end == std::string::npos) end = list.size();
        std::string line = list.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#' || line.compare(0, 7, "file://") != 0) continue;
        size_t slash = line.find('/', 7);
        if (slash == std::string::npos) continue;
        std::string host = line.substr(7, slash - 7);
        if (!host.empty() && host != "localhost") continue;
        std::string path = percent_decoded(line.substr(slash));
        if (path.find('\0') != std::string::npos) continue;
        paths.push_back(path);
    }
    return paths;
}

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
