// String descriptors: carved from blocks that never move, recycled through a free stack.
#include <cstdlib>

#include "error/error.h"
#include "string/zvs_internal.h"

zvs* zvs_take_descriptor() {
    zvs_state& st = zvs_st();
    if (st.free_count > 0) {
        zvs* s = st.free_descriptors[--st.free_count];
        *s = zvs{};
        return s;
    }
    if (st.descriptor_next == zvs_descriptors_per_block) {
        if (st.block_count == st.block_capacity) {
            int32_t capacity = st.block_capacity * 2;
            auto blocks = static_cast<zvs**>(realloc(st.blocks, int64_t(capacity) * sizeof(zvs*)));
            if (!blocks) {
                error(ERR_OOM_STRING_DESCRIPTORS);
                return nullptr;
            }
            st.blocks = blocks;
            st.block_capacity = capacity;
        }
        auto block = static_cast<zvs*>(calloc(zvs_descriptors_per_block, sizeof(zvs)));
        if (!block) {
            error(ERR_OOM_STRING_DESCRIPTORS);
            return nullptr;
        }
        // The old block stays where it is: its descriptors are still in use.
        st.blocks[st.block_count++] = block;
        st.descriptor_block = block;
        st.descriptor_next = 0;
    }
    return &st.descriptor_block[st.descriptor_next++];
}

void zvs_recycle_descriptor(zvs* s) {
    zvs_state& st = zvs_st();
    if (st.free_count == st.free_capacity) {
        int64_t capacity = st.free_capacity * 2;
        auto stack = static_cast<zvs**>(realloc(st.free_descriptors, capacity * sizeof(zvs*)));
        if (!stack) {
            error(ERR_OOM_STRING_DESCRIPTORS);
            return;  // the descriptor is lost, nothing else
        }
        st.free_descriptors = stack;
        st.free_capacity = capacity;
    }
    st.free_descriptors[st.free_count++] = s;
}
