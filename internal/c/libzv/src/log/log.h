// Logging: entries filtered by level and scope, written by the configured handlers.
#pragma once
#include <cstdint>

enum loglevel : int32_t { LOGLEVEL_TRACE = 0, LOGLEVEL_INFO = 1, LOGLEVEL_WARN = 2, LOGLEVEL_ERROR = 3 };
enum logscope : int32_t {
    LOGSCOPE_RUNTIME = 0,
    LOGSCOPE_ORVO = 1,
    LOGSCOPE_LIBZV = 2,
    LOGSCOPE_LIBZV_AUDIO = 3,
    LOGSCOPE_LIBZV_IMAGE = 4
};

// Reads the logging variables of the environment; once, at start-up.
void libzv_log_init();

void libzv_log(loglevel level, logscope scope, const char* file, const char* function, int32_t line,
               const char* format, ...) __attribute__((format(printf, 6, 7)));

#define libzv_log_info(scope, ...) libzv_log(LOGLEVEL_INFO, scope, __FILE__, __func__, __LINE__, __VA_ARGS__)
