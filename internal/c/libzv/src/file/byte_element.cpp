// byte_element: the descriptor translated code hands to GET, PUT and CALL INTERRUPT.
#include "file/byte_element.h"

#include "memory/static_arena.h"

byte_element_struct* byte_element(uint64_t offset, int32_t length, byte_element_struct* info) {
    info->offset = offset;
    info->length = length < 0 ? 0 : length;
    return info;
}

byte_element_struct* byte_element(uint64_t offset, int32_t length) {
    auto* info = reinterpret_cast<byte_element_struct*>(mem_static_malloc(sizeof(byte_element_struct)));
    return byte_element(offset, length, info);
}
