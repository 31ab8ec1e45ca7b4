// Test support of the data-block strings: a reset with a small list, a look at the
// list, and the invariant checker.
#pragma once
#include <cstdint>
#include <string>

#include "string/zvs.h"

// Forgets every data-block string and starts again with list_entries list slots
// (texts from offset 256; cmem_sp is the conventional-memory module's).
void zvs_cmem_reset_for_tests(int32_t list_entries);

struct zvs_cmem_list_info {
    int32_t nexti;
    int32_t lasti;
};
zvs_cmem_list_info zvs_cmem_list_now();
// The string in a list slot; nullptr for a released one.
zvs* zvs_cmem_slot(int32_t slot);

// Checks the bookkeeping: texts in list order inside the text area, slots linked
// back, every descriptor matching its string and lying in the descriptor area.
// Returns "" when everything holds, else what is wrong.
std::string zvs_cmem_check_invariants();
