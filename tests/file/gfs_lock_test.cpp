// The byte-range lock engine: ranges seen by another record's reads and writes, its
// own list of ranges, and locks held by another process.
#include <sys/wait.h>

#include "file/file_fixture.h"

namespace {

class GfsLock : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        write_file("data", std::string(1000, 'd'));
        holder_ = gfs_open(text("data"), 3, 0, 1);
        other_ = gfs_open(text("data"), 3, 0, 1);
        ASSERT_GE(holder_, 0);
        ASSERT_GE(other_, 0);
    }
    // One byte at position through the other record.
    int32_t read_at(int64_t position) {
        uint8_t b;
        return gfs_read(other_, position, &b, 1);
    }
    int32_t write_at(int64_t position) {
        uint8_t b = 'w';
        return gfs_write(other_, position, &b, 1);
    }
    int32_t holder_ = -1, other_ = -1;
};

TEST_F(GfsLock, RangesRefuseOtherRecordsExactly) {
    struct Case {
        int64_t start, end;
        int64_t first_locked, last_locked;  // -1: to the end of the range
    } cases[] = {
        {200, 299, 200, 299},
        {4, 4, 4, 4},
        {-1, 499, 0, 499},
        {-1, -1, 0, -1},
        {10, -1, 10, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start * 1000 + c.end);
        ASSERT_EQ(gfs_lock(holder_, c.start, c.end), 0);
        EXPECT_EQ(read_at(c.first_locked), gfs_denied);
        EXPECT_EQ(write_at(c.first_locked), gfs_denied);
        if (c.first_locked > 0) {
            EXPECT_EQ(read_at(c.first_locked - 1), 0);
        }
        if (c.last_locked >= 0) {
            EXPECT_EQ(read_at(c.last_locked), gfs_denied);
            EXPECT_EQ(read_at(c.last_locked + 1), 0);
        } else {
            EXPECT_EQ(read_at(999), gfs_denied);
            EXPECT_EQ(write_at(5000000), gfs_denied);
        }
        // The holder itself is never refused.
        uint8_t b;
        EXPECT_EQ(gfs_read(holder_, c.first_locked, &b, 1), 0);
        EXPECT_EQ(gfs_unlock(holder_, c.start, c.end), 0);
        EXPECT_EQ(read_at(c.first_locked), 0);
    }
}

TEST_F(GfsLock, MalformedRangesAndTheOwnList) {
    EXPECT_EQ(gfs_lock(holder_, 5, 3), gfs_bad_argument);
    EXPECT_EQ(gfs_lock(holder_, -2, 3), gfs_bad_argument);
    EXPECT_EQ(gfs_lock(holder_, 0, -2), gfs_bad_argument);
    EXPECT_EQ(gfs_lock(holder_, 0, -4294967296LL), gfs_bad_argument);
    EXPECT_EQ(read_at(4), 0);  // nothing was locked by any of them
    EXPECT_EQ(gfs_unlock(holder_, 0, 10), gfs_denied);  // never locked
    ASSERT_EQ(gfs_lock(holder_, 200, 499), 0);
    EXPECT_EQ(gfs_unlock(holder_, 300, 399), gfs_denied);  // must match exactly
    EXPECT_EQ(gfs_lock(holder_, 450, 600), gfs_denied);    // overlaps its own
    EXPECT_EQ(gfs_lock(other_, 0, 200), gfs_denied);       // overlaps another's
    EXPECT_EQ(gfs_lock(other_, 0, 199), 0);
    EXPECT_EQ(gfs_lock(-1, 0, 0), gfs_bad_index);
    gfs_close(holder_);
    EXPECT_EQ(read_at(300), 0);  // closing releases every lock
}

TEST_F(GfsLock, EmptyingAFileWithLockedBytesIsRefusedAndKeepsThem) {
    ASSERT_EQ(gfs_lock(holder_, 900, 999), 0);
    EXPECT_EQ(gfs_open(text("data"), 2, 0, 2), gfs_denied);
    EXPECT_EQ(read_file("data"), std::string(1000, 'd'));
    ASSERT_EQ(gfs_unlock(holder_, 900, 999), 0);
    int32_t emptied = gfs_open(text("data"), 2, 0, 2);
    ASSERT_GE(emptied, 0);
    EXPECT_EQ(read_file("data"), "");
}

TEST_F(GfsLock, AReadOnlyRecordLocksExclusively) {
    int32_t reader = gfs_open(text("data"), 1, 0, 0);
    ASSERT_EQ(gfs_lock(reader, -1, -1), 0);
    EXPECT_EQ(read_at(0), gfs_denied);
    EXPECT_EQ(gfs_lock(holder_, 0, 0), gfs_denied);
    gfs_unlock(reader, -1, -1);
    ASSERT_EQ(gfs_lock(holder_, 0, 0), 0);
    EXPECT_EQ(gfs_lock(reader, 0, 5), gfs_denied);  // a read lock only where nobody else holds
}

TEST_F(GfsLock, ALockHeldByAnotherProcess) {
    int ready[2], done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    pid_t child = fork();
    if (child == 0) {
        gfs_reset_for_tests();
        int32_t i = gfs_open(text("data"), 3, 0, 1);
        char c = i >= 0 && gfs_lock(i, 100, 199) == 0 ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        (void)!read(done[0], &c, 1);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    EXPECT_EQ(gfs_lock(holder_, 150, 150), gfs_denied);
    EXPECT_EQ(read_at(199), gfs_denied);
    EXPECT_EQ(read_at(200), 0);
    (void)!write(done[1], &c, 1);
    int status;
    waitpid(child, &status, 0);
    EXPECT_EQ(read_at(150), 0);
}

}  // namespace
