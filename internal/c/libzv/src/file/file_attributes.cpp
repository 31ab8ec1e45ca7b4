// Extended attributes carried from one open file to another.
#include "file/file_attributes.h"

#include <sys/xattr.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

namespace {

// A list or a value that the system fills in: asked for its size, then read; a list
// that grew in between is asked for again. False with errno set.
template <class Read>
bool read_grown(std::string* out, Read read) {
    for (;;) {
        ssize_t n = read(nullptr, 0);
        if (n < 0) return false;
        out->resize(size_t(n));
        if (n == 0) return true;
        n = read(out->data(), out->size());
        if (n >= 0) {
            out->resize(size_t(n));
            return true;
        }
        if (errno != ERANGE) return false;
    }
}

// The attribute names of an open file.
bool attribute_names(int fd, std::vector<std::string>* names) {
    std::string list;
    if (!read_grown(&list, [fd](char* to, size_t size) { return ::flistxattr(fd, to, size); }))
        return errno == ENOTSUP;  // no extended attributes on this file system
    names->clear();
    for (size_t at = 0; at < list.size();) {
        size_t end = list.find('\0', at);
        if (end == std::string::npos) end = list.size();
        if (end > at) names->emplace_back(list, at, end - at);
        at = end + 1;
    }
    return true;
}

}  // namespace

bool file_attributes_copy(int from, int to) {
    std::vector<std::string> wanted, present;
    if (!attribute_names(from, &wanted) || !attribute_names(to, &present)) return false;
    for (const std::string& name : present)
        if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() && ::fremovexattr(to, name.c_str()) != 0 &&
            errno != ENODATA)
            return false;
    std::string value;
    for (const std::string& name : wanted) {
        auto read = [&](char* into, size_t size) { return ::fgetxattr(from, name.c_str(), into, size); };
        if (!read_grown(&value, read) || ::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0)
            return false;
    }
    return true;
}
