// FIELD: strings tied to slices of a RANDOM file's record buffer. LSET and RSET write a
// slice through its string; GET and PUT without a variable move the whole buffer, after
// which every fielded string shows its slice again.
#pragma once
#include <cstdint>

struct zvs;

// Registers the string system's FIELD hooks (start-up).
void field_global_init();

// FIELD #n, width AS variable, ...: field_new once, then field_add per item. After an
// error the remaining items do nothing.
void field_new(int32_t n);
void field_add(zvs* variable, int64_t width);
// Copies every string fielded to file n from its slice.
void field_update(int32_t n);
// After LSET or RSET wrote into a fielded string: the slice takes its bytes. A string
// whose file was closed or reopened since FIELD becomes an ordinary string instead.
void lrset_field(zvs* variable);
// Unties a string from its slice (released or fielded again).
void field_free(zvs* variable);

// GET #n[, record] and PUT #n[, record] without a variable.
void field_get(int32_t n, int64_t record, int32_t passed);
void field_put(int32_t n, int64_t record, int32_t passed);

// Forgets the FIELD statement state (tests).
void field_reset_for_tests();
