// CLOSE, EOF and LOF of negative numbers reach the network handles; PRINT # and
// INPUT # of a string ignore them.
#include "file/file_fixture.h"
#include "file/file_queries.h"
#include "file/input_file.h"
#include "file/print_file.h"
#include "net/net_fixture.h"

namespace {

class CloseNetwork : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        net_reset_for_tests();
        traxel_set_handle(0);
        fake_net::reset();
        net_set_backend(&fake_net::backend);
    }
    void TearDown() override {
        net_set_backend(nullptr);
        traxel_reset_for_tests();
        FileTest::TearDown();
    }
};

TEST_F(CloseNetwork, NegativeNumbersNameHandles) {
    int32_t client = func__openclient(text("TCP/IP:7000:h"));
    int32_t other = func__openclient(text("TCP/IP:7001:h"));
    ASSERT_LT(client, 0);
    EXPECT_EQ(func_eof(client), 0);
    EXPECT_EQ(func_lof(client), 0);
    EXPECT_EQ(take_error(), 0);
    sub_file_print(client, text("x"), 0, 0, 1);
    zvs* v = var("keep");
    sub_file_input_string(client, v);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(fake_net::sent, "");
    EXPECT_EQ(str(v), "keep");

    sub_close(client, 1);
    EXPECT_EQ(special_handle_of(client), nullptr);
    EXPECT_NE(special_handle_of(other), nullptr);
    sub_close(-99, 1);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(func_eof(-99), 0);
    EXPECT_EQ(take_error(), 52);
    EXPECT_EQ(func_lof(-99), 0);
    EXPECT_EQ(take_error(), 52);

    // CLOSE without arguments: handles and files alike.
    ASSERT_EQ(open("f", 2, 1), 0);
    sub_close(0, 0);
    EXPECT_EQ(special_handle_of(other), nullptr);
    EXPECT_EQ(gfs_fileno_valid(1), 0);
}

}  // namespace
