// OPEN, CLOSE and FREEFILE: the arguments handed to the file layer, the errors in
// their order, the modes' starting positions and the close-all.
#include "file/file_fixture.h"
#include "lifecycle/end.h"
#include "lifecycle/main_loop.h"

#if defined(__SANITIZE_ADDRESS__)
// A record length too large for memory must come back as a failed allocation.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
#endif

namespace {

enum { random_mode = 1, binary_mode = 2, input_mode = 3, output_mode = 4, append_mode = 5 };
enum { access_rw = 1, access_read = 2, access_write = 3 };
enum { lock_shared = 1, lock_rw = 2, lock_read = 3, lock_write = 4 };

using OpenClose = FileTest;

TEST_F(OpenClose, ArgumentsForTheFileLayer) {
    struct Case {
        int32_t mode, access, lock;
        gfs_open_arguments expected;
    } cases[] = {
        {random_mode, 0, 0, {3, 0, 3}},
        {0, 0, 0, {3, 0, 3}},
        {random_mode, access_read, 0, {1, 0, 1}},
        {binary_mode, 0, lock_rw, {3, 3, 3}},
        {input_mode, 0, lock_shared, {1, 0, 0}},
        {output_mode, 0, 0, {2, 0, 2}},
        {append_mode, 0, 0, {2, 0, 1}},
        {output_mode, access_rw, lock_write, {3, 2, 2}},
        {binary_mode, access_write, lock_read, {2, 1, 1}},
    };
    for (const Case& c : cases) {
        gfs_open_arguments a = open_arguments(c.mode == 0 ? 1 : c.mode, c.access, c.lock);
        SCOPED_TRACE(c.mode * 100 + c.access * 10 + c.lock);
        EXPECT_EQ(a.access, c.expected.access);
        EXPECT_EQ(a.lock, c.expected.lock);
        EXPECT_EQ(a.creation, c.expected.creation);
    }
}

TEST_F(OpenClose, ErrorsInTheirOrder) {
    ASSERT_EQ(mkdir("folder", 0755), 0);
    write_file("ro", "abc", 0444);
    write_file("held", "abc");
    ASSERT_EQ(open("old", binary_mode, 1), 0);
    sub_open(text("held"), binary_mode, 0, lock_write, 9, 0, 0);
    ASSERT_EQ(take_error(), 0);
    struct Case {
        std::string name;
        int32_t mode, n;
        int64_t length;
        int32_t passed, error;
    } cases[] = {
        {"x", binary_mode, 2, 0, 1, 5},
        {"x", binary_mode, 2, -2, 1, 5},
        {"x", binary_mode, 0, 0, 0, 52},
        {"x", binary_mode, -1, 0, 0, 52},
        {"x", binary_mode, 1, 0, 0, 55},
        {"missing", input_mode, 2, 0, 0, 53},
        {"nofolder/x", output_mode, 2, 0, 0, 76},
        {"ro", output_mode, 2, 0, 0, 70},
        {"folder", input_mode, 2, 0, 0, 70},
        {"COM:", binary_mode, 2, 0, 0, 64},
        {"COM256:", binary_mode, 2, 0, 0, 64},
        {"held", output_mode, 2, 0, 0, 70},
        {"Q:\\x", binary_mode, 2, 0, 0, 68},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " #" + std::to_string(c.n));
        EXPECT_EQ(open(c.name, c.mode, c.n, c.length, c.passed), c.error);
        EXPECT_EQ(gfs_fileno_valid(2), 0);
    }
    EXPECT_FALSE(exists("x"));
    EXPECT_EQ(read_file("held"), "abc");
    ASSERT_NE(file(1), nullptr);
    EXPECT_EQ(file(1)->basic_mode, binary_mode);

    // A pending error: OPEN does nothing.
    error(5);
    sub_open(text("y"), binary_mode, 0, 0, 3, 0, 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_FALSE(exists("y"));
}

TEST_F(OpenClose, NamesThatAreNotSerialPortsAreFiles) {
    EXPECT_EQ(open("COM01:", binary_mode, 1), 0);
    EXPECT_EQ(open("COMX:", binary_mode, 2), 0);
    EXPECT_TRUE(exists("COM01:"));
    EXPECT_TRUE(exists("COMX:"));
}

TEST_F(OpenClose, TheNullDevice) {
    for (const char* name : {"NUL", "nul"}) {
        ASSERT_EQ(open(name, output_mode, 1), 0) << name;
        const uint8_t x = 'x';
        EXPECT_EQ(gfs_write(gfs_get_fileno(1), -1, &x, 1), 0);
        sub_close(1, 1);
        ASSERT_EQ(open(name, input_mode, 1), 0) << name;
        EXPECT_EQ(gfs_eof_reached(gfs_get_fileno(1)), 1);
        sub_close(1, 1);
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder_));
}

TEST_F(OpenClose, TheScreenDevice) {
    EXPECT_EQ(open("SCRN:", output_mode, 2), 0);
    EXPECT_EQ(file(2)->is_screen, 1);
    EXPECT_EQ(open("scrn:", input_mode, 3), 75);  // the probe: no read access
    ASSERT_NE(file(3), nullptr);
    EXPECT_EQ(file(3)->is_screen, 1);
    EXPECT_TRUE(std::filesystem::is_empty(folder_));
    sub_close(3, 1);
    EXPECT_EQ(gfs_fileno_valid(3), 0);
}

TEST_F(OpenClose, RandomRecordBuffers) {
    write_file("r", "");
    struct Case {
        int64_t length;
        int32_t passed;
        int64_t expected;
    } cases[] = {{0, 0, 128}, {-1, 1, 128}, {64, 1, 64}, {1, 1, 1}};
    for (const Case& c : cases) {
        ASSERT_EQ(open("r", random_mode, 1, c.length, c.passed), 0);
        gfs_file_struct* f = file(1);
        EXPECT_EQ(f->record_length, c.expected);
        EXPECT_EQ(f->print_column, 1);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(f->record_buffer), c.expected), std::string(c.expected, '\0'));
        sub_close(1, 1);
    }
    // A length too large for memory: the number stays free and nothing is left open.
    EXPECT_EQ(open("r", random_mode, 1, int64_t(1) << 62, 1), 7);
    EXPECT_EQ(gfs_fileno_valid(1), 0);
    EXPECT_EQ(open("r", random_mode, 1), 0);
}

TEST_F(OpenClose, ReadOnlyFilesOpenForRandomWithReadAccessOnly) {
    write_file("ro", "abc", 0444);
    ASSERT_EQ(open("ro", random_mode, 1), 0);
    EXPECT_EQ(file(1)->can_read, 1);
    EXPECT_EQ(file(1)->can_write, 0);
    sub_open(text("ro"), random_mode, access_rw, 0, 2, 0, 0);  // no fall-back with ACCESS
    EXPECT_EQ(take_error(), 70);
}

TEST_F(OpenClose, AppendStartsAtTheEnd) {
    write_file("a", "0123456789");
    ASSERT_EQ(open("a", append_mode, 1), 0);
    EXPECT_EQ(file(1)->basic_mode, output_mode);
    EXPECT_EQ(gfs_getpos(gfs_get_fileno(1)), 10);
    const uint8_t x = 'x';
    EXPECT_EQ(gfs_write(gfs_get_fileno(1), -1, &x, 1), 0);
    EXPECT_EQ(read_file("a"), "0123456789x");
    ASSERT_EQ(open("fresh", append_mode, 2), 0);
    EXPECT_EQ(gfs_getpos(gfs_get_fileno(2)), 0);
}

TEST_F(OpenClose, OutputEmptiesTheFile) {
    write_file("o", "old");
    ASSERT_EQ(open("o", output_mode, 1), 0);
    EXPECT_EQ(read_file("o"), "");
    sub_open(text("o2"), output_mode, access_read, 0, 2, 0, 0);  // empty: opens read-only
    EXPECT_EQ(take_error(), 0);
    write_file("o3", "keep");
    sub_open(text("o3"), output_mode, access_read, 0, 3, 0, 0);
    EXPECT_EQ(take_error(), 53);
    EXPECT_EQ(read_file("o3"), "keep");
}

TEST_F(OpenClose, InputProbesTheFirstByte) {
    struct Case {
        std::string bytes;
        int32_t eof;
    } cases[] = {{"\x1a" "abc", 1}, {"", 1}, {"abc", 0}};
    for (const Case& c : cases) {
        write_file("i", c.bytes);
        ASSERT_EQ(open("i", input_mode, 1), 0);
        int32_t index = gfs_get_fileno(1);
        EXPECT_EQ(gfs_getpos(index), 0);
        EXPECT_EQ(gfs_eof_passed(index) || gfs_eof_reached(index), c.eof) << c.bytes;
        sub_close(1, 1);
    }
}

TEST_F(OpenClose, LegacyForm) {
    write_file("f", "");
    sub_open_gwbasic(text("r"), 1, text("f"), 64, 1);
    ASSERT_EQ(take_error(), 0);
    EXPECT_EQ(file(1)->basic_mode, random_mode);
    EXPECT_EQ(file(1)->record_length, 64);
    sub_open_gwbasic(text("Append"), 2, text("f"), 0, 0);
    ASSERT_EQ(take_error(), 0);
    EXPECT_EQ(file(2)->basic_mode, output_mode);
    for (const char* bad : {"X", ""}) {
        sub_open_gwbasic(text(bad), 3, text("f"), 0, 0);
        EXPECT_EQ(take_error(), 54) << bad;
        EXPECT_EQ(gfs_fileno_valid(3), 0);
    }
}

TEST_F(OpenClose, CloseAndFreefile) {
    for (int32_t n : {1, 3}) ASSERT_EQ(open("f" + std::to_string(n), binary_mode, n), 0);
    EXPECT_EQ(func_freefile(), 2);
    ASSERT_EQ(open("f2", binary_mode, 2), 0);
    EXPECT_EQ(func_freefile(), 4);
    sub_close(7, 1);
    sub_close(0, 1);
    sub_close(-9, 1);
    EXPECT_EQ(take_error(), 0);
    sub_close(2, 1);
    EXPECT_EQ(func_freefile(), 2);

    // CLOSE itself waits while an error is pending; FREEFILE and the close-all do not.
    error(5);
    sub_close(1, 1);
    sub_close(0, 0);
    EXPECT_EQ(gfs_fileno_valid(1), 1);
    EXPECT_EQ(func_freefile(), 2);
    file_close_all();
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(gfs_fileno_valid(1), 0);
    EXPECT_EQ(gfs_fileno_valid(3), 0);
    EXPECT_EQ(func_freefile(), 1);

    ASSERT_EQ(open("f1", binary_mode, 5), 0);
    sub_close(0, 0);
    EXPECT_EQ(gfs_fileno_valid(5), 0);
}

// END and CLEAR close through the end module's hook, the shutdown through the
// housekeeping loop's; both reach the close-all once the module has started.
TEST_F(OpenClose, TheRuntimesEndsCloseEveryFile) {
    file_global_init();
    for (auto close : {close_all_files, main_loop_default_hooks().shutdown_close}) {
        ASSERT_EQ(open("f", binary_mode, 4), 0);
        error(5);  // a declined error box leaves its error pending
        close();
        EXPECT_EQ(take_error(), 5);
        EXPECT_EQ(gfs_fileno_valid(4), 0);
    }
    end_set_close_all_files(nullptr);
}

}  // namespace
