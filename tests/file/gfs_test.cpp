// The generic file layer: records and ids, open results, creation rules, sharing,
// short reads, positions and the file-number map.
#include <sys/stat.h>
#include <sys/wait.h>
#include <utime.h>

#include <cerrno>
#include <vector>

#include "file/file_fixture.h"
#include "file/gfs_os.h"

namespace {

class Gfs : public FileTest {
protected:
    static int32_t gopen(const std::string& name, int32_t access, int32_t lock = 0, int32_t creation = 1) {
        return gfs_open(text(name), access, lock, creation);
    }
    static time_t mtime(const std::string& name) {
        struct stat st {};
        stat(name.c_str(), &st);
        return st.st_mtime;
    }
};

TEST_F(Gfs, RecordsAreReusedWithNewIds) {
    write_file("a", "x");
    int32_t a = gopen("a", 3);
    ASSERT_EQ(a, 0);
    EXPECT_EQ(gfs_get_file_struct(a)->id, 1);
    EXPECT_EQ(gfs_close(a), 0);
    int32_t b = gopen("b", 3);
    ASSERT_EQ(b, 0);
    EXPECT_EQ(gfs_get_file_struct(b)->id, 2);
    EXPECT_EQ(gfs_open(text("missing"), 1, 0, 0), gfs_not_found);
    EXPECT_EQ(gopen("c", 3), 1);
    EXPECT_EQ(gfs_get_file_struct(1)->id, 4);
    EXPECT_EQ(gfs_close(b), 0);
    EXPECT_EQ(gfs_close(b), gfs_bad_index);
    EXPECT_EQ(gfs_close(-1), gfs_bad_index);
    EXPECT_EQ(gfs_close(99), gfs_bad_index);
}

TEST_F(Gfs, OpenResults) {
    ASSERT_EQ(mkdir("folder", 0755), 0);
    write_file("ro", "abc", 0444);
    const std::string zero_byte("ab\0c", 4);
    struct Case {
        std::string name;
        int32_t access, creation, expected;
    } cases[] = {
        {"missing", 1, 0, gfs_not_found},
        {"nofolder/x", 3, 1, gfs_path_not_found},
        {"ro/x", 3, 1, gfs_path_not_found},
        {"folder", 1, 0, gfs_denied},
        {"ro", 2, 1, gfs_denied},
        {"ro", 3, 0, gfs_denied},
        {"Q:\\x", 1, 1, gfs_device_unavailable},
        {zero_byte, 3, 1, gfs_not_found},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(gfs_open(text(c.name), c.access, 0, c.creation), c.expected);
    }
    EXPECT_FALSE(exists("ab"));
    EXPECT_EQ(gfs_validhandle(0), 0);  // every failure released its record

    int32_t ro = gopen("ro", 3, 0, 3);
    ASSERT_GE(ro, 0);
    EXPECT_EQ(gfs_get_file_struct(ro)->can_read, 1);
    EXPECT_EQ(gfs_get_file_struct(ro)->can_write, 0);
}

TEST_F(Gfs, TheScreenDeviceTouchesNoDisk) {
    for (const char* name : {"scrn:", "SCRN:xyz"}) {
        int32_t i = gopen(name, 3);
        ASSERT_GE(i, 0) << name;
        gfs_file_struct* f = gfs_get_file_struct(i);
        EXPECT_EQ(f->is_screen, 1);
        EXPECT_EQ(f->is_open, 0);
        EXPECT_EQ(f->os_handle, -1);
        EXPECT_EQ(gfs_validhandle(i), 1);
        EXPECT_EQ(gfs_lof(i), gfs_bad_argument);
        EXPECT_EQ(gfs_setpos(i, 0), gfs_no_access);
        uint8_t b;
        EXPECT_EQ(gfs_read(i, -1, &b, 1), gfs_no_access);
        EXPECT_EQ(gfs_lock(i, -1, -1), gfs_io_error);
        EXPECT_EQ(gfs_eof_reached(i), 0);
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder_));
    // A released screen record no longer validates: the index is reused only once.
    EXPECT_EQ(gfs_close(0), 0);
    EXPECT_EQ(gfs_close(0), gfs_bad_index);
    int32_t a = gopen("a", 3), b = gopen("b", 3);
    EXPECT_NE(a, b);
}

TEST_F(Gfs, CreationRules) {
    write_file("empty", "");
    struct utimbuf old {1000000, 1000000};
    utime("empty", &old);
    int32_t i = gopen("empty", 3, 0, 2);
    ASSERT_GE(i, 0);
    gfs_close(i);
    EXPECT_EQ(mtime("empty"), 1000000);

    write_file("abc", "abc");
    gfs_close(gopen("abc", 3, 0, 1));
    EXPECT_EQ(read_file("abc"), "abc");
    EXPECT_EQ(gopen("abc", 1, 0, 2), gfs_not_found);  // emptying needs write access
    EXPECT_EQ(read_file("abc"), "abc");
    gfs_close(gopen("abc", 2, 0, 2));
    EXPECT_EQ(read_file("abc"), "");

    EXPECT_EQ(gfs_open(text("new"), 1, 0, 0), gfs_not_found);
    EXPECT_FALSE(exists("new"));
    gfs_close(gopen("new", 1, 0, 3));
    EXPECT_TRUE(exists("new"));
}

TEST_F(Gfs, ShortReadZeroFillsAndPositionsKeepTheFlags) {
    write_file("f", "abcd");
    int32_t i = gopen("f", 1, 0, 0);
    uint8_t buffer[10];
    memset(buffer, 0xEE, sizeof buffer);
    EXPECT_EQ(gfs_read(i, 0, buffer, 10), gfs_read_past_end);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 10), std::string("abcd\0\0\0\0\0\0", 10));
    EXPECT_EQ(gfs_read_bytes(), 4);
    EXPECT_EQ(gfs_getpos(i), 4);
    EXPECT_EQ(gfs_eof_passed(i), 1);
    EXPECT_EQ(gfs_eof_reached(i), 1);
    EXPECT_EQ(gfs_setpos(i, 100), 0);
    EXPECT_EQ(gfs_eof_passed(i), 1);
    EXPECT_EQ(gfs_setpos(i, 0), 0);
    EXPECT_EQ(gfs_eof_passed(i), 0);
    EXPECT_EQ(gfs_eof_reached(i), 0);
    EXPECT_EQ(gfs_read(i, -1, buffer, 2), 0);
    EXPECT_EQ(gfs_read_bytes(), 2);
    EXPECT_EQ(gfs_read(i, -1, buffer, 0), 0);
    EXPECT_EQ(gfs_read(i, -1, buffer, -1), gfs_bad_argument);
    EXPECT_EQ(gfs_setpos(i, -1), gfs_bad_argument);
    EXPECT_EQ(gfs_write(i, -1, buffer, 1), gfs_no_access);
    EXPECT_EQ(gfs_lof(i), 4);
}

TEST_F(Gfs, WritesMoveThePositionWithTheFile) {
    int32_t i = gopen("w", 3, 0, 2);
    const uint8_t hello[] = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(gfs_write(i, -1, hello, 5), 0);
    EXPECT_EQ(gfs_write(i, 1, hello, 2), 0);
    EXPECT_EQ(gfs_getpos(i), 3);
    EXPECT_EQ(gfs_write(i, 8, hello, 1), 0);  // past the end: the gap reads as zeros
    EXPECT_EQ(read_file("w"), std::string("hhelo\0\0\0h", 9));
    uint8_t no_read;
    EXPECT_EQ(gfs_read(gopen("wo", 2), -1, &no_read, 1), gfs_no_access);
}

// Two records on one file: the second open's answer while the first holds.
TEST_F(Gfs, ShareModesWithinTheProcess) {
    struct Case {
        int32_t held_access, held_lock, access, lock, creation, expected;
    } cases[] = {
        {3, 3, 1, 0, 1, gfs_denied},
        {3, 2, 1, 0, 1, gfs_ok},
        {3, 2, 2, 0, 1, gfs_denied},
        {3, 0, 3, 1, 1, gfs_denied},
        {1, 1, 2, 0, 1, gfs_ok},
        {3, 2, 2, 0, 2, gfs_denied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.held_lock * 10 + c.access);
        write_file("s", "abc");
        int32_t held = gopen("s", c.held_access, c.held_lock);
        ASSERT_GE(held, 0);
        int32_t second = gopen("s", c.access, c.lock, c.creation);
        EXPECT_EQ(second < 0 ? second : gfs_ok, c.expected);
        if (second >= 0) gfs_close(second);
        gfs_close(held);
        EXPECT_EQ(read_file("s"), "abc");
    }
    EXPECT_FALSE(gfs_os_held("s"));
    int32_t i = gopen("s", 1);
    EXPECT_TRUE(gfs_os_held("s"));
    gfs_close(i);
}

TEST_F(Gfs, AnotherProcessDenyingEverythingRefusesTheOpen) {
    write_file("x", "abc");
    int ready[2], done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    pid_t child = fork();
    if (child == 0) {
        gfs_reset_for_tests();
        int32_t i = gopen("x", 3, 3);
        char c = i >= 0 ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        (void)!read(done[0], &c, 1);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    EXPECT_EQ(gopen("x", 1), gfs_denied);
    (void)!write(done[1], &c, 1);
    int status;
    waitpid(child, &status, 0);
    int32_t i = gopen("x", 1);
    EXPECT_GE(i, 0);
}

TEST_F(Gfs, SystemErrorsAsCodes) {
    ASSERT_EQ(mkdir("there", 0755), 0);
    struct Case {
        int err;
        std::string path;
        int32_t open, io;
    } cases[] = {
        {ENOENT, "there/x", gfs_not_found, gfs_io_error},
        {ENOENT, "nowhere/x", gfs_path_not_found, gfs_io_error},
        {ENOTDIR, "x", gfs_path_not_found, gfs_io_error},
        {ELOOP, "x", gfs_path_not_found, gfs_io_error},
        {EACCES, "x", gfs_denied, gfs_denied},
        {EPERM, "x", gfs_denied, gfs_denied},
        {EROFS, "x", gfs_denied, gfs_io_error},
        {ETXTBSY, "x", gfs_denied, gfs_io_error},
        {EISDIR, "x", gfs_denied, gfs_io_error},
        {EBUSY, "x", gfs_denied, gfs_io_error},
        {ENXIO, "x", gfs_device_unavailable, gfs_io_error},
        {ENODEV, "x", gfs_device_unavailable, gfs_io_error},
        {ENOMEDIUM, "x", gfs_device_unavailable, gfs_io_error},
        {EMFILE, "x", gfs_io_error, gfs_io_error},
        {ENFILE, "x", gfs_io_error, gfs_io_error},
        {EIO, "x", gfs_io_error, gfs_io_error},
        {ENOSPC, "x", gfs_io_error, gfs_io_error},
        {EDQUOT, "x", gfs_io_error, gfs_io_error},
        {EAGAIN, "x", gfs_not_found, gfs_denied},
        {EINVAL, "x", gfs_not_found, gfs_io_error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        EXPECT_EQ(gfs_os_open_error(c.err, c.path), c.open);
        EXPECT_EQ(gfs_os_io_error(c.err), c.io);
    }
}

TEST_F(Gfs, StatementTranslationsOfTheCodes) {
    struct Case {
        gfs_errors family;
        std::vector<std::pair<int32_t, int32_t>> codes;
    } cases[] = {
        {gfs_errors::open, {{-5, 53}, {-6, 76}, {-7, 70}, {-8, 68}, {-11, 64}, {-9, 53}, {-2, 53}}},
        {gfs_errors::open_probe, {{-7, 70}, {-3, 75}, {-9, 75}}},
        {gfs_errors::transfer, {{-2, 258}, {-3, 54}, {-4, 5}, {-7, 70}, {-1, 75}, {-9, 75}}},
        {gfs_errors::lock, {{-2, 258}, {-4, 5}, {-7, 70}, {-3, 75}, {-9, 75}}},
        {gfs_errors::record_move, {{-2, 54}, {-3, 54}}},
    };
    for (const Case& c : cases)
        for (auto [code, error_number] : c.codes) EXPECT_EQ(gfs_error_number(code, c.family), error_number) << code;
}

TEST_F(Gfs, FileNumbers) {
    EXPECT_EQ(gfs_fileno_valid(0), -2);
    EXPECT_EQ(gfs_fileno_valid(-3), -2);
    EXPECT_EQ(gfs_fileno_valid(1000), 0);
    EXPECT_EQ(gfs_fileno_freefile(), 1);
    EXPECT_EQ(gfs_fileno_valid(2000000000), 0);  // no table of that size
    EXPECT_EQ(gfs_get_fileno(2000000000), -1);
    int32_t a = gopen("a", 3), b = gopen("b", 3);
    gfs_fileno_use(1, a);
    gfs_fileno_use(3, b);
    EXPECT_EQ(gfs_fileno_valid(1), 1);
    EXPECT_EQ(gfs_get_fileno(3), b);
    EXPECT_EQ(gfs_get_file_struct(b)->file_number, 3);
    EXPECT_EQ(gfs_fileno_freefile(), 2);
    gfs_fileno_use(2, gopen("c", 3));
    EXPECT_EQ(gfs_fileno_freefile(), 4);
    gfs_close(a);  // closing frees its number
    EXPECT_EQ(gfs_fileno_valid(1), 0);
    gfs_close_all_files();
    EXPECT_EQ(gfs_fileno_freefile(), 1);
    EXPECT_EQ(gfs_validhandle(b), 0);
}

}  // namespace
