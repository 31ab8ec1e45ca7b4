// Slot lists: handle reuse, invalid handles, address stability and alignment.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "list/list.h"

namespace {

struct list_owner {
    list* l;
    explicit list_owner(int32_t size, bool threadsafe = false)
        : l(threadsafe ? list_new_threadsafe(size) : list_new(size)) {}
    ~list_owner() { list_destroy(l); }
};

TEST(List, FirstHandleIsOneAndAFreedHandleComesBackZeroed) {
    for (bool threadsafe : {false, true}) {
        list_owner o(24, threadsafe);
        ASSERT_EQ(list_add(o.l), 1);
        auto* record = static_cast<uint8_t*>(list_get(o.l, 1));
        ASSERT_NE(record, nullptr);
        memset(record, 0xAB, 24);
        EXPECT_EQ(list_remove(o.l, 1), -1);
        EXPECT_EQ(list_get(o.l, 1), nullptr);
        EXPECT_EQ(list_add(o.l), 1);
        EXPECT_EQ(list_get(o.l, 1), record);
        for (int i = 0; i < 24; i++) EXPECT_EQ(record[i], 0) << "byte " << i;
    }
}

TEST(List, FreedHandlesAreReusedLastFreedFirst) {
    list_owner o(8);
    for (int i = 1; i <= 5; i++) ASSERT_EQ(list_add(o.l), i);
    EXPECT_EQ(list_remove(o.l, 3), -1);
    EXPECT_EQ(list_remove(o.l, 5), -1);
    EXPECT_EQ(list_add(o.l), 5);
    EXPECT_EQ(list_add(o.l), 3);
    EXPECT_EQ(list_add(o.l), 6);
}

TEST(List, InvalidHandlesGiveNullAndRemoveZero) {
    list_owner o(4);
    for (int i = 0; i < 3; i++) list_add(o.l);
    list_remove(o.l, 2);
    struct {
        int32_t handle;
        bool live;
    } cases[] = {{0, false}, {-1, false}, {INT32_MIN, false}, {4, false}, {INT32_MAX, false},
                 {2, false}, {1, true},   {3, true}};
    for (auto c : cases) {
        EXPECT_EQ(list_get(o.l, c.handle) != nullptr, c.live) << "get " << c.handle;
    }
    for (auto c : cases) {
        EXPECT_EQ(list_remove(o.l, c.handle), c.live ? -1 : 0) << "remove " << c.handle;
    }
    EXPECT_EQ(list_remove(o.l, 1), 0) << "second remove of one handle";
}

TEST(List, EmptyListHasNoRecords) {
    list_owner o(16);
    EXPECT_EQ(list_get(o.l, 1), nullptr);
    EXPECT_EQ(list_remove(o.l, 1), 0);
}

TEST(List, RecordsKeepTheirAddressesAndAlignmentAsTheListGrows) {
    for (int32_t size : {1, 12, 24, 40}) {
        list_owner o(size);
        std::vector<uint8_t*> records;
        auto pattern = [&](int32_t h, int32_t i) { return uint8_t(h * 31 + i * 7 + size); };
        for (int32_t h = 1; h <= 10000; h++) {
            ASSERT_EQ(list_add(o.l), h);
            auto* r = static_cast<uint8_t*>(list_get(o.l, h));
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(reinterpret_cast<uintptr_t>(r) % 16, 0u) << "size " << size << " handle " << h;
            for (int32_t i = 0; i < size; i++) r[i] = pattern(h, i);
            records.push_back(r);
        }
        for (int32_t h = 10001; h <= 40000; h++) ASSERT_EQ(list_add(o.l), h);
        for (int32_t h = 1; h <= 10000; h++) {
            uint8_t* r = records[h - 1];
            ASSERT_EQ(list_get(o.l, h), r) << "size " << size << " handle " << h;
            ASSERT_EQ(list_get_index(o.l, r), h);
            for (int32_t i = 0; i < size; i++) ASSERT_EQ(r[i], pattern(h, i)) << "size " << size << " handle " << h;
        }
    }
}

TEST(List, HandleWordFollowsTheRecordWithoutTouchingIt) {
    // Writing every byte of a record never disturbs its own or its neighbour's handle.
    list_owner o(13);
    for (int i = 0; i < 100; i++) list_add(o.l);
    for (int32_t h = 1; h <= 100; h++) memset(list_get(o.l, h), 0xFF, 13);
    for (int32_t h = 1; h <= 100; h++) EXPECT_EQ(list_get_index(o.l, list_get(o.l, h)), h);
    EXPECT_EQ(list_get_index(o.l, nullptr), 0);
}

TEST(List, ZeroSizedRecordsStillGetHandles) {
    list_owner o(0);
    EXPECT_EQ(list_add(o.l), 1);
    EXPECT_EQ(list_add(o.l), 2);
    EXPECT_NE(list_get(o.l, 1), list_get(o.l, 2));
}

TEST(List, ManyRemovesGrowTheFreeStack) {
    list_owner o(8);
    for (int i = 0; i < 5000; i++) list_add(o.l);
    for (int32_t h = 1; h <= 5000; h++) ASSERT_EQ(list_remove(o.l, h), -1);
    for (int32_t h = 5000; h >= 1; h--) ASSERT_EQ(list_add(o.l), h);
    EXPECT_EQ(list_add(o.l), 5001);
}

}  // namespace
