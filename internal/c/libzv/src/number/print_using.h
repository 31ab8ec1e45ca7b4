// PRINT USING: the format interpreter and the per-type entry points that decompose a
// number into the digits it lays out. Program thread only.
//
// Translated code makes one call per value, in order: the first passes position 0,
// every later one the position returned by the call before. Each call appends its
// text to dest, a string variable (never a temporary), which the statement then
// prints: makefit(dest) and zvs_print(dest, 0) on the screen, or through
// print_using_file for PRINT # USING.
#pragma once
#include <cstdint>
#include <string>

struct zvs;

// The number being laid out: the value is pu_dig (decimal digit characters, most
// significant first, pu_ndig of them) as an integer times 10^pu_dp. The digit
// string grows as needed (extended values of any magnitude).
struct pu_number {
    std::string pu_dig;
    int32_t pu_ndig;
    int32_t pu_dp;
    int32_t pu_neg;
    char pu_exp_char;  // E, or D / F while a DOUBLE / extended value is laid out
};
pu_number& pu_value();

// Lays out one value: a number already in pu_value() when text is null, else the
// string text. Returns the format position where the next value's call continues, 0
// when the format was used up. Returns 0 at once while an error is pending. Errors:
// 13 for a value of the wrong kind for its field, 5 when the format has no field.
int32_t print_using(zvs* format, int32_t position, zvs* dest, zvs* text);

// Entry points: decompose the value, then print_using. Integers of every size come
// through the two 64-bit ones. Infinity and NaN raise error 5.
int32_t print_using_integer64(zvs* format, int64_t value, int32_t position, zvs* dest);
int32_t print_using_uinteger64(zvs* format, uint64_t value, int32_t position, zvs* dest);
int32_t print_using_single(zvs* format, float value, int32_t position, zvs* dest);
int32_t print_using_double(zvs* format, double value, int32_t position, zvs* dest);
int32_t print_using_float(zvs* format, long double value, int32_t position, zvs* dest);

// PRINT # USING writes the finished text to a file number through the file layer,
// which registers its writer here; until one is registered it raises error 52.
using print_using_file_writer = void (*)(int32_t file_number, zvs* text);
void print_using_set_file_writer(print_using_file_writer writer);  // nullptr: none
void print_using_file(int32_t file_number, zvs* text);

void print_using_reset_for_tests();
