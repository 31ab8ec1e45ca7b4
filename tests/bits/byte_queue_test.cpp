// The chunked byte FIFO: order, partial reads, draining and reuse.
#include <gtest/gtest.h>

#include <string>

#include "support/byte_queue.h"

namespace {
std::string read(libzv_buffer* b, int32_t n, int32_t* got) {
    std::string out(size_t(n > 0 ? n : 0), '\0');
    *got = libzv_buffer_read(b, out.data(), n);
    out.resize(size_t(*got));
    return out;
}
}  // namespace

TEST(ByteQueue, ReadsAcrossChunksInOrderAndDrains) {
    libzv_buffer b;
    libzv_buffer_init(&b);
    libzv_buffer_write(&b, "abc", 3);
    libzv_buffer_write(&b, "de", 2);
    libzv_buffer_write(&b, "fgh", 3);
    EXPECT_EQ(libzv_buffer_length(&b), 8);
    int32_t got;
    EXPECT_EQ(read(&b, 4, &got), "abcd");
    EXPECT_EQ(libzv_buffer_length(&b), 4);
    EXPECT_EQ(read(&b, 10, &got), "efgh");
    EXPECT_EQ(got, 4);
    EXPECT_EQ(read(&b, 10, &got), "");
    EXPECT_EQ(got, 0);
    // The tail link was reset by the drain: a new write is readable.
    libzv_buffer_write(&b, "x", 1);
    EXPECT_EQ(read(&b, 5, &got), "x");
    EXPECT_EQ(libzv_buffer_length(&b), 0);
    libzv_buffer_clear(&b);
}

TEST(ByteQueue, EmptyAndNegativeCountsChangeNothing) {
    libzv_buffer b;
    libzv_buffer_init(&b);
    libzv_buffer_write(&b, "", 0);
    libzv_buffer_write(&b, "zz", -3);
    libzv_buffer_write(&b, "ok", 2);
    int32_t got;
    EXPECT_EQ(read(&b, 0, &got), "");
    EXPECT_EQ(libzv_buffer_read(&b, nullptr, -1), 0);
    EXPECT_EQ(read(&b, 9, &got), "ok");
    libzv_buffer_clear(&b);
}

TEST(ByteQueue, ClearFreesEverythingAndStartsAgain) {
    libzv_buffer b;
    libzv_buffer_init(&b);
    libzv_buffer_write(&b, "abc", 3);
    libzv_buffer_write(&b, "de", 2);
    int32_t got;
    read(&b, 1, &got);
    libzv_buffer_clear(&b);
    EXPECT_EQ(libzv_buffer_length(&b), 0);
    libzv_buffer_write(&b, "q", 1);
    EXPECT_EQ(read(&b, 3, &got), "q");
    libzv_buffer_clear(&b);
}
