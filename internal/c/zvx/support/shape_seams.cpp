// Seams of the generated shapes for what comes later: the temporary-string mark
// and release (strings) and the static-arena marks (conventional memory). They do
// nothing until those modules exist.
#include "shape.h"

int64_t zv_tmp_mark() { return 0; }

void zv_tmp_release(int64_t) {}

zv_arena_marks zv_arena_save() { return {}; }

void zv_arena_restore(const zv_arena_marks&) {}
