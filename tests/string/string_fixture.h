// Shared fixture of the string tests: a fresh string system of a chosen size, no pending
// error, no seams registered, and short ways to make and read strings.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "error/error.h"
#include "string/string_functions.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"
#include "string/zvs_seams.h"

inline std::string str(const zvs* s) { return std::string(reinterpret_cast<const char*>(s->text), s->length); }

// A heap string with the given bytes; temporary or a variable.
inline zvs* heap_string(const std::string& bytes, uint8_t temporary) {
    zvs* s = zvs_new(int32_t(bytes.size()), temporary);
    if (!bytes.empty()) memcpy(s->text, bytes.data(), bytes.size());
    return s;
}
inline zvs* var(const std::string& bytes) { return heap_string(bytes, 0); }
inline zvs* tmp(const std::string& bytes) { return heap_string(bytes, 1); }
// A read-only temporary over a literal (the literal outlives the test).
inline zvs* lit(const char* text) { return zvs_new_txt(text); }

inline int64_t heap_offset(const zvs* s) { return s->text - zvs_heap_info_now().heap; }

class StringTest : public ::testing::Test {
protected:
    // Sizes of the fresh string system; tests that want compaction and growth choose small ones.
    void reset(int64_t heap_size = 1048576, int32_t list_entries = 65536, int32_t tmp_slots = 65536) {
        zvs_reset_for_tests(heap_size, list_entries, tmp_slots);
    }
    void SetUp() override {
        reset();
        error_reset_for_tests();
        zvs_set_cmem_ops(nullptr);
        zvs_set_field_hooks(nullptr, nullptr);
    }
    void TearDown() override {
        EXPECT_EQ(zvs_check_invariants(), "");
        zvs_set_cmem_ops(nullptr);
        zvs_set_field_hooks(nullptr, nullptr);
        error_reset_for_tests();
    }
};
