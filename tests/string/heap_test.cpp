// The string heap: placement, compaction, growth, descriptors and the lists.
#include <vector>

#include "string_fixture.h"

namespace {

class StringHeap : public StringTest {};

TEST_F(StringHeap, EmptyTemporaryHoldsThirtyTwoBytesUntilReleased) {
    uint32_t mark = zvs_tmp_list_nexti();
    EXPECT_EQ(mark, 1u);
    zvs* t = zvs_new(0, 1);
    EXPECT_EQ(heap_offset(t), 0);
    EXPECT_EQ(zvs_heap_info_now().heap_next, 32);
    EXPECT_EQ(t->temp_slot, 1);
    EXPECT_EQ(zvs_tmp_release_to(mark, 7), 7);
    EXPECT_EQ(zvs_heap_info_now().heap_next, 0);
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 0);
}

TEST_F(StringHeap, GrowingTheLastStringMovesNoOther) {
    zvs* a = var("ab");
    zvs* b = var("cd");
    uint8_t* b_text = b->text;
    zvs_set(b, lit("0123456789012345678901234567890123456789"));
    EXPECT_EQ(b->text, b_text);
    EXPECT_EQ(str(a), "ab");
    EXPECT_EQ(heap_offset(a), 0);
    EXPECT_EQ(zvs_heap_info_now().heap_next, heap_offset(b) + 40);
}

TEST_F(StringHeap, GrowingIntoTheSpareBytesStaysInPlace) {
    zvs* a = var("ab");
    zvs* b = var("cd");
    zvs_set(a, lit("abcdefghijklmnopqrstuvwxyz01234567"));  // 34 bytes end where b starts
    EXPECT_EQ(heap_offset(a), 0);
    EXPECT_EQ(str(b), "cd");
}

TEST_F(StringHeap, GrowingPastTheNextLiveTextMovesToTheHeapEnd) {
    zvs* a = var("ab");
    zvs* b = var("cd");
    int64_t end_before = zvs_heap_info_now().heap_next;
    zvs_set(a, lit("abcdefghijklmnopqrstuvwxyz0123456789"));  // 36 bytes pass b's start
    EXPECT_EQ(heap_offset(a), end_before);
    EXPECT_EQ(zvs_heap_info_now().heap_next, end_before + 36);
    EXPECT_EQ(str(b), "cd");
    EXPECT_GT(a->list_slot, b->list_slot);
}

TEST_F(StringHeap, FreeingTheLastStringsGivesTheirSpaceBack) {
    zvs* a = var("abc");
    zvs* b = var("de");
    zvs* c = var("f");
    zvs_free(b);
    EXPECT_EQ(zvs_heap_info_now().heap_next, heap_offset(c) + 1 + 32);
    zvs_free(c);
    EXPECT_EQ(zvs_heap_info_now().heap_next, 3 + 32);  // b's slot was trimmed with c's
    EXPECT_EQ(zvs_heap_info_now().heap_list_nexti, 1);
    zvs_free(a);
    EXPECT_EQ(zvs_heap_info_now().heap_next, 0);
    EXPECT_EQ(heap_offset(var("x")), 0);
}

TEST_F(StringHeap, CompactionLeavesGapsOfThirtyTwoBytesInPlace) {
    reset(512, 16, 16);
    zvs* a = var("aaaaaaaaaa");  // 0
    zvs* b = var("bbbbbbbbbb");  // 42
    zvs* c = var("cccccccccc");  // 84, heap_next 126
    zvs* e = zvs_new(380, 0);    // 126 + 412 > 512
    EXPECT_EQ(heap_offset(a), 0);
    EXPECT_EQ(heap_offset(b), 42);
    EXPECT_EQ(heap_offset(c), 84);
    EXPECT_EQ(heap_offset(e), 94);  // right after c's text: compaction leaves no spare bytes
    EXPECT_EQ(zvs_heap_info_now().heap_size, 412 + 2 * 512);
    EXPECT_EQ(str(b), "bbbbbbbbbb");
}

TEST_F(StringHeap, CompactionMovesTextsBehindWiderGapsDown) {
    reset(512, 16, 16);
    zvs* a = var("aaaaaaaaaa");  // 0
    zvs* b = var("bbbbbbbbbb");  // 42
    zvs* c = var("cccccccccc");  // 84
    zvs* d = var("dddddddddd");  // 126, heap_next 168
    zvs_free(b);
    zvs* e = zvs_new(330, 0);  // 168 + 362 > 512; after compaction 362 + 2 * 30 + 32 < 512
    EXPECT_EQ(heap_offset(a), 0);
    EXPECT_EQ(heap_offset(c), 10);
    EXPECT_EQ(heap_offset(d), 20);
    EXPECT_EQ(heap_offset(e), 30);
    EXPECT_EQ(zvs_heap_info_now().heap_size, 512);
    EXPECT_EQ(zvs_heap_info_now().heap_next, 30 + 362);
    EXPECT_EQ(str(a), "aaaaaaaaaa");
    EXPECT_EQ(str(c), "cccccccccc");
    EXPECT_EQ(str(d), "dddddddddd");
}

TEST_F(StringHeap, HeapGrowsWhenLiveTextsFillOverHalfOfIt) {
    reset(256, 16, 16);
    zvs* a = var(std::string(100, 'a'));
    zvs* b = zvs_new(150, 0);  // need 182: 182 + 2 * 100 + 32 >= 256
    EXPECT_EQ(zvs_heap_info_now().heap_size, 182 + 2 * 256);
    EXPECT_EQ(str(a), std::string(100, 'a'));
    EXPECT_EQ(heap_offset(a), 0);
    EXPECT_EQ(heap_offset(b), 100);
}

TEST_F(StringHeap, AssignmentAtTheHeapEndGrowsWithTheSourceLengthAsNeed) {
    reset(256, 16, 16);
    zvs* a = var(std::string(100, 'a'));
    zvs* v = var("v");
    var("w");  // v is no longer the last string
    std::string long_text(200, 'z');
    zvs_set(v, zvs_new_txt_len(long_text.data(), 200));
    EXPECT_EQ(zvs_heap_info_now().heap_size, 200 + 2 * 256);
    EXPECT_EQ(str(v), long_text);
    EXPECT_EQ(str(a), std::string(100, 'a'));
}

TEST_F(StringHeap, ReleasedDescriptorsAreReusedLastInFirstOut) {
    zvs* v = var("");
    zvs* t = tmp("abc");
    uint8_t* t_text = t->text;
    zvs_set(v, t);
    EXPECT_EQ(v->text, t_text);
    EXPECT_EQ(str(v), "abc");
    EXPECT_EQ(zvs_new(0, 0), t);
}

TEST_F(StringHeap, DescriptorsNeverMoveWhenASecondBlockIsTaken) {
    std::vector<zvs*> first;
    for (int32_t i = 0; i < 65536; i++) {
        first.push_back(zvs_new(1, 0));
        first.back()->text[0] = uint8_t(i);
    }
    EXPECT_EQ(zvs_heap_info_now().descriptor_blocks, 1);
    zvs* next = zvs_new(1, 0);
    EXPECT_EQ(zvs_heap_info_now().descriptor_blocks, 2);
    EXPECT_TRUE(next < first.front() || next > first.back());
    for (int32_t i = 0; i < 65536; i++) {
        ASSERT_EQ(first[i], first.front() + i);
        ASSERT_EQ(first[i]->length, 1);
        ASSERT_EQ(first[i]->text[0], uint8_t(i));
    }
}

TEST_F(StringHeap, FullHeapListIsCompactedAndGrowsWhenHalfLive) {
    reset(4096, 4, 16);  // slots 0 to 3
    zvs* s[4];
    for (int i = 0; i < 4; i++) s[i] = var(std::string(1, char('a' + i)));
    zvs_free(s[1]);
    zvs_free(s[2]);
    zvs* e = var("e");  // list full: compacted to a, d, then e; 2 live >= 3 / 2, so it grows
    EXPECT_EQ(s[0]->list_slot, 0);
    EXPECT_EQ(s[3]->list_slot, 1);
    EXPECT_EQ(e->list_slot, 2);
    EXPECT_EQ(zvs_heap_info_now().heap_list_lasti, 6);
    EXPECT_EQ(zvs_heap_slot(1), s[3]);
    EXPECT_EQ(str(s[3]), "d");
}

TEST_F(StringHeap, FullHeapListWithFewLiveStringsOnlyCompacts) {
    reset(4096, 8, 16);  // slots 0 to 7
    zvs* s[8];
    for (int i = 0; i < 8; i++) s[i] = var("x");
    for (int i = 1; i < 7; i++) zvs_free(s[i]);
    zvs* e = var("e");  // 2 live < 7 / 2
    EXPECT_EQ(zvs_heap_info_now().heap_list_lasti, 7);
    EXPECT_EQ(s[7]->list_slot, 1);
    EXPECT_EQ(e->list_slot, 2);
}

TEST_F(StringHeap, TemporaryListGrowsKeepingItsSlots) {
    reset(4096, 16, 4);  // slots 1 to 3 usable
    std::vector<zvs*> t;
    for (int i = 0; i < 5; i++) t.push_back(tmp(std::string(1, char('0' + i))));
    EXPECT_EQ(zvs_heap_info_now().tmp_list_lasti, 6u);
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(t[i]->temp_slot, i + 1);
        EXPECT_EQ(zvs_tmp_slot(i + 1), t[i]);
    }
    zvs_tmp_release_to(1, 0);
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 0);
}

TEST_F(StringHeap, ReleaseToAMarkFreesNewestFirstAndSkipsReleasedSlots) {
    tmp("1");
    tmp("2");
    tmp("3");
    zvs* t4 = tmp("4");
    zvs* t5 = tmp("5");
    zvs* t6 = tmp("6");
    zvs* t7 = tmp("7");
    ASSERT_EQ(t4->temp_slot, 4);
    zvs_free(t6);
    EXPECT_EQ(zvs_tmp_list_nexti(), 8u);  // slot 7 is still live
    EXPECT_EQ(zvs_tmp_release_to(5, 42), 42);
    EXPECT_EQ(zvs_tmp_list_nexti(), 5u);
    EXPECT_EQ(zvs_tmp_slot(4), t4);
    EXPECT_EQ(str(t4), "4");
    // Freed 6, then 7, then 5: the free stack hands them back in reverse.
    EXPECT_EQ(zvs_new(0, 0), t5);
    EXPECT_EQ(zvs_new(0, 0), t7);
    EXPECT_EQ(zvs_new(0, 0), t6);
}

TEST_F(StringHeap, FreeingTheTopTemporaryTrimsReleasedSlotsBelowIt) {
    zvs* a = tmp("a");
    zvs* b = tmp("b");
    zvs* c = tmp("c");
    zvs_free(b);
    zvs_free(c);
    EXPECT_EQ(zvs_tmp_list_nexti(), 2u);
    EXPECT_EQ(zvs_tmp_slot(1), a);
}

TEST_F(StringHeap, MakeTmpRegistersOnce) {
    uint32_t mark = zvs_tmp_list_nexti();
    zvs* v = var("result");
    zvs_maketmp(v);
    zvs_maketmp(v);
    EXPECT_EQ(v->temporary, 1);
    EXPECT_EQ(zvs_tmp_list_nexti(), mark + 1);
    zvs_tmp_release_to(mark, 0);
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 0);
}

TEST_F(StringHeap, WrappersAndFixedStringsOwnNoHeapText) {
    char bytes[8] = "fixed!!";
    zvs* f = zvs_new_fixed(bytes, 7, 0);
    zvs* w = zvs_new_txt("const");
    zvs* n = zvs_new_txt(nullptr);
    EXPECT_EQ(f->fixed_length, 1);
    EXPECT_EQ(f->temporary, 0);
    EXPECT_EQ(w->read_only, 1);
    EXPECT_EQ(w->temporary, 1);
    EXPECT_EQ(n->length, 0);
    EXPECT_EQ(zvs_heap_info_now().heap_next, 0);
    zvs_free(f);
    zvs_tmp_release_to(1, 0);
    EXPECT_EQ(std::string(bytes), "fixed!!");
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 0);
}

TEST_F(StringHeap, FreeDetachesAFieldStringFirst) {
    static std::vector<zvs*> detached;
    detached.clear();
    zvs_set_field_hooks([](zvs* s) { detached.push_back(s); }, nullptr);
    char record[4] = {};
    zvs* f = zvs_new_fixed(record, 4, 0);
    int field = 0;
    f->field_link = &field;
    zvs_free(f);
    EXPECT_EQ(detached, std::vector<zvs*>{f});
}

}  // namespace
