// Ownership of arguments and results: what is consumed, edited in place, returned itself or
// left to the statement-end release.
#include "string_fixture.h"

namespace {

class StringOwnership : public StringTest {};

TEST_F(StringOwnership, ResultEqualToTheArgumentIsTheArgumentItself) {
    zvs* v = var("abcde");
    EXPECT_EQ(zvs_left(v, 1000), v);
    EXPECT_EQ(zvs_right(v, 5), v);
    EXPECT_EQ(func_mid(v, 1, 0, 0), v);
    EXPECT_EQ(func_mid(v, -4, 10, 1), v);
    EXPECT_EQ(zvs_ltrim(v), v);
    EXPECT_EQ(zvs__trim(v), v);
    zvs* e = var("");
    EXPECT_EQ(zvs_ucase(e), e);
    EXPECT_EQ(func_mid(e, 3, 1, 1), e);
    EXPECT_EQ(zvs_tmp_list_nexti(), 1u);  // nothing was made
}

TEST_F(StringOwnership, PlainTemporaryIsEditedInPlace) {
    zvs* t = tmp("abcdef");
    uint8_t* text = t->text;
    EXPECT_EQ(zvs_right(t, 2), t);
    EXPECT_EQ(t->text, text + 4);
    EXPECT_EQ(str(t), "ef");

    zvs* u = tmp("  mixed Case  ");
    EXPECT_EQ(zvs_ucase(zvs__trim(u)), u);
    EXPECT_EQ(str(u), "MIXED CASE");
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 2);
}

TEST_F(StringOwnership, OtherKindsAreCopiedAndATemporaryArgumentReleased) {
    zvs* w = zvs_new_txt("Read Only");
    zvs* r = zvs_ucase(w);
    EXPECT_NE(r, w);
    EXPECT_EQ(str(r), "READ ONLY");
    EXPECT_EQ(zvs_tmp_slot(1), nullptr);  // the wrapper's slot

    char bytes[6] = {'f', 'i', 'x', 'e', 'd', ' '};
    zvs* view = zvs_new_fixed(bytes, 6, 1);
    zvs* cut = zvs_rtrim(view);
    EXPECT_NE(cut, view);
    EXPECT_EQ(str(cut), "fixed");
    EXPECT_EQ(bytes[5], ' ');

    zvs* v = var("variable");
    zvs* l = zvs_left(v, 3);
    EXPECT_NE(l, v);
    EXPECT_EQ(str(l), "var");
    EXPECT_EQ(str(v), "variable");
    EXPECT_EQ(v->temporary, 0);
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 4);  // r, cut, l and v: both views released
}

TEST_F(StringOwnership, ChainOnAVariableCopiesOnce) {
    zvs* v = var("  padded text  ");
    zvs* first = zvs_left(v, 12);
    zvs* result = zvs_ltrim(zvs_rtrim(first));
    EXPECT_EQ(result, first);
    EXPECT_EQ(str(result), "padded tex");
}

TEST_F(StringOwnership, ReadingCallsLeaveTemporariesToTheRelease) {
    uint32_t mark = zvs_tmp_list_nexti();
    zvs* a = tmp("abc");
    zvs* b = tmp("b");
    char bytes[3];
    zvs* f = zvs_new_fixed(bytes, 3, 0);
    zvs* d = var("xyz");
    func_instr(0, a, b, 0);
    func__instrrev(0, a, b, 0);
    zvs_lessthan(a, b);
    func__str_nc_compare(a, b);
    zvs_asc(a);
    sub_lset(f, a);
    sub_mid(d, 1, 0, b, 0);
    EXPECT_EQ(zvs_tmp_slot(a->temp_slot), a);
    EXPECT_EQ(zvs_tmp_slot(b->temp_slot), b);
    EXPECT_EQ(str(d), "byz");
    zvs_tmp_release_to(mark, 0);
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 2);  // f and d
}

TEST_F(StringOwnership, StatementShapeLeavesNoDescriptorBehind) {
    uint32_t mark = zvs_tmp_list_nexti();
    zvs* a = var("");
    zvs* b = var("seed");
    for (int i = 0; i < 200; i++) {
        // a$ = UCASE$(LEFT$(b$, 2)) + MID$(b$, 2) + CHR$(65 + i MOD 26) + LTRIM$(STR$-like temp)
        zvs* left = zvs_ucase(zvs_left(b, 2));
        zvs* rest = zvs_add(left, func_mid(b, 2, 0, 0));
        zvs* more = zvs_add(rest, func_chr(65 + i % 26));
        zvs_set(a, zvs_add(more, zvs_ltrim(tmp(" 42"))));
        if (zvs_greaterthan(a, b)) zvs_set(b, zvs_right(a, 6));
        zvs_tmp_release_to(mark, 0);
        ASSERT_EQ(zvs_heap_info_now().live_descriptors, 2) << i;
        ASSERT_EQ(zvs_tmp_list_nexti(), mark);
    }
    EXPECT_EQ(zvs_check_invariants(), "");
}

}  // namespace
