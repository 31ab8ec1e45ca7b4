// Thread layer: mutexes, condition variables, threads and one-shot completions.
#pragma once
#include <cstdint>

struct libzv_mutex;
struct libzv_condvar;
struct libzv_thread;

// Mutexes are recursive: the thread that holds one may lock it again.
libzv_mutex* libzv_mutex_new();
void libzv_mutex_free(libzv_mutex* m);
void libzv_mutex_lock(libzv_mutex* m);
void libzv_mutex_unlock(libzv_mutex* m);
// Waits at most ms milliseconds; true when the mutex is now held.
bool libzv_mutex_lock_for(libzv_mutex* m, int32_t ms);

libzv_condvar* libzv_condvar_new();
void libzv_condvar_free(libzv_condvar* c);
void libzv_condvar_wait(libzv_condvar* c, libzv_mutex* m);
void libzv_condvar_signal(libzv_condvar* c);
void libzv_condvar_broadcast(libzv_condvar* c);

libzv_thread* libzv_thread_new();
// Starts function(argument) on a new thread. False when the thread could not be
// started; the handle then holds no thread.
bool libzv_thread_start(libzv_thread* t, void (*function)(void*), void* argument);
void libzv_thread_join(libzv_thread* t);
// Names a started thread as top -H, ps -L and /proc show it (at most 15 bytes).
void libzv_thread_set_name(libzv_thread* t, const char* name);
// Frees the handle only; a running thread keeps running (detached).
void libzv_thread_free(libzv_thread* t);

// One-shot signal: any number of waiters, finished once; a wait after the finish
// returns at once. The owner allocates the record.
struct completion {
    int32_t done;
    libzv_mutex* mutex;
    libzv_condvar* condvar;
};

void completion_init(completion* c);
void completion_wait(completion* c);
void completion_finish(completion* c);
void completion_clear(completion* c);
