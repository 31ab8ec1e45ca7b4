// CHAIN and the hand-over at the start of the chained program.
#include "lifecycle/chain.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "clock/clock.h"
#include "command/command.h"
#include "error/error.h"
#include "file/gfs.h"
#include "file/gfs_os.h"
#include "lifecycle/run.h"
#include "path/file_move.h"
#include "platform/exe_path.h"
#include "platform/os_path.h"
#include "shell/shell.h"
#include "string/zvs.h"

namespace {

constexpr int32_t state_file_start = 512;
constexpr int32_t largest_folder = 65535;

std::string current_folder() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

// The state file's first number, 100..999, from the fraction of the current second.
int32_t state_file_number() {
    double t = timer_value(0.001, 1);
    int32_t n = int32_t(std::nearbyint((t - std::floor(t)) * 999.0));
    return n < 100 ? 100 : n > 999 ? 999 : n;
}

// Moves a file between two system paths, replacing what is at the destination as
// rename does; across file systems through a private copy, never writing through a
// link at the destination (the state file's names are predictable).
bool move_file(const std::string& a, const std::string& b) {
    if (rename(a.c_str(), b.c_str()) == 0) return true;
    return errno == EXDEV && file_replace_across(a, b) == 0;
}

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; i++) out.push_back(uint8_t(v >> (8 * i)));
}

// Every byte through the state file's write call; 0 or the errno of the failure.
int write_all(int fd, const std::vector<uint8_t>& bytes) {
    const uint8_t* at = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = chain_files().write(fd, at, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;  // a write that takes nothing would never end
        at += n;
        left -= size_t(n);
    }
    return 0;
}

// The state file (512, the folder, the screen, 0) under a free name in the current
// folder, made new and private. False, with the error raised and nothing left behind,
// when it could not be written.
bool write_state_file(const std::string& folder, std::string* name) {
    std::vector<uint8_t> bytes;
    put_u32(bytes, state_file_start);
    put_u32(bytes, uint32_t(folder.size()));
    bytes.insert(bytes.end(), folder.begin(), folder.end());
    chain_encode_screen_state(bytes);
    put_u32(bytes, 0);
    int fd = chain_create_state_file(state_file_number(), name);
    if (fd < 0) {
        int err = errno;
        if (err == EEXIST) error(ERR_TOO_MANY_FILES);  // all 900 names are taken
        else error(gfs_error_number(gfs_os_open_error(err, *name), gfs_errors::open));
        return false;
    }
    struct stat st;
    bool known = ::fstat(fd, &st) == 0;
    int failed = known ? write_all(fd, bytes) : errno;
    if (::close(fd) != 0 && !failed) failed = errno;
    if (!failed) return true;
    // The name was made here a moment ago; while it still leads to this file it goes.
    if (known) chain_remove_state_file(*name, st);
    else ::unlink(name->c_str());
    error(gfs_error_number(gfs_os_io_error(failed), gfs_errors::transfer));
    return false;
}

// Starts the command with the tag from a folder of the system's; on success the
// program ends here.
void start_or_return(const std::string& folder, const std::string& command, const std::string& file) {
    std::string line = command + " " + std::string(chain_tag) + file;
    if (!folder.empty() && line.find('\0') == std::string::npos) run_hand_over(folder, line);
}

// Quoted for /bin/sh: '...' with each ' written as '\''.
std::string shell_quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// A name inside a system folder.
std::string in_folder(const std::string& folder, const std::string& name) {
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The screen records through a file number.
struct file_reader {
    int32_t number;
    static void read(void* context, void* bytes, int64_t length) {
        chain_files().get(static_cast<file_reader*>(context)->number, bytes, length);
    }
    static int64_t left(void* context) { return chain_files().remaining(static_cast<file_reader*>(context)->number); }
    chain_source source() { return chain_source{this, read, left}; }
};

// The state file through its descriptor; what cannot be read reads as zeros.
struct state_reader {
    int fd;
    int64_t size, position = 0;
    static void read(void* context, void* bytes, int64_t length) {
        auto* r = static_cast<state_reader*>(context);
        auto* p = static_cast<uint8_t*>(bytes);
        std::fill(p, p + length, uint8_t(0));
        for (int64_t done = 0; done < length;) {
            ssize_t n = ::read(r->fd, p + done, size_t(std::min<int64_t>(length - done, 1 << 20)));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += n;
            r->position += n;
        }
    }
    static int64_t left(void* context) {
        auto* r = static_cast<state_reader*>(context);
        return r->size > r->position ? r->size - r->position : 0;
    }
    int32_t i32() {
        uint8_t b[4];
        read(this, b, 4);
        return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
    }
    chain_source source() { return chain_source{this, read, left}; }
};

}  // namespace

void chain_savescreenstate(int32_t file_number) {
    std::vector<uint8_t> bytes;
    chain_encode_screen_state(bytes);
    chain_files().put(file_number, bytes.data(), int64_t(bytes.size()));
}

void chain_restorescreenstate(int32_t file_number) {
    file_reader reader{file_number};
    chain_decode_screen_state(reader.source());
}

void sub_chain(zvs* target) {
    if (new_error_is_set()) return;
    std::string text(reinterpret_cast<const char*>(target->text), size_t(target->length > 0 ? target->length : 0));
    if (text.empty()) return error(ERR_FILE_NOT_FOUND);

    chain_names names = chain_derive_names(text);
    std::string cwd = current_folder();
    // Folders in the system's form. The target's folder is the program's text,
    // converted once; the current and the executable's folders came from the system
    // and are used as their bytes (a '\' in their names is no separator).
    bool folder_given = !names.folder.empty();
    std::string target_folder;
    if (folder_given) {
        if (!libzv_os_path(names.folder, &target_folder)) target_folder.clear();
    } else {
        target_folder = cwd;
    }
    std::string own = libzv_executable_folder();

    // The stored folder is the caller's own, which the target changes to.
    std::string stored = cwd;
    if (stored.size() > 1 && stored.back() == '/') stored.pop_back();
    std::string file;
    if (!write_state_file(stored, &file)) return;  // the write error is shown, nothing starts

    // The target starts in its own folder and looks for the file there: move it
    // first, and keep track of where it is.
    std::string located = file;
    if (folder_given && !target_folder.empty() && move_file(located, in_folder(target_folder, file)))
        located = in_folder(target_folder, file);
    start_or_return(target_folder, names.command, file);

    if (!own.empty()) {
        if (move_file(located, in_folder(own, file))) located = in_folder(own, file);
        start_or_return(own, names.command, file);

        std::string source;  // a name the program wrote
        if (!target_folder.empty() && libzv_os_path(names.source, &source)) {
            std::string compile = shell_quoted(in_folder(own, "orvonx.exe")) + " -c " +
                                  shell_quoted(in_folder(target_folder, source));
            zvs* line = zvs_new_txt_len(compile.data(), int32_t(compile.size()));
            sub_shell(line, 1);
            start_or_return(own, names.command, file);
        }
    }

    chain_files().kill(located);
    error(ERR_FILE_NOT_FOUND);
}

void chain_input() {
    std::string file = chain_tagged_file(command_line());
    if (file.empty()) return;
    // The tag is an argument of its own; anything else is not a hand-over.
    std::string_view last;
    if (!command_argument(func__commandcount(), &last) ||
        last != command_line().substr(command_line().size() - chain_tag.size() - file.size()))
        return;
    command_drop_last_argument();
    // Only a plain file of the user's is the hand-over; anything else at that name
    // (a link, a FIFO, a folder, another user's file) is left as it is.
    struct stat st;
    int fd = chain_open_state_file(file, &st);
    if (fd < 0) return error(ERR_FILE_NOT_FOUND);

    state_reader reader{fd, int64_t(st.st_size)};
    reader.i32();  // 512
    int32_t length = reader.i32();
    bool folder_ok = length >= 0 && length <= largest_folder;
    std::string folder;
    if (folder_ok) {
        folder.resize(size_t(length));
        state_reader::read(&reader, folder.data(), length);
        if (chain_decode_screen_state(reader.source())) reader.i32();  // the final 0
    }
    ::close(fd);
    // Deleted also when a screen record raised an error: it must not stay behind.
    chain_remove_state_file(file, st);
    // The stored folder is the caller's current folder as the system gave it.
    if (folder_ok && !folder.empty() && folder.find('\0') == std::string::npos && chdir(folder.c_str()) != 0) {
        // A folder that is gone leaves the program where it started.
    }
}
