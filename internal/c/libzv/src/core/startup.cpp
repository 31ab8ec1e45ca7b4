// Start-up helpers.
#include "core/startup.h"

#include "error/error.h"
#include "platform/process_exit.h"
#include "thread/thread.h"

void startup_thread_failed() {
    error(ERR_OUT_OF_MEMORY_FATAL);  // fatal
    libzv_process_exit(0);
}

void startup_start_thread(void (*function)(void*), const char* name) {
    libzv_thread* t = libzv_thread_new();
    if (!libzv_thread_start(t, function, nullptr)) startup_thread_failed();
    libzv_thread_set_name(t, name);
    libzv_thread_free(t);
}
