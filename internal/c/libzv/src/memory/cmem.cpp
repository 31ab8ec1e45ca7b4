// Emulated conventional memory: the array, its start-up layout, DEF SEG, PEEK and POKE.
#include "memory/cmem.h"

#include <cstring>

#include "error/error.h"

alignas(16) uint8_t cmem[cmem_size];
int32_t cmem_sp = int32_t(dblock_size);
uint8_t* defseg = dblock;

void cmem_global_init() {
    memset(cmem, 0, sizeof cmem);
    defseg = dblock;
    cmem_sp = int32_t(dblock_size);
    // nothingvalue takes the top 8 bytes; string descriptors grow down below it.
    cmem_sp -= 8;
    memset(nothingvalue, 0, 8);
    cmem_dynamic_global_init();
}

void cmem_reset_for_tests() { cmem_global_init(); }

void sub_defseg(int64_t segment, int32_t passed) {
    if (new_error.load(std::memory_order_relaxed)) return;
    if (!passed) {
        defseg = dblock;
        return;
    }
    if (segment < -65536 || segment > 65535) {
        error(ERR_OVERFLOW);
        return;
    }
    defseg = cmem + int64_t(uint16_t(segment)) * 16;
}

namespace {

bool offset_in_range(int64_t offset) { return offset >= -65536 && offset <= 65535; }

// Other threads write some of these bytes (the BIOS area), so every access is atomic.
std::atomic_ref<uint8_t> defseg_byte(int64_t offset) {
    return cmem_shared((defseg - cmem) + uint16_t(offset));
}

}  // namespace

int32_t func_peek(int64_t offset) {
    if (!offset_in_range(offset)) {
        error(ERR_OVERFLOW);
        return 0;
    }
    return defseg_byte(offset).load(std::memory_order_relaxed);
}

void sub_poke(int64_t offset, int32_t value) {
    if (new_error.load(std::memory_order_relaxed)) return;
    if (!offset_in_range(offset)) {
        error(ERR_OVERFLOW);
        return;
    }
    defseg_byte(offset).store(uint8_t(value), std::memory_order_relaxed);
}
