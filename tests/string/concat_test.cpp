// Concatenation: empty operands, consumption of temporaries and the length limit.
#include <sys/mman.h>

#include "string_fixture.h"

namespace {

class StringConcat : public StringTest {};

TEST_F(StringConcat, EmptySideReturnsTheOtherItself) {
    zvs* v = var("abc");
    zvs* e = tmp("");
    EXPECT_EQ(zvs_add(e, v), v);
    EXPECT_EQ(zvs_add(v, e), v);
    EXPECT_EQ(zvs_tmp_slot(e->temp_slot), e);  // nothing released
    EXPECT_EQ(str(v), "abc");
}

TEST_F(StringConcat, TwoTemporariesMakeANewOneAndAreReleased) {
    zvs* t1 = tmp("ab");
    zvs* t2 = tmp("cd");
    zvs* r = zvs_add(t1, t2);
    EXPECT_NE(r, t1);
    EXPECT_NE(r, t2);
    EXPECT_EQ(str(r), "abcd");
    EXPECT_EQ(r->temporary, 1);
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 1);
}

TEST_F(StringConcat, TemporaryJoinedToItselfIsReleasedOnce) {
    zvs* t = tmp("xy");
    zvs* r = zvs_add(t, t);
    EXPECT_EQ(str(r), "xyxy");
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 1);
    EXPECT_EQ(zvs_check_invariants(), "");  // the descriptor is on the free stack once
    EXPECT_EQ(zvs_new(0, 0), t);
    EXPECT_NE(zvs_new(0, 0), t);
}

TEST_F(StringConcat, VariablesAreReadAgainAfterTheHeapMoves) {
    reset(64, 16, 16);
    zvs* a = var("0123456789");
    zvs* b = var("abcdefghij");
    zvs* r = zvs_add(a, b);  // the heap grows (and may move) while r is made
    EXPECT_EQ(str(r), "0123456789abcdefghij");
    EXPECT_EQ(str(a), "0123456789");
    EXPECT_EQ(str(b), "abcdefghij");
    EXPECT_GT(zvs_heap_info_now().heap_size, 64);
}

// Two wrappers of 2^30 + 1 bytes each over pages that are never touched.
TEST(StringConcatDeathTest, LengthPastTheLimitIsFatalError512) {
    EXPECT_EXIT(
        {
            zvs_global_init();
            const size_t size = (size_t(1) << 30) + 1;
            void* pages = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
            zvs* half = zvs_new_txt_len(pages, int32_t(size));
            zvs* r = zvs_add(half, half);
            // With the fatal error ending the process this is not reached.
            fprintf(stderr, "error %d, length %d\n", int(new_error.load()), r->length);
            _exit(new_error == 512 && r->length == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "512|#12");
}

}  // namespace
