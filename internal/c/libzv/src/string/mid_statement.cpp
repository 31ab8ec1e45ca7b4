// The MID$ statement: overwrites bytes of a string in place; its length never changes.
#include <algorithm>
#include <cstring>

#include "error/error.h"
#include "string/string_functions.h"

void sub_mid(zvs* dest, int32_t start, int32_t length, zvs* src, int32_t passed) {
    if (new_error) return;
    if (dest->read_only) return;
    // Positions in 64 bits: start and length near the int32 limits must not wrap.
    int64_t count = passed ? length : src->length;
    int64_t skip = start <= 0 ? 1 - int64_t(start) : 0;  // src bytes that land before dest's first
    count += std::min<int64_t>(start, 1) - 1;
    int64_t first = std::max<int64_t>(start, 1);
    // The runtime's empty nothingstring has no byte to overwrite, like every empty dest.
    if (count <= 0 || first > dest->length || skip >= src->length) return;
    count = std::min({count, dest->length - first + 1, src->length - skip});
    uint8_t* to = dest->text + first - 1;
    const uint8_t* from = src->text + skip;
    if (to != from) memmove(to, from, count);
}
