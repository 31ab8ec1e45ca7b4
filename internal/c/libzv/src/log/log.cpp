// Logging: configuration from the environment, the filter and the log calls.
#include "log/log.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "clock/clock.h"
#include "error/error.h"
#include "log/stacktrace.h"
#include "string/zvs.h"
#include "thread/thread.h"

std::atomic<bool> logging_enabled{false};

namespace {

constexpr int32_t scope_count = 5;

// Written only by libzv_log_init, before other threads exist; read without a lock.
std::atomic<int32_t> log_min_level{LOGLEVEL_INFO};
std::atomic<bool> log_scope_enabled[scope_count] = {true, true, false, false, false};

// Never destroyed: other threads may log while the process ends.
std::vector<log_handler*>* log_handlers = nullptr;
libzv_mutex* log_handlers_lock = nullptr;

// The warnings of the configuration name this source, as they always have.
constexpr const char* config_source = "internal\\c\\libzv/src/logging/logging";

std::vector<std::string> split_at_commas(const char* value) {
    std::vector<std::string> words;
    std::string word;
    for (const char* p = value;; p++) {
        if (*p == ',' || *p == 0) {
            words.push_back(word);
            word.clear();
            if (*p == 0) break;
        } else {
            word.push_back(*p);
        }
    }
    return words;
}

// ASCII case mapping: the runtime never depends on the C library's locale.
std::string ascii_lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

std::string ascii_upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return s;
}

bool passes_filter(loglevel level, logscope scope) {
    if (!logging_enabled.load(std::memory_order_relaxed)) return false;
    int32_t min = log_min_level.load(std::memory_order_relaxed);
    if (level == LOGLEVEL_ERROR) return min <= LOGLEVEL_ERROR;
    if (scope < 0 || scope >= scope_count) return false;
    return log_scope_enabled[scope].load(std::memory_order_relaxed) && level >= min;
}

bool is_translated_procedure(const char* function) {
    return strncmp(function, "ZVMAIN(", 7) == 0 || strncmp(function, "SUB_", 4) == 0 ||
           strncmp(function, "FUNC_", 5) == 0;
}

}  // namespace

// Outside the anonymous namespace: trace frames of the logging functions are
// left out by their libzv_log/libzv_vlog prefix.
// lock_wait_ms < 0: wait for the handler lock as long as it takes.
__attribute__((noinline)) static void libzv_vlog(loglevel level, logscope scope, const char* file,
                                                 const char* function, int32_t line, bool basic_frames_only,
                                                 int32_t lock_wait_ms, const char* format, va_list args) {
    if (!passes_filter(level, scope)) return;
    log_entry entry;
    entry.level = level;
    entry.scope = scope;
    entry.time = double(GetTicks()) / 1000.0;
    entry.source_file = file;
    entry.line = line;
    if (!function) function = "";
    entry.function =
        is_translated_procedure(function) ? libzv_log_resolve_orvo_symbol(function).value_or(function) : function;
    // The trace is taken before the message is formatted, and both before the lock.
    if (level == LOGLEVEL_ERROR) entry.stack_trace = libzv_log_get_stacktrace(basic_frames_only);
    vsnprintf(entry.message, sizeof entry.message, format, args);

    bool locked = false;
    if (log_handlers_lock) {
        if (lock_wait_ms < 0) {
            libzv_mutex_lock(log_handlers_lock);
            locked = true;
        } else {
            locked = libzv_mutex_lock_for(log_handlers_lock, lock_wait_ms);
        }
    }
    if (log_handlers)
        for (log_handler* handler : *log_handlers) handler->write(&entry);
    if (locked) libzv_mutex_unlock(log_handlers_lock);
}

namespace {

void config_warning(int32_t line, const std::string& text) {
    libzv_log(LOGLEVEL_WARN, LOGSCOPE_RUNTIME, config_source, "libzv_log_init", line, "%s", text.c_str());
}

}  // namespace

void libzv_log_global_init() {
    if (!log_handlers) log_handlers = new std::vector<log_handler*>();
}

void libzv_log_init() {
    libzv_log_global_init();
    if (!log_handlers_lock) log_handlers_lock = libzv_mutex_new();

    const char* handlers = getenv("ORVONX_LOG_HANDLERS");
    if (!handlers) return;
    for (const std::string& word : split_at_commas(handlers)) {
        std::string name = ascii_lower(word);
        if (name == "file")
            log_handlers->push_back(new file_log_handler());
        else if (name == "console")
            log_handlers->push_back(new console_log_handler());
    }
    if (!log_handlers->empty()) logging_enabled.store(true);

    if (const char* scopes = getenv("ORVONX_LOG_SCOPES")) {
        log_scope_enabled[LOGSCOPE_RUNTIME] = true;
        for (int32_t s = 1; s < scope_count; s++) log_scope_enabled[s] = false;
        for (const std::string& word : split_at_commas(scopes)) {
            std::string name = ascii_lower(word);
            if (name == "orvo")
                log_scope_enabled[LOGSCOPE_ORVO] = true;
            else if (name == "libzv")
                log_scope_enabled[LOGSCOPE_LIBZV] = true;
            else if (name == "libzv-audio")
                log_scope_enabled[LOGSCOPE_LIBZV_AUDIO] = true;
            else if (name == "libzv-image")
                log_scope_enabled[LOGSCOPE_LIBZV_IMAGE] = true;
            else if (name == "all")
                for (auto& s : log_scope_enabled) s = true;
            else
                config_warning(__LINE__, name);
        }
    }

    // Read after the scopes: their warnings pass with the default level.
    if (const char* level = getenv("ORVONX_LOG_LEVEL")) {
        std::string name = ascii_upper(level);
        if (name == "INFORMATION" || name == "INFO")
            log_min_level = LOGLEVEL_INFO;
        else if (name == "WARNING" || name == "WARN")
            log_min_level = LOGLEVEL_WARN;
        else if (name == "TRACE")
            log_min_level = LOGLEVEL_TRACE;
        else if (name == "ERROR")
            log_min_level = LOGLEVEL_ERROR;
        else
            config_warning(__LINE__, level);
    }
}

void libzv_log_dispatch(loglevel level, logscope scope, const char* file, const char* function, int32_t line,
                        bool basic_frames_only, const char* format, va_list args) {
    libzv_vlog(level, scope, file, function, line, basic_frames_only, -1, format, args);
}

void libzv_log(loglevel level, logscope scope, const char* file, const char* function, int32_t line,
               const char* format, ...) {
    if (!logging_enabled.load(std::memory_order_relaxed)) return;
    va_list args;
    va_start(args, format);
    libzv_vlog(level, scope, file, function, line, false, -1, format, args);
    va_end(args);
}

void libzv_log_orvo(loglevel level, logscope scope, const char* file, const char* function, int32_t line,
                    const char* format, ...) {
    if (!logging_enabled.load(std::memory_order_relaxed)) return;
    va_list args;
    va_start(args, format);
    libzv_vlog(level, scope, file, function, line, true, -1, format, args);
    va_end(args);
}

void libzv_log_zvs(loglevel level, logscope scope, const char* file, const char* function, int32_t line,
                   const zvs* text) {
    if (!logging_enabled.load(std::memory_order_relaxed)) return;
    // An empty string may have no text at all.
    const char* bytes = text->length > 0 ? reinterpret_cast<const char*>(text->text) : "";
    libzv_log_orvo(level, scope, file, function, line, "%.*s", int(text->length > 0 ? text->length : 0), bytes);
}

void libzv_log_from_signal(loglevel level, logscope scope, const char* file, const char* function, int32_t line,
                           int32_t lock_wait_ms, const char* format, ...) {
    if (!logging_enabled.load(std::memory_order_relaxed)) return;
    va_list args;
    va_start(args, format);
    libzv_vlog(level, scope, file, function, line, false, lock_wait_ms < 0 ? 0 : lock_wait_ms, format, args);
    va_end(args);
}

int32_t func__logminlevel() {
    if (new_error_is_set()) return 0;
    if (!logging_enabled.load(std::memory_order_relaxed)) return 5;
    return log_min_level.load(std::memory_order_relaxed) + 1;
}

void libzv_log_reset_for_tests() {
    logging_enabled = false;
    log_min_level = LOGLEVEL_INFO;
    log_scope_enabled[LOGSCOPE_RUNTIME] = true;
    log_scope_enabled[LOGSCOPE_ORVO] = true;
    for (int32_t s = 2; s < scope_count; s++) log_scope_enabled[s] = false;
    // A handler is never destroyed: the old ones stay reachable, unused.
    static std::vector<log_handler*>* retired = new std::vector<log_handler*>();
    if (log_handlers) retired->insert(retired->end(), log_handlers->begin(), log_handlers->end());
    if (log_handlers) log_handlers->clear();
}
