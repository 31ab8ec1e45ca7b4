// Assignment: every case of zvs_set, the hand-over of temporaries and the data-block seam.
#include <vector>

#include "string_fixture.h"

namespace {

class StringAssign : public StringTest {};

TEST_F(StringAssign, FixedLengthDestinationIsPaddedOrCut) {
    struct row {
        const char* src;
        const char* expected;
    } rows[] = {{"abcde", "abcde   "}, {"abcdefghij", "abcdefgh"}, {"", "        "}, {"abcdefgh", "abcdefgh"}};
    for (const row& r : rows) {
        char bytes[8];
        memset(bytes, 'x', 8);
        zvs* f = zvs_new_fixed(bytes, 8, 0);
        zvs_set(f, tmp(r.src));
        EXPECT_EQ(str(f), r.expected) << r.src;
        EXPECT_EQ(f->text, reinterpret_cast<uint8_t*>(bytes));
        zvs_free(f);
    }
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 0);  // every temporary source was released
}

TEST_F(StringAssign, EmptyFixedStringWithoutBytesTakesAnything) {
    zvs* f = zvs_new_fixed(nullptr, 0, 0);
    zvs_set(f, lit("abc"));
    sub_lset(f, lit("abc"));
    sub_rset(f, lit(""));
    zvs* v = var("x");
    zvs_set(v, f);
    EXPECT_EQ(str(v), "");
    EXPECT_EQ(zvs_left(f, 3), f);
    EXPECT_EQ(f->length, 0);
}

TEST_F(StringAssign, HeapTemporaryIsHandedOverWithoutACopy) {
    zvs* v = var("old");
    zvs* t = tmp("new text");
    uint8_t* text = t->text;
    int32_t slot = t->list_slot;
    uint32_t top = zvs_tmp_list_nexti();
    EXPECT_EQ(zvs_set(v, t), v);
    EXPECT_EQ(v->text, text);
    EXPECT_EQ(str(v), "new text");
    EXPECT_EQ(v->list_slot, slot);
    EXPECT_EQ(zvs_heap_slot(slot), v);
    EXPECT_EQ(zvs_heap_slot(0), nullptr);  // v's old slot
    EXPECT_EQ(zvs_tmp_list_nexti(), top - 1);
    EXPECT_EQ(v->temporary, 0);
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 1);
}

TEST_F(StringAssign, HandOverBelowTheTopLeavesAReleasedSlot) {
    zvs* v = var("");
    zvs* t = tmp("abc");
    zvs* u = tmp("def");
    zvs_set(v, t);
    EXPECT_EQ(zvs_tmp_list_nexti(), 3u);
    EXPECT_EQ(zvs_tmp_slot(1), nullptr);
    EXPECT_EQ(zvs_tmp_slot(2), u);
    zvs_tmp_release_to(1, 0);
    EXPECT_EQ(str(v), "abc");
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 1);
}

TEST_F(StringAssign, ReadOnlyWrapperIsCopiedAndReleased) {
    static const char constant[] = "constant";
    zvs* v = var("");
    zvs* w = zvs_new_txt(constant);
    zvs_set(v, w);
    EXPECT_EQ(str(v), "constant");
    EXPECT_NE(v->text, reinterpret_cast<const uint8_t*>(constant));
    EXPECT_EQ(std::string(constant), "constant");
    EXPECT_EQ(zvs_tmp_slot(1), nullptr);
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 1);
}

TEST_F(StringAssign, ShorterSourceIsCopiedOverTheDestinationsText) {
    zvs* v = var("long variable");
    zvs* w = var("short");
    uint8_t* text = v->text;
    zvs_set(v, w);
    EXPECT_EQ(v->text, text);
    EXPECT_EQ(str(v), "short");
    EXPECT_EQ(str(w), "short");
}

TEST_F(StringAssign, SelfAssignmentChangesNothing) {
    zvs* v = var("same");
    zvs_set(v, v);
    EXPECT_EQ(str(v), "same");
    zvs* t = tmp("temp");
    EXPECT_EQ(zvs_set(t, t), t);
    EXPECT_EQ(str(t), "temp");
    EXPECT_EQ(t->temp_slot, 1);
}

TEST_F(StringAssign, LongerVariableSourceAfterTheDestination) {
    zvs* v = var("ab");
    zvs* w = var(std::string(50, 'w'));  // placed after v, does not fit before it
    zvs_set(v, w);
    EXPECT_EQ(str(v), std::string(50, 'w'));
    EXPECT_EQ(str(w), std::string(50, 'w'));
    EXPECT_GT(heap_offset(v), heap_offset(w));
}

TEST_F(StringAssign, GrowingAfterFreedNeighboursCutsTheListBack) {
    zvs* v = var("ab");
    zvs* x = var("xx");
    zvs* y = var("yy");
    zvs_free(x);
    zvs_set(y, tmp(""));  // y stays listed but shrinks
    zvs_free(y);
    EXPECT_EQ(zvs_heap_info_now().heap_list_nexti, 1);
    zvs* w = var("w");
    zvs_free(w);  // trailing slots trimmed again
    zvs_set(v, lit("0123456789012345678901234567890123456789"));
    EXPECT_EQ(heap_offset(v), 0);
    EXPECT_EQ(zvs_heap_info_now().heap_list_nexti, 1);
    EXPECT_EQ(zvs_heap_info_now().heap_next, 40);
}

// A stand-in for the data-block module: strings over a local buffer, calls recorded.
struct fake_data_block {
    static inline std::vector<std::string> calls;
    static inline uint8_t area[256];
    static void new_fixed(uint8_t*, uint32_t length, uint8_t, zvs*) { calls.push_back("new_fixed " + std::to_string(length)); }
    static void remove(zvs* s) { calls.push_back("remove " + str(s)); }
    static void move(zvs*, zvs* src) { calls.push_back("move " + str(src)); }
    static void copy(zvs* dest, zvs* src) {
        calls.push_back("copy " + str(src));
        memmove(dest->text, src->text, src->length);  // the area has room in these tests
        dest->length = src->length;
    }
    static void descriptor(zvs* s) { calls.push_back("descriptor " + str(s)); }
    static inline const zvs_cmem_ops ops{new_fixed, remove, move, copy, descriptor};

    // A data-block string over area + offset; list_slot as the data-block list would give it.
    static zvs* make(int offset, const std::string& bytes, int32_t list_slot, bool temporary) {
        zvs* s = zvs_take_descriptor();
        s->in_data_block = 1;
        s->text = area + offset;
        s->length = int32_t(bytes.size());
        memcpy(s->text, bytes.data(), bytes.size());
        s->list_slot = list_slot;
        if (temporary) {
            zvs_tmp_make_room();
            zvs_tmp_register(s);
        }
        return s;
    }
};

class StringAssignDataBlock : public StringTest {
protected:
    void SetUp() override {
        StringTest::SetUp();
        fake_data_block::calls.clear();
        zvs_set_cmem_ops(&fake_data_block::ops);
    }
};

// A data-block temporary whose list slot has the number of the live heap string after dest
// must not make that string look free: it keeps its bytes and stays listed.
TEST_F(StringAssignDataBlock, SlotNumberOfAnotherListIsNotSkipped) {
    zvs* dest = var("ab");  // heap slot 0
    zvs* next = var("cd");  // heap slot 1
    zvs* src = fake_data_block::make(0, std::string(40, 's'), next->list_slot, true);
    zvs_set(dest, src);
    EXPECT_EQ(str(dest), std::string(40, 's'));
    EXPECT_EQ(str(next), "cd");
    EXPECT_EQ(zvs_heap_slot(1), next);
    EXPECT_GT(heap_offset(dest), heap_offset(next));  // did not fit before next: moved to the end
    EXPECT_EQ(fake_data_block::calls, std::vector<std::string>{"remove " + std::string(40, 's')});
    EXPECT_EQ(zvs_heap_info_now().heap_list_nexti, 3);
}

TEST_F(StringAssignDataBlock, StorageDecidesBetweenHandOverAndCopy) {
    zvs* dest = fake_data_block::make(0, "data", 0, false);
    zvs* src = fake_data_block::make(100, "tmp", 1, true);
    zvs_set(dest, src);  // same storage: handed over
    EXPECT_EQ(dest->text, fake_data_block::area + 100);
    EXPECT_EQ(str(dest), "tmp");
    EXPECT_EQ(zvs_tmp_slot(1), nullptr);

    zvs_set(dest, tmp("xy"));  // heap temporary into the data block: shorter, copied in place
    zvs_set(dest, tmp("longer"));  // longer: the data-block module places it
    EXPECT_EQ(str(dest), "longer");
    EXPECT_EQ(fake_data_block::calls,
              (std::vector<std::string>{"move tmp", "descriptor xy", "copy longer"}));
    EXPECT_EQ(zvs_heap_info_now().live_descriptors, 1);  // both heap temporaries released
    EXPECT_EQ(zvs_heap_info_now().heap_next, 0);
}

TEST_F(StringAssignDataBlock, HeapDestinationCopiesADataBlockSource) {
    zvs* dest = var("");
    zvs* src = fake_data_block::make(0, "from block", 0, true);
    zvs_set(dest, src);
    EXPECT_EQ(str(dest), "from block");
    EXPECT_GE(heap_offset(dest), 0);
    EXPECT_EQ(fake_data_block::calls, std::vector<std::string>{"remove from block"});
}

TEST_F(StringAssignDataBlock, FixedVariableAsksForADescriptorButATemporaryViewDoesNot) {
    uint8_t bytes[6] = {};
    zvs* f = zvs_new_fixed(bytes, 6, 0);
    zvs* t = zvs_new_fixed(bytes, 6, 1);
    EXPECT_EQ(fake_data_block::calls, std::vector<std::string>{"new_fixed 6"});
    zvs_free(f);
    zvs_free(t);
    EXPECT_EQ(fake_data_block::calls.size(), 1u);
}

TEST_F(StringAssignDataBlock, MakeTmpDropsTheDataBlockDescriptor) {
    zvs* s = fake_data_block::make(0, "local", 0, false);
    s->data_block_descriptor = fake_data_block::area + 252;
    s->data_block_offset = 252;
    zvs_maketmp(s);
    EXPECT_EQ(s->data_block_descriptor, nullptr);
    EXPECT_EQ(s->data_block_offset, 0);
    EXPECT_EQ(s->temporary, 1);
}

}  // namespace
