// The generated shapes' temporary-string mark and release, and the static-arena
// marks (nothing to restore until conventional memory keeps a stack).
#include "shape.h"

#include "string/zvs.h"

int64_t zv_tmp_mark() { return zvs_tmp_list_nexti(); }

void zv_tmp_release(int64_t mark) { zvs_tmp_release_to(uint32_t(mark), 0); }

zv_arena_marks zv_arena_save() { return {}; }

void zv_arena_restore(const zv_arena_marks&) {}
