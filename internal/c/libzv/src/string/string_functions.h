// The string functions and the statements that edit a string in place: UCASE$, LCASE$,
// LEFT$, RIGHT$, MID$ (function and statement), the trims, comparisons, ASC, CHR$, SPACE$,
// STRING$, INSTR, _INSTRREV, LSET and RSET. Strings are counted bytes; a space is byte 32 only;
// case mapping is ASCII only.
//
// String-valued functions return a zvs*. When the result equals the argument (an empty
// argument, a count at least the length, nothing to trim, MID$ of the whole string) the
// argument itself is returned, whatever its kind. Otherwise a plain temporary argument is edited
// in place and returned; any other argument is copied into a new temporary and then released
// if it is a temporary. While an error is pending they return an empty temporary and leave the
// argument alone.
//
// The numeric functions and the comparisons only read their arguments: temporaries are left to
// the statement-end release. While an error is pending they return 0.
// The statements (LSET, RSET, the MID$ statement) do nothing while an error is pending.
#pragma once
#include <cstdint>

#include "string/zvs.h"

zvs* zvs_ucase(zvs* s);                    // UCASE$: bytes a-z become A-Z
zvs* zvs_lcase(zvs* s);                    // LCASE$: bytes A-Z become a-z
zvs* zvs_left(zvs* s, int32_t n);          // LEFT$: the first n bytes, n clamped to 0..length
zvs* zvs_right(zvs* s, int32_t n);         // RIGHT$: the last n bytes, n clamped to 0..length
// MID$(s, start[, length]); passed is 1 when length was given.
zvs* func_mid(zvs* s, int32_t start, int32_t length, int32_t passed);
zvs* zvs_ltrim(zvs* s);                    // LTRIM$: leading spaces removed
zvs* zvs_rtrim(zvs* s);                    // RTRIM$: trailing spaces removed
zvs* zvs__trim(zvs* s);                    // _TRIM$: both
zvs* func_chr(int32_t code);               // CHR$: one byte; outside 0..255 error 5 and ""
zvs* func_space(int32_t n);                // SPACE$: n spaces, "" for n <= 0
zvs* func_string(int32_t n, int32_t code); // STRING$: n copies of code's low byte, "" for n <= 0

// Comparisons: -1 for true, 0 for false. Bytes compare unsigned, the first difference decides,
// a prefix is smaller than the longer string.
int32_t zvs_equal(zvs* a, zvs* b);
int32_t zvs_notequal(zvs* a, zvs* b);
int32_t zvs_lessthan(zvs* a, zvs* b);
int32_t zvs_greaterthan(zvs* a, zvs* b);
int32_t zvs_lessorequal(zvs* a, zvs* b);
int32_t zvs_greaterorequal(zvs* a, zvs* b);
// _STRCMP and _STRICMP: -1, 0 or 1; the second compares bytes 65-90 as 97-122.
int32_t func__str_compare(zvs* a, zvs* b);
int32_t func__str_nc_compare(zvs* a, zvs* b);

// ASC(s) and ASC(s, position): the byte (1-based position); an empty string or a position
// outside 1..length is error 5 and gives 0.
int32_t zvs_asc(zvs* s);
int32_t zvs_asc(zvs* s, uint32_t position);
// INSTR([start,] s, find) and _INSTRREV([start,] s, find); start is used when passed != 0.
int32_t func_instr(int32_t start, zvs* s, zvs* find, int32_t passed);
int32_t func__instrrev(int32_t start, zvs* s, zvs* find, int32_t passed);

// LSET and RSET dest = src: src left- or right-justified in dest's length (padded with spaces,
// or its first dest-length bytes). A FIELD-linked dest is then copied to its record buffer.
void sub_lset(zvs* dest, zvs* src);
void sub_rset(zvs* dest, zvs* src);
// MID$(dest, start[, length]) = src: overwrites bytes of dest in place; dest's length never
// changes. passed is 1 when length was given.
void sub_mid(zvs* dest, int32_t start, int32_t length, zvs* src, int32_t passed);
