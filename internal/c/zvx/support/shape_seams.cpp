// Seams of the generated shapes: the temporary-string mark and release (nothing
// until strings exist) and the static-arena and descriptor-stack marks of a SUB.
#include "memory/cmem.h"
#include "memory/static_arena.h"
#include "shape.h"

int64_t zv_tmp_mark() { return 0; }

void zv_tmp_release(int64_t) {}

zv_arena_marks zv_arena_save() { return {reinterpret_cast<int64_t>(mem_static_pointer), cmem_sp}; }

void zv_arena_restore(const zv_arena_marks& marks) {
    mem_static_restore(reinterpret_cast<uint8_t*>(marks.static_pointer));
    cmem_sp = int32_t(marks.cmem_sp);
}
