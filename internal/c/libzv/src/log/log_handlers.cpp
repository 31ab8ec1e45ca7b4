// The log handlers and their line format.
#include <cstdlib>

#include "log/log.h"

const char* logLevelName(int32_t level) {
    switch (level) {
        case LOGLEVEL_TRACE: return "TRACE";
        case LOGLEVEL_INFO: return "INFO";
        case LOGLEVEL_WARN: return "WARN";
        case LOGLEVEL_ERROR: return "ERROR";
        default: return "UNKNOWN";
    }
}

const char* logScopeName(int32_t scope) {
    switch (scope) {
        case LOGSCOPE_RUNTIME: return "runtime";
        case LOGSCOPE_ORVO: return "ORVO";
        case LOGSCOPE_LIBZV: return "libzv";
        case LOGSCOPE_LIBZV_AUDIO: return "libzv-audio";
        case LOGSCOPE_LIBZV_IMAGE: return "libzv-image";
        default: return nullptr;
    }
}

void fp_log_writer::write(log_entry* entry) {
    if (!stream) return;
    const char* scope = logScopeName(entry->scope);
    if (!scope) scope = "UNKNOWN";  // never hand a null pointer to %s
    const char* level = logLevelName(entry->level);
    if (entry->source_file && entry->source_file[0])
        fprintf(stream, "[%0.5lf] %s %s %s: %s: %d: %s\n", entry->time, level, scope, entry->source_file,
                entry->function.c_str(), entry->line, entry->message);
    else
        fprintf(stream, "[%0.5lf] %s %s %s: %d: %s\n", entry->time, level, scope, entry->function.c_str(),
                entry->line, entry->message);
    if (!entry->stack_trace.empty()) fputs(entry->stack_trace.c_str(), stream);
    fflush(stream);
}

file_log_handler::file_log_handler() : fp_log_writer(nullptr) {
    // The path is the operating system's, used as given; "e": not inherited by started programs.
    const char* path = getenv("ORVONX_LOG_FILE_PATH");
    if (path) stream = fopen(path, "ae");
    if (!stream) {
        fprintf(stderr, "Unable to open file '%s' for logging!", path ? path : "");
        fflush(stderr);
    }
}
