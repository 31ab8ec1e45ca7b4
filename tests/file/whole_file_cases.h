// One table of whole-file write cases, driven by _WRITEFILE and by BSAVE. Each row
// makes "f" (or what stands for it) holding the previous bytes on a small tmpfs of its
// own, writes the statement's bytes over it and reports the error, the content, the
// file's owner, mode and extended attributes against what they were, whether a link
// stayed a link, what file number 1 reads, and any side file left behind.
#pragma once
#include <dirent.h>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <sys/xattr.h>

#include <cstring>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "file/file_queries.h"
#include "file/input_dollar.h"
#include "file_fixture.h"
#include "support/private_tmpfs.h"

namespace whole_file_cases {

// Small rows cannot hold the new bytes next to the previous ones; large ones can.
constexpr size_t small_disk = 32768;
constexpr size_t large_disk = 1 << 20;
constexpr int64_t new_size = 40007;  // a BSAVE header and 40,000 bytes

inline std::string bytes_of(size_t size, uint8_t seed) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; i++) s[i] = char(seed + i * 13);
    return s;
}
inline const std::string previous = bytes_of(12000, 3);

inline std::string put(const char* name, const std::string& bytes, mode_t mode = 0644) {
    int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    bool ok = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    if (fd >= 0) ::close(fd);
    return ok && ::chmod(name, mode) == 0 ? "" : std::string("making ") + name + ": " + strerror(errno);
}

inline std::string get(const char* name, bool* found) {
    std::string bytes;
    int fd = ::open(name, O_RDONLY | O_CLOEXEC);
    *found = fd >= 0;
    char buffer[65536];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, size_t(n));
    if (fd >= 0) ::close(fd);
    return bytes;
}

// A POSIX ACL as the system stores it: version 2, then (tag, permissions, id) entries.
inline std::string acl_value(std::initializer_list<std::array<uint32_t, 3>> entries) {
    std::string value;
    auto put_le = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; i++) value += char(v >> (8 * i));
    };
    put_le(2, 4);
    for (const auto& [tag, permissions, id] : entries) {
        put_le(tag, 2);
        put_le(permissions, 2);
        put_le(id, 4);
    }
    return value;
}
constexpr uint32_t nobody = 0xFFFFFFFF;  // the id of entries that name no one
// rw for the owner, r for user 1234, the group and the mask, nothing for others.
inline const std::string read_for_another_user =
    acl_value({{0x01, 6, nobody}, {0x02, 4, 1234}, {0x04, 4, nobody}, {0x10, 4, nobody}, {0x20, 0, nobody}});

inline std::string set_attribute(const char* name, const char* attribute, const std::string& value) {
    if (::setxattr(name, attribute, value.data(), value.size(), 0) == 0) return "";
    return std::string("setting ") + attribute + " on the tmpfs: " + strerror(errno);
}

// Without the capabilities that pass over file modes and owners, as an ordinary user
// is: a 0555 folder then refuses new names, root's included.
inline std::string drop_file_capabilities() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0) return std::string("capget: ") + strerror(errno);
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) data[cap / 32].effective &= ~(1u << (cap % 32));
    if (syscall(SYS_capset, &header, data) != 0) return std::string("capset: ") + strerror(errno);
    return "";
}

inline zvs* runtime_text(const std::string& s) {
    zvs* t = zvs_new(int32_t(s.size()), 1);
    if (!s.empty()) memcpy(t->text, s.data(), s.size());
    return t;
}

// OPEN "f" FOR BINARY AS #1.
inline std::string open_as_number_one() {
    sub_open(runtime_text("f"), 2, 0, 0, 1, 0, 0);
    int32_t e = new_error.exchange(0);
    return e ? "OPEN gave error " + std::to_string(e) : "";
}

struct whole_file_case {
    const char* name;          // the test's name
    size_t disk;               // small_disk or large_disk
    const char* options;       // more mount options
    bool read_only;            // remounted read-only after the setup
    std::string (*setup)();    // makes "f"; "" or what the machine lacks for the row
    int32_t writefile_error;   // the error of _WRITEFILE
    int32_t bsave_error;       // the error of BSAVE
    const char* content;       // "previous", "new" or "no file" afterwards
    const char* attributes;    // the file's extended attributes afterwards
};

inline const whole_file_case cases[] = {
    {"PlainFile", large_disk, "", false, [] { return put("f", previous, 0640); }, 0, 0, "new", ""},
    {"PlainFileOnAFullDisk", small_disk, "", false, [] { return put("f", previous, 0640); }, 75, 75, "previous", ""},
    {"MissingFileOnAFullDisk", small_disk, "", false, [] { return std::string(); }, 75, 75, "no file", ""},
    {"NoFreeInode", large_disk, "nr_inodes=2", false, [] { return put("f", previous); }, 0, 0, "new", ""},
    {"ReadOnlyMount", large_disk, "", true, [] { return put("f", previous); }, 76, 64, "previous", ""},
    {"ReadOnlyFile", large_disk, "", false, [] { return put("f", previous, 0444); }, 76, 64, "previous", ""},
    {"BindMountedFile", large_disk, "", false,
     [] {
         std::string made = put("f", bytes_of(10, 1)) + put("source", previous);
         if (made.empty() && ::mount("source", "f", nullptr, MS_BIND, nullptr) != 0)
             made = std::string("bind-mounting a file: ") + strerror(errno);
         return made;
     },
     0, 0, "new", ""},
    {"AclAndUserAttribute", large_disk, "", false,
     [] {
         std::string made = put("f", previous, 0640);
         if (made.empty()) made = set_attribute("f", "user.zv", "kept");
         if (made.empty()) made = set_attribute("f", "system.posix_acl_access", read_for_another_user);
         return made;
     },
     0, 0, "new", "system.posix_acl_access user.zv"},
    {"FolderWithADefaultAcl", large_disk, "", false,
     [] {
         std::string made = put("f", previous);
         // Set after "f" is made, so that only a new file would inherit it.
         if (made.empty()) made = set_attribute(".", "system.posix_acl_default", read_for_another_user);
         return made;
     },
     0, 0, "new", ""},
    {"SymbolicLinkOnAFullDisk", small_disk, "", false,
     [] {
         std::string made = put("target", previous);
         if (made.empty() && ::symlink("target", "f") != 0) made = std::string("symlink: ") + strerror(errno);
         return made;
     },
     75, 75, "previous", ""},
    {"HardLinkOnAFullDisk", small_disk, "", false,
     [] {
         std::string made = put("f", previous);
         if (made.empty() && ::link("f", "second") != 0) made = std::string("link: ") + strerror(errno);
         return made;
     },
     75, 75, "previous", ""},
    {"OpenFile", large_disk, "", false,
     [] {
         std::string made = put("f", previous);
         return made.empty() ? open_as_number_one() : made;
     },
     0, 0, "new", ""},
    {"OpenFileOnAFullDisk", small_disk, "", false,
     [] {
         std::string made = put("f", previous);
         return made.empty() ? open_as_number_one() : made;
     },
     75, 75, "previous", ""},
    {"FolderWithoutWriteBitsOnAFullDisk", small_disk, "", false,
     [] {
         std::string made = put("f", previous);
         if (made.empty() && ::chmod(".", 0555) != 0) made = std::string("chmod: ") + strerror(errno);
         return made.empty() ? drop_file_capabilities() : made;
     },
     75, 75, "previous", ""},
};

// Test names and messages show the row by its name.
inline void PrintTo(const whole_file_case& c, std::ostream* os) { *os << c.name; }

// What the file that "f" names is, as far as a write must keep it.
struct kept_state {
    struct stat st {};
    std::map<std::string, std::string> attributes;
    bool link = false;
};

inline kept_state state_of(const char* name) {
    kept_state state;
    struct stat lst;
    state.link = ::lstat(name, &lst) == 0 && S_ISLNK(lst.st_mode);
    if (::stat(name, &state.st) != 0) return state;
    char list[4096];
    ssize_t n = ::listxattr(name, list, sizeof list);
    for (ssize_t at = 0; at < n; at += ssize_t(strlen(list + at)) + 1) {
        char value[4096];
        ssize_t v = ::getxattr(name, list + at, value, sizeof value);
        state.attributes[list + at] = v < 0 ? "(unreadable)" : std::string(value, size_t(v));
    }
    return state;
}

// Side files left in the current folder.
inline std::string side_files() {
    std::string found;
    DIR* folder = ::opendir(".");
    while (dirent* entry = folder ? ::readdir(folder) : nullptr)
        if (strncmp(entry->d_name, ".zv", 3) == 0) found += std::string(" ") + entry->d_name;
    if (folder) ::closedir(folder);
    return found;
}

// The error, the content and the attribute names; then only what changed.
inline std::string report_after(int32_t error, const std::string& written, const kept_state& before) {
    bool found;
    std::string content = get("f", &found);
    std::string report = "error " + std::to_string(error) + ", ";
    report += !found                 ? "no file"
              : content == previous  ? "previous"
              : content == written   ? "new"
                                     : std::to_string(content.size()) + " other bytes";
    kept_state after = state_of("f");
    report += ", attributes [";
    for (const auto& [name, value] : after.attributes) report += (report.back() == '[' ? "" : " ") + name;
    report += "]";
    if (found && (after.st.st_mode != before.st.st_mode || after.st.st_uid != before.st.st_uid ||
                  after.st.st_gid != before.st.st_gid))
        report += ", mode or owner changed";
    if (found && after.attributes != before.attributes) report += ", attribute values changed";
    if (before.link && !after.link) report += ", the link was replaced";
    if (gfs_file_of_number(1)) {
        sub_seek(1, 1);
        zvs* through = func_input(int32_t(func_lof(1)), 1, 1);
        if (std::string(reinterpret_cast<const char*>(through->text), size_t(through->length)) != content)
            report += ", #1 reads other bytes";
        new_error.store(0);
    }
    std::string left = side_files();
    if (!left.empty()) report += ", side files left:" + left;
    return report;
}

inline std::string expected_report(const whole_file_case& c, int32_t error) {
    return "error " + std::to_string(error) + ", " + c.content + ", attributes [" + c.attributes + "]";
}

}  // namespace whole_file_cases

// One row on a tmpfs of its own: `write` runs the statement on "f" and answers its error;
// `written` is what it writes.
class WholeFileCases : public FileTest, public ::testing::WithParamInterface<whole_file_cases::whole_file_case> {
protected:
    void run_row(int32_t error, const std::string& written, const std::function<int32_t()>& write) {
        using namespace whole_file_cases;
        const whole_file_case& row = GetParam();
        ASSERT_EQ(mkdir("disk", 0777), 0);
        tmpfs_outcome outcome = run_on_private_tmpfs(
            folder_ + "/disk", row.disk, row.read_only, row.setup,
            [&] {
                kept_state before = state_of("f");
                int32_t e = write();
                return report_after(e, written, before);
            },
            row.options);
        if (!outcome.ran) GTEST_SKIP() << row.name << " needs what this machine lacks: " << outcome.why;
        EXPECT_EQ(outcome.report, expected_report(row, error));
    }
};

inline std::string whole_file_case_name(const ::testing::TestParamInfo<whole_file_cases::whole_file_case>& info) {
    return info.param.name;
}
