// Logging: entries filtered by level and scope, written by the configured handlers.
#pragma once
#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

enum loglevel : int32_t { LOGLEVEL_TRACE = 0, LOGLEVEL_INFO = 1, LOGLEVEL_WARN = 2, LOGLEVEL_ERROR = 3 };
enum logscope : int32_t {
    LOGSCOPE_RUNTIME = 0,
    LOGSCOPE_ORVO = 1,
    LOGSCOPE_LIBZV = 2,
    LOGSCOPE_LIBZV_AUDIO = 3,
    LOGSCOPE_LIBZV_IMAGE = 4
};

// "TRACE", "INFO", "WARN", "ERROR"; "UNKNOWN" for any other value.
const char* logLevelName(int32_t level);
// "runtime", "ORVO", "libzv", "libzv-audio", "libzv-image"; nullptr for any other value.
const char* logScopeName(int32_t scope);

// One entry, alive only during its log call.
struct log_entry {
    loglevel level;
    logscope scope;
    double time;               // seconds since the clock started
    char message[200];         // at most 199 characters
    std::string function;
    const char* source_file;   // may be null or empty
    int32_t line;
    std::string stack_trace;   // empty except for ERROR entries
};

// A sink for entries. Handlers are never deleted.
class log_handler {
public:
    virtual void write(log_entry* entry) = 0;

protected:
    ~log_handler() = default;
};

// Writes the line format to one C stream; inert when the stream is null.
class fp_log_writer : public log_handler {
public:
    explicit fp_log_writer(FILE* stream) : stream(stream) {}
    void write(log_entry* entry) override;

protected:
    ~fp_log_writer() = default;
    FILE* stream;
};

class console_log_handler final : public fp_log_writer {
public:
    console_log_handler() : fp_log_writer(stderr) {}
};

// Appends to the file named by ORVONX_LOG_FILE_PATH.
class file_log_handler final : public fp_log_writer {
public:
    file_log_handler();
};

// Builds the empty handler list; before anything else of this module.
void libzv_log_global_init();
// Reads ORVONX_LOG_HANDLERS, ORVONX_LOG_SCOPES and ORVONX_LOG_LEVEL; once, at start-up.
void libzv_log_init();

// Set by libzv_log_init when a handler is registered; read-only afterwards. The log
// macros test it before anything else, so a log call with logging off costs one test.
extern std::atomic<bool> logging_enabled;
inline bool libzv_log_enabled() { return logging_enabled.load(std::memory_order_relaxed); }

// printf-style log calls; an ERROR entry carries a stack trace of all frames
// (libzv_log) or of translated BASIC frames only (libzv_log_orvo).
void libzv_log(loglevel level, logscope scope, const char* file, const char* function, int32_t line,
               const char* format, ...) __attribute__((format(printf, 6, 7), noinline));
void libzv_log_orvo(loglevel level, logscope scope, const char* file, const char* function, int32_t line,
                    const char* format, ...) __attribute__((format(printf, 6, 7), noinline));
struct zvs;
// The log statements of translated programs: the BASIC string's bytes through
// libzv_log_orvo with "%.*s", so the message ends at a zero byte inside the string.
void libzv_log_zvs(loglevel level, logscope scope, const char* file, const char* function, int32_t line,
                   const zvs* text) __attribute__((noinline));
// The common core of the log calls.
void libzv_log_dispatch(loglevel level, logscope scope, const char* file, const char* function, int32_t line,
                        bool basic_frames_only, const char* format, va_list args)
    __attribute__((format(printf, 7, 0), noinline));
// For the SIGSEGV handler: waits at most lock_wait_ms for the handler lock, then
// writes without it (the faulting thread may hold it).
void libzv_log_from_signal(loglevel level, logscope scope, const char* file, const char* function, int32_t line,
                           int32_t lock_wait_ms, const char* format, ...) __attribute__((format(printf, 7, 8)));

// _LOGMINLEVEL: 1 TRACE .. 4 ERROR while logging is on, else 5.
int32_t func__logminlevel();

// Back to the state before libzv_log_init (tests). Handlers made so far are dropped.
void libzv_log_reset_for_tests();

#define libzv_log_at(level, scope, ...) \
    (libzv_log_enabled() ? libzv_log(level, scope, __FILE__, __func__, __LINE__, __VA_ARGS__) : (void)0)
#define libzv_log_trace(scope, ...) libzv_log_at(LOGLEVEL_TRACE, scope, __VA_ARGS__)
#define libzv_log_info(scope, ...) libzv_log_at(LOGLEVEL_INFO, scope, __VA_ARGS__)
#define libzv_log_warn(scope, ...) libzv_log_at(LOGLEVEL_WARN, scope, __VA_ARGS__)
#define libzv_log_error(scope, ...) libzv_log_at(LOGLEVEL_ERROR, scope, __VA_ARGS__)
