// _MEMFILL and its typed forms.
#include <cstring>

#include "error/error.h"
#include "memory/mem_block.h"

namespace {

// The pattern is taken once, then the filled part doubles by copying itself, so
// a source inside the filled range still gives the pattern repeated.
void fill(intptr_t offset, intptr_t bytes, const void* source, intptr_t source_bytes) {
    if (bytes <= 0 || source_bytes <= 0) return;
    auto* dest = reinterpret_cast<uint8_t*>(offset);
    if (source_bytes == 1) {
        memset(dest, *static_cast<const uint8_t*>(source), size_t(bytes));
        return;
    }
    intptr_t filled = source_bytes < bytes ? source_bytes : bytes;
    memmove(dest, source, size_t(filled));
    while (filled < bytes) {
        intptr_t chunk = filled < bytes - filled ? filled : bytes - filled;
        memcpy(dest + filled, dest, size_t(chunk));
        filled += chunk;
    }
}

// A value of 1, 2, 4 or 8 bytes: repeated into one 8-byte word, which continues the
// pattern wherever a multiple of 8 bytes has been filled. Small fills are plain
// stores; past 256 bytes the filled part doubles by copying itself.
template <class T>
void fill_value(intptr_t offset, intptr_t bytes, T value) {
    static_assert(8 % sizeof(T) == 0);
    if (bytes <= 0) return;
    auto* dest = reinterpret_cast<uint8_t*>(offset);
    if constexpr (sizeof(T) == 1) {
        memset(dest, static_cast<uint8_t>(value), size_t(bytes));
    } else {
        uint8_t word[8];
        for (size_t i = 0; i < 8; i += sizeof(T)) memcpy(word + i, &value, sizeof(T));
        intptr_t stored = bytes < 256 ? bytes : 256;
        intptr_t i = 0;
        for (; i + 8 <= stored; i += 8) memcpy(dest + i, word, 8);
        for (; i < stored; i++) dest[i] = word[i & 7];
        while (stored < bytes) {
            intptr_t chunk = stored < bytes - stored ? stored : bytes - stored;
            memcpy(dest + stored, dest, size_t(chunk));
            stored += chunk;
        }
    }
}

bool checks_pass(const mem_block& block, intptr_t offset, intptr_t bytes, intptr_t source_bytes) {
    if (new_error.load(std::memory_order_relaxed)) return false;
    if (!block.lock) {
        error(ERR_MEM_NOT_INITIALIZED);
        return false;
    }
    if (block.lock->id != block.lock_id) {
        error(ERR_MEM_FREED);
        return false;
    }
    if (bytes < 0 || source_bytes <= 0) {
        error(ERR_MEM_INVALID_SIZE);
        return false;
    }
    if (!mem_block_covers(block, offset, bytes)) {
        error(ERR_MEM_OUT_OF_RANGE);
        return false;
    }
    return true;
}

// The extended value's 10 bytes, then 22 zeros.
struct float_pattern {
    uint8_t bytes[32];
    explicit float_pattern(long double value) : bytes{} { memcpy(bytes, &value, 10); }
};

}  // namespace

void sub__memfill_nochecks(intptr_t offset, intptr_t bytes, const void* source, intptr_t source_bytes) {
    fill(offset, bytes, source, source_bytes);
}

void sub__memfill(mem_block block, intptr_t offset, intptr_t bytes, const void* source, intptr_t source_bytes) {
    if (checks_pass(block, offset, bytes, source_bytes)) fill(offset, bytes, source, source_bytes);
}

#define ZV_MEMFILL_TYPED(suffix, type)                                                          \
    void sub__memfill_##suffix(mem_block block, intptr_t offset, intptr_t bytes, type value) {  \
        if (checks_pass(block, offset, bytes, sizeof value)) fill_value(offset, bytes, value);  \
    }                                                                                           \
    void sub__memfill_nochecks_##suffix(intptr_t offset, intptr_t bytes, type value) {          \
        fill_value(offset, bytes, value);                                                       \
    }

ZV_MEMFILL_TYPED(1, int8_t)
ZV_MEMFILL_TYPED(2, int16_t)
ZV_MEMFILL_TYPED(4, int32_t)
ZV_MEMFILL_TYPED(8, int64_t)
ZV_MEMFILL_TYPED(SINGLE, float)
ZV_MEMFILL_TYPED(DOUBLE, double)
ZV_MEMFILL_TYPED(OFFSET, intptr_t)

void sub__memfill_FLOAT(mem_block block, intptr_t offset, intptr_t bytes, long double value) {
    float_pattern pattern(value);
    sub__memfill(block, offset, bytes, pattern.bytes, sizeof pattern.bytes);
}

void sub__memfill_nochecks_FLOAT(intptr_t offset, intptr_t bytes, long double value) {
    float_pattern pattern(value);
    fill(offset, bytes, pattern.bytes, sizeof pattern.bytes);
}
