// The keyboard mutex: one writer at a time for every keyboard structure (the held
// set, the _KEYHIT ring, the BIOS buffer, the port 60h queue, the soft-key texts).
// Recursive, because soft keys re-enter the pipeline. Readers of the held set, the
// _KEYHIT ring and the BIOS buffer do not take it.
#pragma once
#include <mutex>

std::recursive_mutex& keyboard_mutex();

using keyboard_guard = std::lock_guard<std::recursive_mutex>;
