// Shared fixture of the data-block string tests: fresh conventional memory, a
// fresh string system with the data-block side registered, and the runtime's own
// nothingstring and singlespace made as at start-up.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "error/error.h"
#include "memory/cmem.h"
#include "memory/cmem_string.h"
#include "memory/cmem_string_debug.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"
#include "string/zvs_seams.h"

inline std::string str(const zvs* s) { return std::string(reinterpret_cast<const char*>(s->text), size_t(s->length)); }

inline zvs* fill(zvs* s, const std::string& bytes) {
    if (!bytes.empty()) memcpy(s->text, bytes.data(), bytes.size());
    return s;
}
// Data-block strings: a variable (with a descriptor) or a temporary.
inline zvs* db_var(const std::string& bytes) { return fill(zvs_new_cmem(int32_t(bytes.size()), 0), bytes); }
inline zvs* db_tmp(const std::string& bytes) { return fill(zvs_new_cmem(int32_t(bytes.size()), 1), bytes); }
// Heap strings.
inline zvs* heap_var(const std::string& bytes) { return fill(zvs_new(int32_t(bytes.size()), 0), bytes); }
inline zvs* heap_tmp(const std::string& bytes) { return fill(zvs_new(int32_t(bytes.size()), 1), bytes); }

// Four bytes of the data block read as a program does: DEF SEG = &H50, PEEK.
inline std::array<int32_t, 4> peek4(int32_t offset) {
    sub_defseg(0, 0);
    return {func_peek(offset), func_peek(offset + 1), func_peek(offset + 2), func_peek(offset + 3)};
}
// A descriptor read through PEEK: {length, text offset}.
inline std::array<int32_t, 2> peek_descriptor(int32_t offset) {
    auto b = peek4(offset);
    return {b[0] | b[1] << 8, b[2] | b[3] << 8};
}
inline int32_t text_offset(const zvs* s) { return int32_t(s->text - dblock); }

class CmemStringTest : public ::testing::Test {
protected:
    void start(int32_t list_entries = 65536) {
        cmem_reset_for_tests();
        zvs_reset_for_tests(1 << 20, 65536, 65536);
        zvs_cmem_reset_for_tests(list_entries);
        zvs_cmem_make_runtime_strings();
    }
    void SetUp() override {
        error_reset_for_tests();
        start();
    }
    void TearDown() override {
        EXPECT_EQ(zvs_cmem_check_invariants(), "");
        EXPECT_EQ(zvs_check_invariants(), "");
        zvs_set_cmem_ops(nullptr);
        error_reset_for_tests();
    }
};
