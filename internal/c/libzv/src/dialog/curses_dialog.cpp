// The curses route: argument vectors for "dialog", its start and wait, and the
// private answer file.
#include "dialog/curses_dialog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string_view>

#include "platform/process_start.h"

namespace {

std::mutex config_lock;
std::string path_list;
std::string temp_folder = "/tmp";
std::optional<std::string> found;  // the search's result, once made
bool configured = false;

bool given(const char* text) { return text && *text; }
bool is(const char* text, std::string_view word) { return text && word == text; }

void add_title(std::vector<std::string>* args, const char* title) {
    if (!given(title)) return;
    args->push_back("--title");
    args->push_back(title);
}

std::string search_path(const std::string& list) {
    std::string_view rest = list;
    while (true) {
        size_t colon = rest.find(':');
        std::string folder(rest.substr(0, colon));
        if (folder.empty()) folder = ".";
        std::string candidate = folder + "/dialog";
        struct stat st;
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string_view::npos) return {};
        rest.remove_prefix(colon + 1);
    }
}

// Starts the program with its standard error on answer_fd and waits for it: its exit
// status (128 + n after signal n), or -1 when it could not start.
int spawn_and_wait(const std::string& program, const std::vector<std::string>& args, int answer_fd) {
    std::vector<std::string> argv{"dialog"};
    argv.insert(argv.end(), args.begin(), args.end());
    process_streams streams;
    streams.fd[2] = answer_fd;
    pid_t pid = process_spawn(program.c_str(), argv, streams);
    return pid < 0 ? -1 : process_wait(pid);
}

struct curses_answer {
    int status = -1;       // the program's exit status; -1 when it did not run
    std::string last_line; // the last line it wrote to its standard error
};

// Runs "dialog" with a fresh answer file (mode 0600, in the temporary folder) that is
// removed afterwards; wipe overwrites it first, for answers that may be passwords.
curses_answer run(const std::vector<std::string>& args, bool wipe) {
    curses_answer answer;
    std::string program = curses_dialog_program();
    if (program.empty()) return answer;
    std::string file;
    {
        std::lock_guard<std::mutex> hold(config_lock);
        file = temp_folder + "/zvdialog-XXXXXX";
    }
    int fd = mkostemp(file.data(), O_CLOEXEC);
    if (fd < 0) return answer;
    answer.status = spawn_and_wait(program, args, fd);

    std::string content;
    char buffer[4096];
    ssize_t n;
    off_t at = 0;
    while ((n = pread(fd, buffer, sizeof buffer, at)) > 0) {
        content.append(buffer, static_cast<size_t>(n));
        at += n;
    }
    if (wipe && !content.empty()) {
        std::string blank(content.size(), 'A');
        if (pwrite(fd, blank.data(), blank.size(), 0) == static_cast<ssize_t>(blank.size())) fdatasync(fd);
    }
    unlink(file.c_str());
    close(fd);

    if (!content.empty() && content.back() == '\n') content.pop_back();
    size_t line = content.rfind('\n');
    answer.last_line = line == std::string::npos ? content : content.substr(line + 1);
    return answer;
}

// A path for "dialog": '/' separators; a file chooser's bare name starts with "./", a
// folder ends with '/'.
std::string dialog_path(const char* path, bool folder) {
    if (!given(path)) return "./";
    std::string out = path;
    for (char& c : out)
        if (c == '\\') c = '/';
    if (folder) {
        if (out.back() != '/') out += '/';
    } else if (out.find('/') == std::string::npos) {
        out = "./" + out;
    }
    return out;
}

}  // namespace

void curses_dialog_configure(const char* paths, const char* temp) {
    std::lock_guard<std::mutex> hold(config_lock);
    path_list = paths ? paths : "";
    temp_folder = given(temp) ? temp : "/tmp";
    found.reset();
    configured = true;
}

bool curses_dialog_configured() {
    std::lock_guard<std::mutex> hold(config_lock);
    return configured;
}

std::string curses_dialog_program() {
    std::lock_guard<std::mutex> hold(config_lock);
    if (!found) found = path_list.empty() ? std::string() : search_path(path_list);
    return *found;
}

std::vector<std::string> curses_message_box_arguments(const char* title, const char* message, const char* type,
                                                      int32_t default_button) {
    std::vector<std::string> args;
    add_title(&args, title);
    bool ok_cancel = is(type, "okcancel"), yes_no = is(type, "yesno"), yes_no_cancel = is(type, "yesnocancel");
    if (ok_cancel || yes_no || yes_no_cancel) {
        args.insert(args.end(), {"--backtitle", "tab: move focus"});
        if (default_button == 0) args.push_back("--defaultno");
        if (ok_cancel) args.insert(args.end(), {"--yes-label", "Ok", "--no-label", "Cancel"});
        args.push_back(yes_no_cancel ? "--menu" : "--yesno");
    } else {
        args.push_back("--msgbox");
    }
    // "dialog" reads the two characters \ n as a line end.
    std::string text;
    for (const char* p = message ? message : ""; *p; p++) {
        if (*p == '\n')
            text += "\\n";
        else
            text += *p;
    }
    args.push_back(text);
    if (yes_no_cancel)
        args.insert(args.end(), {"0", "60", "0", "Yes", "", "No", ""});
    else
        args.insert(args.end(), {"10", "60"});
    return args;
}

std::vector<std::string> curses_input_box_arguments(const char* title, const char* message,
                                                    const char* default_text) {
    std::vector<std::string> args;
    add_title(&args, title);
    bool masked = default_text == nullptr;
    args.push_back("--backtitle");
    args.push_back(masked ? "tab: move focus (sometimes nothing, no blink nor star, is shown in text field)"
                          : "tab: move focus");
    if (masked)
        args.insert(args.end(), {"--insecure", "--passwordbox"});
    else
        args.push_back("--inputbox");
    args.insert(args.end(), {message ? message : "", "10", "60"});
    if (given(default_text)) args.push_back(default_text);
    return args;
}

std::vector<std::string> curses_chooser_arguments(const char* title, const char* default_path, bool folder) {
    std::vector<std::string> args;
    add_title(&args, title);
    args.insert(args.end(), {"--backtitle", "tab: focus | /: populate | spacebar: fill text field | ok: TEXT FIELD ONLY",
                             folder ? "--dselect" : "--fselect", dialog_path(default_path, folder), "0", "60"});
    return args;
}

int32_t curses_message_box(const char* title, const char* message, const char* type, int32_t default_button) {
    curses_answer answer = run(curses_message_box_arguments(title, message, type, default_button), false);
    if (answer.status != 0) return 0;
    if (!is(type, "yesnocancel")) return 1;
    if (answer.last_line.empty()) return 0;
    return answer.last_line[0] == 'Y' ? 1 : 2;
}

bool curses_input_box(const char* title, const char* message, const char* default_text, std::string* answer) {
    curses_answer got = run(curses_input_box_arguments(title, message, default_text), true);
    if (got.status != 0) return false;
    *answer = std::move(got.last_line);
    return true;
}

bool curses_chooser(const char* title, const char* default_path, bool folder, std::string* answer) {
    curses_answer got = run(curses_chooser_arguments(title, default_path, folder), false);
    answer->clear();
    if (got.status == 0) *answer = std::move(got.last_line);
    return true;
}
