// The calls registered for END and the shutdown.
#include "core/end_hooks.h"

#include <atomic>

namespace {

void no_view_print(int32_t, int32_t) {}
void no_print(zvs*, int32_t) {}
zvs* no_key() { return nullptr; }

const end_screen_calls default_calls{no_view_print, no_print, no_key};
std::atomic<const end_screen_calls*> screen_calls{&default_calls};

void no_files() {}
std::atomic<void (*)()> close_all{no_files};

}  // namespace

void end_set_screen_calls(const end_screen_calls* calls) { screen_calls.store(calls ? calls : &default_calls); }
const end_screen_calls& end_screen() { return *screen_calls.load(); }

void end_set_close_all_files(void (*f)()) { close_all.store(f ? f : no_files); }
void close_all_files() { close_all.load()(); }
