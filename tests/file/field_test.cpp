// FIELD: slices of the record buffer, LSET and RSET through fielded strings, record
// moves, and strings whose file was closed or reopened.
#include <climits>

#include "file/field.h"
#include "file_fixture.h"
#include "string/string_functions.h"
#include "string/zvs_seams.h"

namespace {

class FieldTest : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        field_reset_for_tests();
        field_global_init();
    }
    void TearDown() override {
        FileTest::TearDown();
        zvs_set_field_hooks(nullptr, nullptr);
    }
    static std::string buffer(int32_t n) {
        gfs_file_struct* f = file(n);
        return std::string(reinterpret_cast<char*>(f->record_buffer), size_t(f->record_length));
    }
    // FIELD #1, 10 AS a, 20 AS b on a fresh RANDOM file with LEN 30.
    void field_a_b(zvs* a, zvs* b) {
        ASSERT_EQ(open("r", 1, 1, 30, 1), 0);
        field_new(1);
        field_add(a, 10);
        field_add(b, 20);
        ASSERT_EQ(take_error(), 0);
    }
};

TEST_F(FieldTest, ItemsMustFitTheRecord) {
    struct row {
        const char* what;
        int64_t third_width;  // after 10 AS a$, 20 AS b$ (-2: only 10 AS a$ then this width)
        int32_t error;
        bool third_fielded;
    };
    const row rows[] = {
        {"1 AS c$ after the record is full", 1, 50, false},
        {"0 AS c$ after the record is full", 0, 0, true},
        {"a huge width", INT64_MAX, 50, false},
        {"a negative width", -1, 5, false},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.what);
        zvs* a = var();
        zvs* b = var();
        zvs* c = var("c");
        field_a_b(a, b);
        field_add(c, r.third_width);
        EXPECT_EQ(take_error(), r.error);
        EXPECT_EQ(c->field_link != nullptr, r.third_fielded);
        EXPECT_EQ(a->length, 10);
        EXPECT_EQ(b->length, 20);
        EXPECT_EQ(file(1)->field_string_count, r.third_fielded ? 3 : 2);
        // An error ends the statement: later items do nothing.
        zvs* d = var();
        field_add(d, 0);
        EXPECT_EQ(d->field_link != nullptr, r.error == 0);
        sub_close(1, 1);
    }
}

TEST_F(FieldTest, FieldedStringsShowTheirSlices) {
    write_file("r", std::string(10, 'A') + std::string(20, 'B'));
    zvs* a = var("something longer than ten");
    zvs* b = var("x");
    field_a_b(a, b);
    // The buffer is zero until a GET: the strings show that.
    EXPECT_EQ(str(a), std::string(10, '\0'));
    field_get(1, 1, 1);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(str(a), std::string(10, 'A'));
    EXPECT_EQ(str(b), std::string(20, 'B'));
}

TEST_F(FieldTest, LsetAndRsetFillTheSliceAndLeaveTheOthers) {
    struct row {
        bool right;
        const char* source;
        const char* result;
    };
    const row rows[] = {
        {false, "", "          "},
        {false, "xy", "xy        "},
        {true, "ab", "        ab"},
        {true, "123456789012", "1234567890"},
        {false, "123456789012", "1234567890"},
    };
    zvs* a = var();
    zvs* b = var();
    field_a_b(a, b);
    memset(file(1)->record_buffer + 10, 'b', 20);
    field_update(1);
    for (const row& r : rows) {
        zvs* src = var(r.source);
        if (r.right) sub_rset(a, src);
        else sub_lset(a, src);
        EXPECT_EQ(str(a), r.result) << r.source;
        EXPECT_EQ(buffer(1), r.result + std::string(20, 'b')) << r.source;
        EXPECT_EQ(str(b), std::string(20, 'b'));
    }
}

TEST_F(FieldTest, RecordMovesRoundTripTheBuffer) {
    zvs* a = var();
    zvs* b = var();
    field_a_b(a, b);
    sub_lset(a, var("first"));
    field_put(1, 1, 1);
    sub_lset(a, var("second"));
    sub_rset(b, var("right"));
    field_put(1, 2, 1);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(file(1)->position, 60);

    sub_lset(a, var(""));
    field_get(1, 1, 1);
    EXPECT_EQ(str(a), "first     ");
    field_get(1, 0, 0);  // the next record
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(str(a), "second    ");
    EXPECT_EQ(str(b), std::string(15, ' ') + "right");
    sub_close(1, 1);
    std::string f = read_file("r");
    ASSERT_EQ(f.size(), 60u);
    EXPECT_EQ(f.substr(30, 10), "second    ");

    // A record past the end reads as zero bytes.
    ASSERT_EQ(open("r", 1, 1, 30, 1), 0);
    zvs* c = var();
    field_new(1);
    field_add(c, 30);
    field_get(1, 5, 1);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(str(c), std::string(30, '\0'));
}

TEST_F(FieldTest, StringsOfAClosedFileBecomeOrdinaryStrings) {
    zvs* a = var();
    zvs* b = var();
    field_a_b(a, b);
    sub_close(1, 1);
    ASSERT_EQ(open("other", 1, 1, 30, 1), 0);
    sub_lset(a, var("x"));
    EXPECT_EQ(a->field_link, nullptr);
    EXPECT_EQ(str(a).substr(0, 1), "x");
    EXPECT_EQ(buffer(1), std::string(30, '\0'));
    // Fielding it again ties it to the new file.
    field_new(1);
    field_add(a, 5);
    EXPECT_EQ(take_error(), 0);
    sub_lset(a, var("hello"));
    EXPECT_EQ(buffer(1).substr(0, 5), "hello");
    // b is still stale; releasing it must not touch the new file's list.
    zvs_free(b);
    EXPECT_EQ(file(1)->field_string_count, 1);
}

TEST_F(FieldTest, ReleasingOrRefieldingAStringUntiesIt) {
    zvs* a = var();
    zvs* b = var();
    field_a_b(a, b);
    zvs_free(a);
    ASSERT_EQ(file(1)->field_string_count, 1);
    EXPECT_EQ(file(1)->field_strings[0], b);
    // b fielded again, to the first bytes: one entry, the new slice.
    field_new(1);
    field_add(b, 4);
    EXPECT_EQ(file(1)->field_string_count, 1);
    EXPECT_EQ(b->length, 4);
    sub_lset(b, var("abcd"));
    EXPECT_EQ(buffer(1).substr(0, 10), std::string("abcd") + std::string(6, '\0'));
    EXPECT_EQ(zvs_check_invariants(), "");
}

TEST_F(FieldTest, Errors) {
    write_file("b", "");
    ASSERT_EQ(open("b", 2, 2), 0);
    sub_open(text("w"), 1, 3, 0, 3, 30, 1);  // RANDOM ACCESS WRITE
    ASSERT_EQ(take_error(), 0);
    ASSERT_EQ(open("r", 1, 1, 30, 1), 0);
    struct row {
        const char* what;
        void (*run)();
        int32_t error;
    };
    const row rows[] = {
        {"FIELD on BINARY", [] { field_new(2); }, 54},
        {"FIELD of an unbound number", [] { field_new(9); }, 52},
        {"FIELD #0", [] { field_new(0); }, 52},
        {"FIELD #-1", [] { field_new(-1); }, 54},
        {"GET #-1 without a variable", [] { field_get(-1, 0, 0); }, 54},
        {"PUT #-1 without a variable", [] { field_put(-1, 0, 0); }, 54},
        {"GET on BINARY without a variable", [] { field_get(2, 0, 0); }, 54},
        {"GET of an unbound number", [] { field_get(9, 0, 0); }, 52},
        {"PUT #1, 0 without a variable", [] { field_put(1, 0, 1); }, 63},
        {"GET #1, 2^62 without a variable", [] { field_get(1, int64_t(1) << 62, 1); }, 63},
        {"GET without read access", [] { field_get(3, 0, 0); }, 75},
    };
    for (const row& r : rows) {
        r.run();
        EXPECT_EQ(take_error(), r.error) << r.what;
    }
}

TEST_F(FieldTest, RecordMovesDoNothingWhileAnErrorIsPending) {
    write_file("r", std::string(30, 'r'));
    zvs* a = var();
    zvs* b = var();
    field_a_b(a, b);
    sub_lset(a, var("buffer"));
    error(5);
    field_get(1, 1, 1);
    field_put(1, 2, 1);
    zvs* c = var();
    field_new(1);
    error_reset_for_tests();
    field_add(c, 1);  // the statement never started
    EXPECT_EQ(c->field_link, nullptr);
    EXPECT_EQ(str(a), "buffer    ");
    EXPECT_EQ(read_file("r"), std::string(30, 'r'));
}

TEST_F(FieldTest, APendingErrorEndsTheStatement) {
    ASSERT_EQ(open("r", 1, 1, 30, 1), 0);
    zvs* a = var();
    zvs* b = var();
    field_new(1);
    field_add(a, 10);
    error(5);
    field_add(b, 10);
    error_reset_for_tests();
    field_add(b, 10);
    EXPECT_EQ(b->field_link, nullptr);
    EXPECT_EQ(take_error(), 0);
    // FIELD of a file that was closed in between.
    field_new(1);
    sub_close(1, 1);
    field_add(b, 10);
    EXPECT_EQ(take_error(), 52);
    EXPECT_EQ(b->field_link, nullptr);
}

}  // namespace
