// The keyboard mutex.
#include "input/keyboard_lock.h"

namespace {
// Constant-initialised: usable before main and from every thread.
std::recursive_mutex lock;
}  // namespace

std::recursive_mutex& keyboard_mutex() { return lock; }
