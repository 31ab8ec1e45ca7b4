// How translated code describes a variable to GET, PUT and CALL INTERRUPT: where its
// bytes start and how many there are.
#pragma once
#include <cstdint>

struct byte_element_struct {
    uint64_t offset;  // address of the variable's first byte
    int32_t length;   // its size in bytes, never negative
};

// A descriptor from the static arena (it lives as long as the arena's contents).
byte_element_struct* byte_element(uint64_t offset, int32_t length);
// Fills a descriptor the caller owns; the form the statement shapes use.
byte_element_struct* byte_element(uint64_t offset, int32_t length, byte_element_struct* info);
