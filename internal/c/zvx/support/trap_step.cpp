// The trap step of the statement boundary: serves ON KEY, ON STRIG and ON TIMER
// once the event traps exist; nothing until then.
#include "shape.h"

void zv_trap_step() {}
