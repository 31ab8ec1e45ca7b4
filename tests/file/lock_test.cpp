// LOCK and UNLOCK: the byte ranges records and bytes give, checked through a second
// file number on the same file, and the errors.
#include <fcntl.h>
#include <sys/wait.h>

#include <climits>
#include <vector>

#include "file/byte_element.h"
#include "file/get_put.h"
#include "file/lock.h"
#include "file_fixture.h"

namespace {

class LockTest : public FileTest {
protected:
    // GET of one byte at 0-based byte b through #2: the error it raises.
    static int32_t probe(int64_t b) {
        uint8_t v;
        byte_element_struct e;
        sub_get(2, b + 1, byte_element(reinterpret_cast<uint64_t>(&v), 1, &e), 1);
        return take_error();
    }
};

TEST_F(LockTest, RangesInRecordsAndBytes) {
    constexpr int64_t whole = -1;
    struct row {
        const char* what;
        int32_t mode;
        int64_t record_length;
        int64_t start, end;
        int32_t passed;
        int64_t first, last;  // locked bytes; last -1: up to the end of the range
    };
    const row rows[] = {
        {"RANDOM LOCK #1, 3", 1, 100, 3, 0, 1, 200, 299},
        {"RANDOM LOCK #1, 3 TO 5", 1, 100, 3, 5, 3, 200, 499},
        {"RANDOM LOCK #1, TO 5", 1, 100, 0, 5, 2, 0, 499},
        {"BINARY LOCK #1, 5", 2, 0, 5, 0, 1, 4, 4},
        {"BINARY LOCK #1, 5 TO 5", 2, 0, 5, 5, 3, 4, 4},
        {"BINARY LOCK #1", 2, 0, 0, 0, 0, 0, whole},
        {"INPUT LOCK #1, 3", 3, 0, 3, 0, 1, 0, whole},
        {"OUTPUT LOCK #1, 3 TO 4", 4, 0, 3, 4, 3, 0, whole},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.what);
        write_file("f", std::string(1000, 'x'));
        ASSERT_EQ(open("f", r.mode, 1, r.record_length, r.record_length != 0), 0);
        ASSERT_EQ(open("f", 2, 2), 0);
        sub_lock(1, r.start, r.end, r.passed);
        ASSERT_EQ(take_error(), 0);
        if (r.first > 0) {
            EXPECT_EQ(probe(r.first - 1), 0);
        }
        EXPECT_EQ(probe(r.first), 70);
        EXPECT_EQ(probe(r.last == whole ? 999 : r.last), 70);
        if (r.last == whole) {
            EXPECT_EQ(probe(int64_t(1) << 40), 70);
        } else {
            EXPECT_EQ(probe(r.last + 1), 0);
        }
        // UNLOCK with the same arguments frees exactly that range.
        sub_unlock(1, r.start, r.end, r.passed);
        EXPECT_EQ(take_error(), 0);
        EXPECT_EQ(probe(r.first), 0);
        sub_close(0, 0);
    }
}

TEST_F(LockTest, Errors) {
    write_file("f", std::string(100, 'x'));
    ASSERT_EQ(open("f", 1, 1, 10, 1), 0);
    ASSERT_EQ(open("f", 2, 2), 0);
    sub_lock(2, 60, 0, 1);  // #2 holds byte 59
    ASSERT_EQ(take_error(), 0);
    struct row {
        const char* what;
        void (*run)();
        int32_t error;
    };
    const row rows[] = {
        {"LOCK #1, 0", [] { sub_lock(1, 0, 0, 1); }, 5},
        {"LOCK #1, TO 0", [] { sub_lock(1, 0, 0, 2); }, 5},
        {"LOCK #1, 5 TO 3", [] { sub_lock(1, 5, 3, 3); }, 5},
        {"LOCK #1, 2^62 (LEN 10)", [] { sub_lock(1, int64_t(1) << 62, 0, 1); }, 5},
        {"LOCK #1, TO 2^62 (LEN 10)", [] { sub_lock(1, 0, int64_t(1) << 62, 2); }, 5},
        {"UNLOCK of a range never locked", [] { sub_unlock(1, 1, 0, 1); }, 70},
        {"LOCK #1, 3 TO 5", [] { sub_lock(1, 3, 5, 3); }, 0},
        {"then UNLOCK #1, 4", [] { sub_unlock(1, 4, 0, 1); }, 70},
        {"LOCK overlapping its own range", [] { sub_lock(1, 5, 5, 3); }, 70},
        {"LOCK of the range #2 holds", [] { sub_lock(1, 6, 0, 1); }, 70},
        {"LOCK of an unbound number", [] { sub_lock(9, 1, 0, 1); }, 52},
        {"LOCK #-1", [] { sub_lock(-1, 1, 0, 1); }, 52},
        {"UNLOCK #1, 3 TO 5", [] { sub_unlock(1, 3, 5, 3); }, 0},
    };
    for (const row& r : rows) {
        r.run();
        EXPECT_EQ(take_error(), r.error) << r.what;
    }
    // Closing a file gives its ranges up.
    sub_close(2, 1);
    sub_lock(1, 6, 0, 1);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(LockTest, ClosingTheLockingFileFreesTheRange) {
    write_file("f", std::string(10, 'x'));
    ASSERT_EQ(open("f", 2, 1), 0);
    ASSERT_EQ(open("f", 2, 2), 0);
    sub_lock(1, 0, 0, 0);
    EXPECT_EQ(probe(3), 70);
    sub_close(1, 1);
    EXPECT_EQ(probe(3), 0);
}

TEST_F(LockTest, ARangeAnotherProcessHoldsIsRefused) {
    write_file("f", std::string(100, 'x'));
    int ready[2], done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int fd = ::open("f", O_RDWR);
        struct flock fl {};
        fl.l_type = F_WRLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = 20;
        fl.l_len = 10;
        char c = fcntl(fd, F_OFD_SETLK, &fl) == 0 ? 'y' : 'n';
        if (write(ready[1], &c, 1) != 1) _exit(1);
        if (read(done[0], &c, 1) != 1) _exit(1);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    ASSERT_EQ(open("f", 1, 1, 10, 1), 0);
    sub_lock(1, 3, 0, 1);  // bytes 20-29
    EXPECT_EQ(take_error(), 70);
    sub_lock(1, 4, 0, 1);
    EXPECT_EQ(take_error(), 0);
    ASSERT_EQ(write(done[1], "x", 1), 1);
    int status = 0;
    waitpid(child, &status, 0);
    sub_lock(1, 3, 0, 1);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(LockTest, NothingHappensWhileAnErrorIsPending) {
    write_file("f", "abc");
    ASSERT_EQ(open("f", 2, 1), 0);
    ASSERT_EQ(open("f", 2, 2), 0);
    error(5);
    sub_lock(1, 0, 0, 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(probe(0), 0);
    sub_lock(1, 0, 0, 0);
    error(5);
    sub_unlock(1, 0, 0, 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(probe(0), 70);
}

}  // namespace
