// Dynamic blocks of conventional memory, placed first fit downwards from 0xA0000.
#include <cstddef>

#include "error/error.h"
#include "memory/cmem.h"

namespace {

constexpr int32_t link_max = 147136;

// A placed block; addresses are linear offsets into cmem.
struct cmem_link {
    uint32_t start;
    uint32_t end;  // start + size
    uint32_t size;
    int32_t index;
    int32_t next;  // the next lower block, -1 at the end of the list
};

cmem_link links[link_max];
int32_t cmem_dynamic_link_first = -1;         // the highest block
int32_t cmem_dynamic_free_list[link_max];     // stack of free link indices
int32_t cmem_dynamic_free_link = 0;           // entries on that stack
int32_t cmem_dynamic_next_link = 0;           // next never-used index
uint32_t dynamic_base = cmem_dynamic_top;

int32_t take_link() {
    if (cmem_dynamic_free_link > 0) return cmem_dynamic_free_list[--cmem_dynamic_free_link];
    if (cmem_dynamic_next_link >= link_max) {
        error(ERR_OOM_CMEM_LINKS);
        return -1;
    }
    return cmem_dynamic_next_link++;
}

}  // namespace

void cmem_dynamic_global_init() {
    cmem_dynamic_link_first = -1;
    cmem_dynamic_free_link = 0;
    cmem_dynamic_next_link = 0;
    dynamic_base = cmem_dynamic_top;
}

uint32_t cmem_dynamic_base() { return dynamic_base; }

uint8_t* cmem_dynamic_malloc(uint32_t size) {
    if (size > 65536) {
        error(ERR_OOM_CMEM_BLOCK_TOO_BIG);
        return nullptr;
    }
    if (size == 0) return cmem + cmem_dynamic_top;
    uint32_t n = (size + 15) & ~15u;

    uint32_t top = cmem_dynamic_top;
    int32_t previous = -1;
    int32_t next = -1;  // the block the new one goes before; -1 at the end
    bool in_gap = false;
    for (int32_t i = cmem_dynamic_link_first; i != -1; i = links[i].next) {
        if (top - links[i].end >= n) {
            next = i;
            in_gap = true;
            break;
        }
        previous = i;
        top = links[i].start;
    }
    if (!in_gap && top - cmem_static_pointer < n) {
        error(ERR_OOM_CMEM_DYNAMIC_SPACE);
        return nullptr;
    }
    int32_t index = take_link();
    if (index < 0) return nullptr;
    links[index] = {top - n, top, n, index, next};
    if (previous == -1) {
        cmem_dynamic_link_first = index;
    } else {
        links[previous].next = index;
    }
    if (!in_gap) dynamic_base = top - n;
    return cmem + (top - n);
}

void cmem_dynamic_free(uint8_t* block) {
    if (!block || cmem_dynamic_link_first == -1) return;
    uintptr_t p = reinterpret_cast<uintptr_t>(block);
    uintptr_t base = reinterpret_cast<uintptr_t>(cmem);
    if (p < base || p >= base + cmem_dynamic_top) return;
    uint32_t start = uint32_t(p - base);
    int32_t previous = -1;
    for (int32_t i = cmem_dynamic_link_first; i != -1; previous = i, i = links[i].next) {
        if (links[i].start != start) continue;
        if (previous == -1) {
            cmem_dynamic_link_first = links[i].next;
        } else {
            links[previous].next = links[i].next;
        }
        cmem_dynamic_free_list[cmem_dynamic_free_link++] = i;
        return;
    }
}
