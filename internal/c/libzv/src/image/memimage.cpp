// _MEMIMAGE: a _MEM block over an image's pixels that dies with the image.
#include "error/error.h"
#include "image/image_handle.h"
#include "image/image_properties.h"
#include "image/image_table.h"

namespace {

// Flag bits of a block's type word for image data, plus the bytes per pixel.
constexpr int32_t memimage_type_bits = 0x800 | 0x400 | 0x80;
// Below the first id a lock is ever given, so such a block is never valid.
constexpr int64_t invalid_block_lock_id = 0x3FFFFFFD;

mem_block invalid_block() { return {0, 0, invalid_block_lock_id, mem_lock_base(), 0, 0, -1}; }

}  // namespace

mem_block func__memimage(int32_t handle, int32_t passed) {
    if (new_error) return invalid_block();
    int32_t index = image_index_or_write(handle, passed);
    if (!index) return invalid_block();
    img_struct* im = img_get(index);
    if (!im->lock_id) {
        mem_lock* lock = new_mem_lock();
        lock->type = MEM_LOCK_IMAGE;
        im->lock_pointer = lock;
        im->lock_id = static_cast<uint64_t>(lock->id);
    }
    mem_block b{};
    b.offset = reinterpret_cast<intptr_t>(im->pixels);
    b.size = static_cast<intptr_t>(im->width) * im->height * im->bytes_per_pixel;
    b.lock_id = static_cast<int64_t>(im->lock_id);
    b.lock = im->lock_pointer;
    b.type = memimage_type_bits + im->bytes_per_pixel;
    b.elementsize = im->bytes_per_pixel;
    b.image = -index;
    return b;
}
