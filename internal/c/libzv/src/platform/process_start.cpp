// Process start over posix_spawn.
#include "platform/process_start.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/exe_path.h"

extern char** environ;

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool is_program_file(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool ends_with_exe(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return tail == ".exe";
}

std::optional<std::string> find_in_folders(const std::string& name) {
    std::vector<std::string> folders{libzv_executable_folder()};
    if (char cwd[4096]; getcwd(cwd, sizeof cwd)) folders.emplace_back(cwd);
    if (const char* path = getenv("PATH")) {
        std::string_view rest = path;
        while (true) {
            size_t colon = rest.find(':');
            std::string_view part = rest.substr(0, colon);
            folders.emplace_back(part.empty() ? "." : part);
            if (colon == std::string_view::npos) break;
            rest.remove_prefix(colon + 1);
        }
    }
    for (const auto& folder : folders) {
        if (folder.empty()) continue;
        std::string candidate = folder == "/" ? "/" + name : folder + "/" + name;
        if (is_program_file(candidate)) return candidate;
    }
    return std::nullopt;
}

// The program's text in the system's form; inside a folder from the system when one
// is given (its bytes as they are), else as a path or a name to look up.
std::optional<std::string> resolve_program(std::string path, std::string_view folder) {
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.empty()) return std::nullopt;
    std::vector<std::string> names{path};
    if (ends_with_exe(path)) names.push_back(path.substr(0, path.size() - 4));
    for (const auto& name : names) {
        if (name.empty()) continue;
        if (!folder.empty()) {
            std::string inside(folder);
            if (inside.back() != '/') inside += '/';
            inside += name;
            if (is_program_file(inside)) return inside;
        } else if (name.find('/') != std::string::npos) {
            if (is_program_file(name)) return name;
        } else if (auto found = find_in_folders(name)) {
            return found;
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> process_split_arguments(std::string_view text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && is_space(text[i])) i++;
        if (i >= text.size()) break;
        std::string arg;
        bool quoted = false;
        for (; i < text.size() && (quoted || !is_space(text[i])); i++) {
            if (text[i] == '"')
                quoted = !quoted;
            else
                arg += text[i];
        }
        out.push_back(std::move(arg));
    }
    return out;
}

std::optional<process_command> process_resolve(std::string_view line) { return process_resolve_in({}, line); }

std::optional<process_command> process_resolve_in(std::string_view folder, std::string_view line) {
    size_t start = 0;
    while (start < line.size() && is_space(line[start])) start++;
    line.remove_prefix(start);
    if (line.empty()) return std::nullopt;

    if (line[0] == '"') {
        size_t close = line.find('"', 1);
        std::string_view token = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        auto program = resolve_program(std::string(token), folder);
        if (!program) return std::nullopt;
        std::string_view rest = close == std::string_view::npos ? std::string_view{} : line.substr(close + 1);
        return process_command{*program, process_split_arguments(rest)};
    }

    // Unquoted: up to the first white space, then up to each later space in turn.
    for (size_t end = 0; end <= line.size(); end++) {
        if (end < line.size() && !is_space(line[end])) continue;
        if (end == 0) continue;
        if (auto program = resolve_program(std::string(line.substr(0, end)), folder))
            return process_command{*program, process_split_arguments(line.substr(end))};
    }
    return std::nullopt;
}

bool libzv_process_start(std::string_view command_line) { return libzv_process_start_in({}, command_line); }

bool libzv_process_start_in(std::string_view folder, std::string_view command_line) {
    auto command = process_resolve_in(folder, command_line);
    if (!command) return false;
    std::vector<std::string> argv{command->program};
    argv.insert(argv.end(), command->arguments.begin(), command->arguments.end());
    pid_t pid = process_spawn(command->program.c_str(), argv);
    if (pid < 0) return false;
    process_reap_detached(pid);
    return true;
}

namespace {

// The attribute and file-action objects, destroyed on every path.
struct spawn_setup {
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    bool attr_ok = false, actions_ok = false;
    spawn_setup() {
        attr_ok = posix_spawnattr_init(&attr) == 0;
        actions_ok = posix_spawn_file_actions_init(&actions) == 0;
    }
    ~spawn_setup() {
        if (attr_ok) posix_spawnattr_destroy(&attr);
        if (actions_ok) posix_spawn_file_actions_destroy(&actions);
    }
    spawn_setup(const spawn_setup&) = delete;
    spawn_setup& operator=(const spawn_setup&) = delete;
};

}  // namespace

pid_t process_spawn(const char* program, const std::vector<std::string>& argv, const process_streams& streams) {
    if (!program || argv.empty()) return -1;
    spawn_setup setup;
    if (!setup.attr_ok || !setup.actions_ok) return -1;

    // A child must not inherit the runtime's blocked or ignored signals (a shell
    // started with SIGPIPE ignored breaks pipelines).
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    if (posix_spawnattr_setsigmask(&setup.attr, &none) != 0 || posix_spawnattr_setsigdefault(&setup.attr, &all) != 0 ||
        posix_spawnattr_setflags(&setup.attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) != 0)
        return -1;

    bool shares_output = false;
    for (int target = 0; target < 3; target++) {
        int source = streams.fd[target];
        int rc = 0;
        if (source == process_stream_null)
            rc = posix_spawn_file_actions_addopen(&setup.actions, target, "/dev/null", target == 0 ? O_RDONLY : O_WRONLY,
                                                  0);
        else if (source >= 0)
            rc = posix_spawn_file_actions_adddup2(&setup.actions, source, target);
        else if (target > 0)
            shares_output = true;
        if (rc != 0) return -1;
    }
    if (posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3) != 0) return -1;

    // What the runtime has printed comes before what the child prints.
    if (shares_output) {
        fflush(stdout);
        fflush(stderr);
    }

    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, program, &setup.actions, &setup.attr, args.data(), environ) != 0) return -1;
    return pid;
}

int32_t process_wait(pid_t pid) {
    if (pid <= 0) return -1;
    int status = 0;
    pid_t got;
    do {
        got = waitpid(pid, &status, 0);
    } while (got < 0 && errno == EINTR);
    if (got != pid) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

namespace {
void* reap(void* pid) {
    process_wait(pid_t(intptr_t(pid)));
    return nullptr;
}
}  // namespace

void process_reap_detached(pid_t pid) {
    if (pid <= 0) return;
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) return;
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_attr_setstacksize(&attr, 64 * 1024);
    pthread_t thread;
    // Without a thread to spare the child stays a zombie until the process ends.
    pthread_create(&thread, &attr, reap, reinterpret_cast<void*>(intptr_t(pid)));
    pthread_attr_destroy(&attr);
}
