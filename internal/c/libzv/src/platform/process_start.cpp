// Process start over posix_spawn.
#include "platform/process_start.h"

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::optional<std::string> resolve_program(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.empty()) return std::nullopt;
    std::vector<std::string> names{path};
    if (ends_with_exe(path)) names.push_back(path.substr(0, path.size() - 4));
    for (const auto& name : names) {
        if (name.empty()) continue;
        if (name.find('/') != std::string::npos) {
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

std::optional<process_command> process_resolve(std::string_view line) {
    size_t start = 0;
    while (start < line.size() && is_space(line[start])) start++;
    line.remove_prefix(start);
    if (line.empty()) return std::nullopt;

    if (line[0] == '"') {
        size_t close = line.find('"', 1);
        std::string_view token = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        auto program = resolve_program(std::string(token));
        if (!program) return std::nullopt;
        std::string_view rest = close == std::string_view::npos ? std::string_view{} : line.substr(close + 1);
        return process_command{*program, process_split_arguments(rest)};
    }

    // Unquoted: up to the first white space, then up to each later space in turn.
    for (size_t end = 0; end <= line.size(); end++) {
        if (end < line.size() && !is_space(line[end])) continue;
        if (end == 0) continue;
        if (auto program = resolve_program(std::string(line.substr(0, end))))
            return process_command{*program, process_split_arguments(line.substr(end))};
    }
    return std::nullopt;
}

bool libzv_process_start(std::string_view command_line) {
    auto command = process_resolve(command_line);
    if (!command) return false;
    std::vector<char*> argv;
    argv.push_back(command->program.data());
    for (auto& a : command->arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    return posix_spawn(&pid, command->program.c_str(), nullptr, nullptr, argv.data(), environ) == 0;
}
