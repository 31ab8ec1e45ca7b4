// String-system state: start-up allocation and the test reset.
#include <cstdlib>

#include "string/zvs_debug.h"
#include "string/zvs_internal.h"

zvs_state zvs_the_state;

namespace {

zvs_state& state = zvs_the_state;

constexpr int64_t start_heap_size = 1048576;
constexpr int32_t start_list_entries = 65536;
constexpr int32_t start_free_entries = 65536;

void release_all() {
    for (int32_t i = 0; i < state.block_count; i++) free(state.blocks[i]);
    free(state.blocks);
    free(state.free_descriptors);
    free(state.heap);
    free(state.heap_list);
    free(state.tmp_list);
    state = zvs_state{};
}

void allocate(int64_t heap_size, int32_t list_entries, int32_t tmp_slots) {
    state.block_capacity = 16;
    state.blocks = static_cast<zvs**>(calloc(state.block_capacity, sizeof(zvs*)));
    state.descriptor_block = static_cast<zvs*>(calloc(zvs_descriptors_per_block, sizeof(zvs)));
    state.blocks[0] = state.descriptor_block;
    state.block_count = 1;
    state.descriptor_next = 0;

    state.free_capacity = start_free_entries;
    state.free_descriptors = static_cast<zvs**>(malloc(state.free_capacity * sizeof(zvs*)));
    state.free_count = 0;

    state.heap_list = static_cast<zvs**>(malloc(int64_t(list_entries) * sizeof(zvs*)));
    state.heap_list_nexti = 0;
    state.heap_list_lasti = list_entries - 1;

    state.tmp_list = static_cast<zvs**>(calloc(tmp_slots, sizeof(zvs*)));
    state.tmp_list_nexti = 1;
    state.tmp_list_lasti = uint32_t(tmp_slots - 1);

    state.heap = static_cast<uint8_t*>(malloc(heap_size));
    state.heap_size = heap_size;
    state.heap_next = 0;
}

}  // namespace

void zvs_global_init() {
    if (state.heap) return;
    allocate(start_heap_size, start_list_entries, start_list_entries);
}

void zvs_reset_for_tests(int64_t heap_size, int32_t list_entries, int32_t tmp_slots) {
    release_all();
    allocate(heap_size < 1 ? 1 : heap_size, list_entries < 2 ? 2 : list_entries, tmp_slots < 2 ? 2 : tmp_slots);
}
