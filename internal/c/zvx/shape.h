// The shapes of translated code, so that hand-written programs look like generated
// ones: the statement loop and its boundary, the boundary test of loops, the store
// guard, conditions while an error is pending, subscripts, the main module's
// prologue and the scope of a SUB or FUNCTION.
#pragma once
#include <cstdint>
#include <type_traits>

#include "core/array.h"
#include "core/fpu.h"
#include "core/runtime_flags.h"
#include "core/signal_handlers.h"
#include "error/error.h"
#include "lifecycle/chain.h"
#include "log/log.h"
#include "memory/mem_lock.h"
#include "program.h"

// Temporary strings: the mark taken when a module, SUB or FUNCTION starts, and the
// release down to it after a statement (support/shape_seams.cpp).
int64_t zv_tmp_mark();
void zv_tmp_release(int64_t mark);
// Releases and passes a condition's value through.
template <class T>
inline T zv_tmp_release_to(int64_t mark, T value) {
    zv_tmp_release(mark);
    return value;
}

// The static arena and conventional-memory stack positions a SUB restores on exit
// (support/shape_seams.cpp).
struct zv_arena_marks {
    int64_t static_pointer;
    int64_t cmem_sp;
};
zv_arena_marks zv_arena_save();
void zv_arena_restore(const zv_arena_marks& marks);

// The trap step of the boundary (ON KEY, ON STRIG, ON TIMER).
void zv_trap_step();
// Prologue of the main module: the timer, key and strig event counters, each lowered
// by one when it is not zero.
void zv_event_counters_step();
// Prologue of the main module: when the module was re-entered for an error
// handler, runs the program's handler code (or exits 99 without one) and answers
// true; the module then returns.
bool zv_enter_error_handler();

// The test after every statement: a relaxed load, nothing more.
inline bool zv_boundary_due() { return zvevent.load(std::memory_order_relaxed) != 0; }

// A statement: runs its code; when the boundary flag is up, calls evnt and runs the
// code again while a retry is asked for. A statement without run-time effect
// still has the test: ZV_STATEMENT(line, ).
#define ZV_STATEMENT(line, ...)                   \
    do {                                          \
        __VA_ARGS__;                              \
        if (!zv_boundary_due()) break;            \
        evnt(uint32_t(line), 0, nullptr);         \
    } while (r)

// The same for a statement of an included file.
#define ZV_STATEMENT_INCLUDED(line, include_line, include_file, ...)          \
    do {                                                                      \
        __VA_ARGS__;                                                          \
        if (!zv_boundary_due()) break;                                        \
        evnt(uint32_t(line), uint32_t(include_line), (include_file));         \
    } while (r)

// The boundary test of a statement that is not one block (FOR, LOOP UNTIL): a
// retry jumps back to retry_label.
#define ZV_BOUNDARY(line, retry_label)            \
    do {                                          \
        if (zv_boundary_due()) {                  \
            evnt(uint32_t(line), 0, nullptr);     \
            if (r) goto retry_label;              \
        }                                         \
    } while (0)

// FOR var = first TO last STEP step ... NEXT, named by id. The bounds and the step
// are kept as DOUBLE statics; while an error is pending the loop goes straight to
// its boundary test (and so enters its body); a retry restarts the FOR statement.
#define ZV_FOR(id, line, var, first, last, step)                                              \
    static double id##_value, id##_final, id##_step;                                          \
    static bool id##_negative;                                                                \
    id##_start:                                                                               \
    id##_value = (first);                                                                     \
    id##_final = (last);                                                                      \
    id##_step = (step);                                                                       \
    id##_negative = id##_step < 0;                                                            \
    if (new_error_is_set()) goto id##_boundary;                                               \
    id##_store:                                                                               \
    (var) = static_cast<std::remove_reference_t<decltype(var)>>(id##_value);                   \
    if (id##_negative ? id##_value < id##_final : id##_value > id##_final) goto id##_exit;     \
    id##_boundary:                                                                            \
    ZV_BOUNDARY(line, id##_start)

#define ZV_NEXT(id, var)                   \
    id##_value = id##_step + double(var);  \
    goto id##_store;                       \
    id##_exit:

// A store: the target (with its subscripts) and the value are computed, and the
// store happens only when no error is pending afterwards.
#define ZV_STORE(target, value)                        \
    do {                                               \
        auto& zv_target_ = (target);                   \
        auto zv_value_ = (value);                      \
        if (!new_error_is_set()) zv_target_ = zv_value_; \
    } while (0)

// A condition of IF or LOOP UNTIL: temporaries released, and true while an error
// is pending (the IF branch is entered, the loop is left). Needs zv_mark.
#define ZV_CONDITION(value) (zv_tmp_release_to(zv_mark, static_cast<bool>(value)) || new_error_is_set())

// The end of a statement that made temporary strings. Needs zv_mark.
#define ZV_RELEASE_TEMPORARIES() zv_tmp_release(zv_mark)

// An element of a one-dimensional array: a subscript outside the bounds raises
// error 9 and gives element 0, which the store guard then leaves alone.
template <class T>
inline T& zv_element(array_descriptor<1>* a, long double subscript) {
    return static_cast<T*>(a->data)[array_index(subscript, a->dim[0])];
}

// Prologue of the main module (every entry, including the entry for an error
// handler). Declares zv_mark.
#define ZV_MAIN_PROLOGUE()                                                                     \
    set_fpu_extended_precision();                                                             \
    libzv_install_division_by_zero_handler();                                                 \
    int64_t zv_mark = zv_tmp_mark();                                                          \
    (void)zv_mark;                                                                            \
    error_handler_history_init();                                                             \
    if (zv_enter_error_handler()) return;                                                     \
    zv_event_counters_step();                                                                 \
    chain_input();                                                                            \
    if (libzv_log_enabled())                                                                  \
    libzv_log(LOGLEVEL_INFO, LOGSCOPE_LIBZV, __FILE__, "ZVMAIN()", __LINE__, "ORVO code starting.")

// What a SUB or FUNCTION holds for its call: the temporary mark, the arena marks and
// a scope lock (type 3) that _MEM blocks over its locals refer to. Everything is
// given back when the call ends, however it ends.
class zv_scope {
public:
    zv_scope() : tmp_mark(zv_tmp_mark()), arena(zv_arena_save()), lock(new_mem_lock()) {
        lock->type = MEM_LOCK_SCOPE;
    }
    ~zv_scope() {
        free_mem_lock(lock);
        zv_arena_restore(arena);
    }
    zv_scope(const zv_scope&) = delete;
    zv_scope& operator=(const zv_scope&) = delete;

    const int64_t tmp_mark;

private:
    zv_arena_marks arena;
    mem_lock* lock;
};

// First line of a SUB: takes the scope and skips the body while an error is pending.
// Declares zv_mark.
#define ZV_SUB_SCOPE()                   \
    zv_scope zv_scope_;                  \
    int64_t zv_mark = zv_scope_.tmp_mark; \
    (void)zv_mark;                       \
    if (new_error_is_set()) return

// First line of a FUNCTION: the same, returning skipped_result when skipped.
#define ZV_FUNCTION_SCOPE(skipped_result) \
    zv_scope zv_scope_;                   \
    int64_t zv_mark = zv_scope_.tmp_mark;  \
    (void)zv_mark;                        \
    if (new_error_is_set()) return (skipped_result)
