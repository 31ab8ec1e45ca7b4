// Seams of the string system: the data-block operations and the FIELD hooks.
#include "string/zvs_internal.h"

namespace {

// Until the conventional-memory module registers its operations no data-block string
// exists; these answer a call that should not happen without touching anything.
void no_new_fixed(uint8_t*, uint32_t, uint8_t, zvs*) {}
void no_remove(zvs*) {}
void no_move(zvs*, zvs*) {}
void no_copy(zvs*, zvs*) {}
void no_descriptor(zvs*) {}
constexpr zvs_cmem_ops no_cmem{no_new_fixed, no_remove, no_move, no_copy, no_descriptor};

const zvs_cmem_ops* cmem_ops = &no_cmem;
zvs_field_hook field_free_hook = nullptr;
zvs_field_hook lrset_field_hook = nullptr;

}  // namespace

void zvs_set_cmem_ops(const zvs_cmem_ops* ops) { cmem_ops = ops ? ops : &no_cmem; }
const zvs_cmem_ops* zvs_cmem() { return cmem_ops; }

void zvs_set_field_hooks(zvs_field_hook field_free, zvs_field_hook lrset_field) {
    field_free_hook = field_free;
    lrset_field_hook = lrset_field;
}

void zvs_field_free(zvs* s) {
    if (field_free_hook) field_free_hook(s);
}

void zvs_lrset_field(zvs* s) {
    if (lrset_field_hook) lrset_field_hook(s);
}
