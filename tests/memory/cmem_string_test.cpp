// Data-block strings: the start-up layout read through PEEK, placement of assigned
// texts, compaction, fixed-length strings, temporaries and the mended cases.
#include <vector>

#include "memory/cmem_string_fixture.h"

namespace {

using CmemString = CmemStringTest;

TEST_F(CmemString, StartUpLayoutReadThroughPeek) {
    EXPECT_EQ(peek4(65528), (std::array<int32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(peek4(65532), (std::array<int32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(peek4(65524), (std::array<int32_t, 4>{0x00, 0x00, 0x00, 0x01})) << "nothingstring";
    EXPECT_EQ(peek4(65520), (std::array<int32_t, 4>{0x01, 0x00, 0x00, 0x01})) << "singlespace";
    EXPECT_EQ(func_peek(256), 32);
    EXPECT_EQ(str(nothingstring), "");
    EXPECT_EQ(str(singlespace), " ");
    EXPECT_EQ(cmem_sp, 65520);

    zvs* first = db_var("hello");
    EXPECT_EQ(first->data_block_offset, 65516);
    EXPECT_EQ(peek4(65516), (std::array<int32_t, 4>{0x05, 0x00, 0x01, 0x01}));
    EXPECT_EQ(text_offset(first), 257);
    EXPECT_EQ(zvs_cmem_sp(), 262);
}

TEST_F(CmemString, LongerTextForTheLastStringGrowsInPlace) {
    zvs* v = db_var("ab");
    int32_t at = text_offset(v);
    zvs_set(v, heap_tmp("abcdefgh"));
    EXPECT_EQ(str(v), "abcdefgh");
    EXPECT_EQ(text_offset(v), at);
    EXPECT_EQ(peek_descriptor(v->data_block_offset), (std::array<int32_t, 2>{8, at}));
    EXPECT_EQ(zvs_cmem_sp(), at + 8);
}

TEST_F(CmemString, LongerTextForAMiddleStringMovesToTheEnd) {
    zvs* a = db_var("ab");
    zvs* b = db_var("cd");
    EXPECT_EQ(text_offset(a), 257);
    zvs_set(a, heap_tmp("xyz123"));
    EXPECT_EQ(str(a), "xyz123");
    EXPECT_EQ(str(b), "cd");
    EXPECT_EQ(text_offset(a), 261);
    EXPECT_EQ(peek_descriptor(a->data_block_offset), (std::array<int32_t, 2>{6, 261}));
    EXPECT_EQ(peek_descriptor(b->data_block_offset), (std::array<int32_t, 2>{2, 259}));
}

TEST_F(CmemString, LongerTextFitsBeforeTheNextLiveText) {
    zvs* a = db_var("abcdef");
    zvs* b = db_var("x");
    zvs_set(a, heap_tmp("ab"));  // shorter: in place, 4 bytes of room behind it
    EXPECT_EQ(peek_descriptor(a->data_block_offset), (std::array<int32_t, 2>{2, 257}));
    zvs_set(a, heap_tmp("12345"));
    EXPECT_EQ(text_offset(a), 257) << "fits before b";
    EXPECT_EQ(str(b), "x");
    EXPECT_EQ(peek_descriptor(a->data_block_offset), (std::array<int32_t, 2>{5, 257}));
}

TEST_F(CmemString, LongerTextAfterTheLastLiveStringCutsTheList) {
    zvs* a = db_var("ab");
    zvs* b = db_var("cd");
    zvs_free(b);  // released but not the last slot any more once c exists
    zvs* c = db_var("ef");
    zvs_free(c);
    zvs_set(a, heap_tmp("123456"));
    EXPECT_EQ(text_offset(a), 257) << "nothing live follows: grows over the dead texts";
    EXPECT_EQ(zvs_cmem_sp(), 263);
    EXPECT_EQ(zvs_cmem_list_now().nexti, a->list_slot + 1);
}

TEST_F(CmemString, CompactionClosesEveryGapAndRewritesDescriptors) {
    zvs* a = db_var(std::string(10, 'A'));
    zvs* b = db_var(std::string(10, 'B'));
    zvs* c = db_var(std::string(10, 'C'));
    zvs_free(b);
    EXPECT_EQ(zvs_cmem_sp(), 287);
    // Fits only once B's text is reclaimed (the filler's descriptor takes 4 bytes too).
    int32_t filler_length = (cmem_sp - 4) - 287 + 10;
    zvs* filler = db_var(std::string(size_t(filler_length), 'F'));
    EXPECT_EQ(str(a), std::string(10, 'A'));
    EXPECT_EQ(str(c), std::string(10, 'C'));
    EXPECT_EQ(text_offset(a), 257);
    EXPECT_EQ(text_offset(c), 267);
    EXPECT_EQ(text_offset(filler), 277);
    EXPECT_EQ(peek_descriptor(c->data_block_offset), (std::array<int32_t, 2>{10, 267}));
    EXPECT_EQ(peek_descriptor(filler->data_block_offset), (std::array<int32_t, 2>{filler_length, 277}));
    EXPECT_EQ(cmem_sp, zvs_cmem_sp());
}

TEST_F(CmemString, TextAreaTooSmallEvenAfterCompactionIsFatal) {
    EXPECT_EXIT(zvs_new_cmem(65300, 0), ::testing::ExitedWithCode(0), "Critical Error #13");
}

TEST_F(CmemString, NoRoomLeftForADescriptorIsFatal) {
    // The text fits exactly up to the descriptors; its own descriptor cannot.
    int32_t length = cmem_sp - zvs_cmem_sp();
    EXPECT_EXIT(zvs_new_cmem(length, 0), ::testing::ExitedWithCode(0), "Critical Error #14");
}

TEST_F(CmemString, FragmentedAreaIsCompactedToMakeRoomForADescriptor) {
    zvs* dead = db_var(std::string(100, 'd'));
    // Leaves 2 bytes before the descriptors: a new variable's text would fit but
    // not its descriptor until the dead text is reclaimed.
    zvs* big = db_var(std::string(size_t(cmem_sp - 4 - zvs_cmem_sp() - 2), 'b'));
    zvs_free(dead);
    zvs* last = db_var("xy");
    EXPECT_EQ(str(last), "xy");
    EXPECT_EQ(text_offset(big), 257) << "compacted";
    EXPECT_EQ(peek_descriptor(last->data_block_offset), (std::array<int32_t, 2>{2, text_offset(last)}));
    zvs* dead2 = db_var("zz");
    zvs_free(dead2);
    zvs* filler = db_var(std::string(size_t(cmem_sp - 4 - zvs_cmem_sp()), 'f'));
    zvs_free(filler);
    zvs* fixed = zvs_new_fixed(cmem + 0x510, 4, 0);
    EXPECT_EQ(peek_descriptor(fixed->data_block_offset), (std::array<int32_t, 2>{4, 0x10}));
}

TEST_F(CmemString, ConcatCompactsAndChecksTheRoom) {
    zvs* a = db_var("abc");
    zvs* b = db_var("def");
    zvs_free(a);
    EXPECT_EQ(zvs_concat_cmem(10), 257 + 3 + 10);
    EXPECT_EQ(text_offset(b), 257);
    EXPECT_EXIT(zvs_concat_cmem(70000), ::testing::ExitedWithCode(0), "Critical Error #13");
}

TEST_F(CmemString, FixedLengthStringsInsideTheDataBlockGetADescriptor) {
    int32_t before = cmem_sp;
    zvs* at_start = zvs_new_fixed(cmem + 0x500, 4, 0);
    EXPECT_EQ(at_start->data_block_descriptor, nullptr) << "0x500 itself is excluded";
    EXPECT_EQ(cmem_sp, before);
    zvs* outside = zvs_new_fixed(cmem + 0x400, 4, 0);
    EXPECT_EQ(outside->data_block_descriptor, nullptr);
    int local_bytes[2] = {};
    zvs* host = zvs_new_fixed(local_bytes, sizeof local_bytes, 0);
    EXPECT_EQ(host->data_block_descriptor, nullptr);
    EXPECT_EQ(cmem_sp, before);

    zvs* inside = zvs_new_fixed(cmem + 0x501, 7, 0);
    EXPECT_EQ(cmem_sp, before - 4);
    EXPECT_EQ(peek_descriptor(inside->data_block_offset), (std::array<int32_t, 2>{7, 1}));
    zvs_set(inside, heap_tmp("ab"));
    EXPECT_EQ(str(inside), "ab     ");
    EXPECT_EQ(peek_descriptor(inside->data_block_offset), (std::array<int32_t, 2>{7, 1}));
    EXPECT_EQ(zvs_new_fixed(cmem + 0x501, 7, 1)->data_block_descriptor, nullptr) << "a temporary view";
    EXPECT_EQ(cmem_sp, before - 4);
}

TEST_F(CmemString, TemporariesHaveNoDescriptor) {
    int32_t before = cmem_sp;
    zvs* t = db_tmp("temp");
    EXPECT_EQ(t->data_block_descriptor, nullptr);
    EXPECT_EQ(t->data_block_offset, 0);
    EXPECT_EQ(t->temporary, 1);
    EXPECT_EQ(cmem_sp, before);
    EXPECT_EQ(text_offset(t), 257);
    zvs_tmp_release_to(1, 0);
}

TEST_F(CmemString, DataBlockTemporaryIsHandedOverToAVariable) {
    zvs* v = db_var("old");
    zvs* t = db_tmp("temporary text");
    uint8_t* text = t->text;
    zvs_set(v, t);
    EXPECT_EQ(v->text, text) << "taken over, not copied";
    EXPECT_EQ(str(v), "temporary text");
    EXPECT_EQ(peek_descriptor(v->data_block_offset), (std::array<int32_t, 2>{14, text_offset(v)}));
}

TEST_F(CmemString, HeapAndDataBlockAssignEachOtherByCopy) {
    zvs* v = db_var("x");
    zvs_set(v, heap_tmp("from the heap"));
    EXPECT_EQ(str(v), "from the heap");
    EXPECT_EQ(zvs_tmp_list_nexti(), 1u) << "the heap temporary was released";
    zvs* h = heap_var("");
    zvs_set(h, db_tmp("from the block"));
    EXPECT_EQ(str(h), "from the block");
    EXPECT_EQ(zvs_tmp_list_nexti(), 1u) << "the data-block temporary was released";
    zvs_set(h, v);
    EXPECT_EQ(str(h), "from the heap");
}

TEST_F(CmemString, FunctionResultLosesItsDescriptorSoTheNextOwnerKeepsIt) {
    zvs* before = db_var("0123456789");
    // FUNCTION: a local data-block string becomes the result; its descriptor's
    // bytes are given back when the FUNCTION returns.
    int32_t saved_sp = cmem_sp;
    zvs* result = db_var("result");
    zvs_maketmp(result);
    cmem_sp = saved_sp;
    zvs* next_owner = db_var("owner");
    EXPECT_EQ(result->data_block_descriptor, nullptr);
    // Moving the result's text (compaction after freeing the text below it) must
    // not write into the descriptor that now belongs to next_owner.
    zvs_free(before);
    zvs_concat_cmem(0);
    EXPECT_EQ(str(result), "result");
    EXPECT_EQ(peek_descriptor(next_owner->data_block_offset), (std::array<int32_t, 2>{5, text_offset(next_owner)}));
    zvs_tmp_release_to(1, 0);
}

TEST_F(CmemString, HeapTemporaryWithTheSlotNumberOfTheNextStringDoesNotOverwriteIt) {
    zvs* dest = db_var("ab");
    zvs* next = db_var("next");
    ASSERT_EQ(next->list_slot, 3);
    // Heap temporaries take heap slots 0, 1, 2, ...; the one in slot 3 is the source.
    for (;;) {
        zvs* t = heap_tmp("0123456789");
        ASSERT_LE(t->list_slot, next->list_slot);
        if (t->list_slot == next->list_slot) {
            zvs_set(dest, t);
            break;
        }
    }
    EXPECT_EQ(str(dest), "0123456789");
    EXPECT_EQ(str(next), "next");
    EXPECT_EQ(zvs_cmem_slot(next->list_slot), next) << "still listed";
    zvs_concat_cmem(0);
    EXPECT_EQ(str(next), "next");
    EXPECT_EQ(peek_descriptor(next->data_block_offset), (std::array<int32_t, 2>{4, text_offset(next)}));
    zvs_tmp_release_to(1, 0);
}

TEST_F(CmemString, ShortListCompactsAndGrows) {
    start(8);
    std::vector<zvs*> kept;
    for (int round = 0; round < 40; round++) {
        zvs* dead = db_var("dead");
        kept.push_back(db_var(std::string(1, char('a' + round % 26))));
        zvs_free(dead);
    }
    for (size_t i = 0; i < kept.size(); i++) EXPECT_EQ(str(kept[i]), std::string(1, char('a' + i % 26)));
    auto list = zvs_cmem_list_now();
    EXPECT_GE(list.lasti, 40);
    EXPECT_EQ(zvs_cmem_slot(kept.back()->list_slot), kept.back());
}

}  // namespace
