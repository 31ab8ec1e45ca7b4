// The generated shapes' temporary-string mark and release, and the static-arena
// and data-block descriptor marks that a SUB gives back on exit.
#include "memory/cmem.h"
#include "memory/static_arena.h"
#include "shape.h"

#include "string/zvs.h"

int64_t zv_tmp_mark() { return zvs_tmp_list_nexti(); }

void zv_tmp_release(int64_t mark) { zvs_tmp_release_to(uint32_t(mark), 0); }

zv_arena_marks zv_arena_save() { return {reinterpret_cast<int64_t>(mem_static_pointer), cmem_sp}; }

void zv_arena_restore(const zv_arena_marks& marks) {
    mem_static_restore(reinterpret_cast<uint8_t*>(marks.static_pointer));
    cmem_sp = int32_t(marks.cmem_sp);
}
