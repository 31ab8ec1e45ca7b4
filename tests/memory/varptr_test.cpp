// VARPTR$: type byte and little-endian offset.
#include <gtest/gtest.h>

#include <string>

#include "error/error.h"
#include "memory/varptr.h"
#include "string/zvs_debug.h"

namespace {

TEST(Varptr, TypeByteThenOffsetLowAndHigh) {
    zvs_reset_for_tests(1 << 16, 1024, 1024);
    error_reset_for_tests();
    zvs* s = func_varptr_helper(3, 0x1234);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(s->text), size_t(s->length)), std::string("\x03\x34\x12", 3));
    EXPECT_EQ(s->temporary, 1);
    zvs* top = func_varptr_helper(0xFF, 0xFFFF);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(top->text), size_t(top->length)), std::string("\xFF\xFF\xFF", 3));
    error(53);
    EXPECT_EQ(func_varptr_helper(3, 1)->length, 0);
    error_reset_for_tests();
}

}  // namespace
