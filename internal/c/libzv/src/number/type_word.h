// The type word that READ, INPUT and INPUT # receive for each target variable.
#pragma once
#include <cstdint>

// Bits 0-8: the target's size in bits.
constexpr uint32_t type_word_size_mask = 0x1FF;
// Set on the first string target of LINE INPUT.
constexpr uint32_t type_word_line_input = 0x200;
// A target that the keyboard INPUT editor neither clears nor writes.
constexpr uint32_t type_word_untouched = 0x01000000;
constexpr uint32_t type_word_unsigned = 0x10000000;
constexpr uint32_t type_word_float = 0x20000000;
constexpr uint32_t type_word_string = 0x40000000;

inline int32_t type_word_bits(uint32_t word) { return static_cast<int32_t>(word & type_word_size_mask); }
inline bool type_word_is_float(uint32_t word) { return (word & type_word_float) != 0; }
inline bool type_word_is_unsigned(uint32_t word) { return (word & type_word_unsigned) != 0; }
inline bool type_word_is_string(uint32_t word) { return (word & type_word_string) != 0; }
