// Strict UTF-8: one character decoded, whole texts checked, characters appended.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Decodes the character at s[*at] and moves past it; false, with *at unchanged, for
// a bad sequence (overlong forms, surrogates, beyond U+10FFFF, cut short).
bool utf8_decode(const unsigned char* s, size_t length, size_t* at, uint32_t* out);
// Whether every byte of the text belongs to a well-formed character.
bool utf8_valid(const char* text, size_t length);
void utf8_append(std::string* out, uint32_t code_point);
