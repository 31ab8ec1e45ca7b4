// Thread layer over POSIX threads.
#include "thread/thread.h"

#include <pthread.h>
#include <time.h>

struct libzv_mutex {
    pthread_mutex_t m;
};

struct libzv_condvar {
    pthread_cond_t c;
};

struct libzv_thread {
    pthread_t handle;
    bool started;
    bool joined;
};

namespace {

struct start_record {
    void (*function)(void*);
    void* argument;
};

void* libzv_thread_entry(void* raw) {
    auto* record = static_cast<start_record*>(raw);
    void (*function)(void*) = record->function;
    void* argument = record->argument;
    delete record;
    function(argument);
    return nullptr;
}

}  // namespace

libzv_mutex* libzv_mutex_new() {
    auto* m = new libzv_mutex;
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&m->m, &attr);
    pthread_mutexattr_destroy(&attr);
    return m;
}

void libzv_mutex_free(libzv_mutex* m) {
    if (!m) return;
    pthread_mutex_destroy(&m->m);
    delete m;
}

void libzv_mutex_lock(libzv_mutex* m) { pthread_mutex_lock(&m->m); }
void libzv_mutex_unlock(libzv_mutex* m) { pthread_mutex_unlock(&m->m); }

bool libzv_mutex_lock_for(libzv_mutex* m, int32_t ms) {
    timespec until;
    clock_gettime(CLOCK_REALTIME, &until);
    int64_t ns = until.tv_nsec + int64_t(ms > 0 ? ms : 0) * 1000000;
    until.tv_sec += ns / 1000000000;
    until.tv_nsec = ns % 1000000000;
    return pthread_mutex_timedlock(&m->m, &until) == 0;
}

libzv_condvar* libzv_condvar_new() {
    auto* c = new libzv_condvar;
    pthread_cond_init(&c->c, nullptr);
    return c;
}

void libzv_condvar_free(libzv_condvar* c) {
    if (!c) return;
    pthread_cond_destroy(&c->c);
    delete c;
}

void libzv_condvar_wait(libzv_condvar* c, libzv_mutex* m) { pthread_cond_wait(&c->c, &m->m); }
void libzv_condvar_signal(libzv_condvar* c) { pthread_cond_signal(&c->c); }
void libzv_condvar_broadcast(libzv_condvar* c) { pthread_cond_broadcast(&c->c); }

libzv_thread* libzv_thread_new() { return new libzv_thread{pthread_t{}, false, false}; }

bool libzv_thread_start(libzv_thread* t, void (*function)(void*), void* argument) {
    auto* record = new start_record{function, argument};
    if (pthread_create(&t->handle, nullptr, libzv_thread_entry, record) != 0) {
        delete record;
        t->started = false;
        return false;
    }
    t->started = true;
    return true;
}

void libzv_thread_join(libzv_thread* t) {
    if (!t->started || t->joined) return;
    pthread_join(t->handle, nullptr);
    t->joined = true;
}

void libzv_thread_set_name(libzv_thread* t, const char* name) {
    if (t->started) pthread_setname_np(t->handle, name);
}

void libzv_thread_free(libzv_thread* t) {
    if (!t) return;
    if (t->started && !t->joined) pthread_detach(t->handle);
    delete t;
}

void completion_init(completion* c) {
    c->done = 0;
    c->mutex = libzv_mutex_new();
    c->condvar = libzv_condvar_new();
}

void completion_wait(completion* c) {
    libzv_mutex_lock(c->mutex);
    while (!c->done) libzv_condvar_wait(c->condvar, c->mutex);
    libzv_mutex_unlock(c->mutex);
}

// The wake happens with the mutex held and nothing is touched after the unlock,
// so a woken waiter may clear the completion at once.
void completion_finish(completion* c) {
    libzv_mutex_lock(c->mutex);
    c->done = 1;
    libzv_condvar_broadcast(c->condvar);
    libzv_mutex_unlock(c->mutex);
}

void completion_clear(completion* c) {
    libzv_mutex_free(c->mutex);
    libzv_condvar_free(c->condvar);
    c->mutex = nullptr;
    c->condvar = nullptr;
}
