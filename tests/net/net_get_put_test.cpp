// GET and PUT statements on negative numbers reach the network handles.
#include "file/byte_element.h"
#include "file/get_put.h"
#include "net_fixture.h"

namespace {

TEST_F(NetTest, GetAndPutStatementsUseTheStream) {
    use_fake();
    int32_t n = func__openclient(text("TCP/IP:7000:h"));
    receive(n, "abcdefgh");
    byte_element_struct e;
    char v[3] = {0, 0, 0};
    sub_get(n, 0, byte_element(reinterpret_cast<uint64_t>(v), 3, &e), 0);
    EXPECT_EQ(std::string(v, 3), "abc");

    // A fixed-length string is read as a block of its length, a variable-length one takes all.
    char fixed_bytes[2];
    zvs* fixed = zvs_new_fixed(fixed_bytes, 2, 0);
    sub_get2(n, 0, fixed, 0);
    EXPECT_EQ(str(fixed), "de");
    zvs* rest = zvs_new(0, 0);
    sub_get2(n, 0, rest, 0);
    EXPECT_EQ(str(rest), "fgh");

    sub_put(n, 0, byte_element(reinterpret_cast<uint64_t>(v), 3, &e), 0);
    std::string s = "-tail";
    sub_put2(n, 0, byte_element(reinterpret_cast<uint64_t>(s.data()), int32_t(s.size()), &e), 0);
    EXPECT_EQ(fake_net::sent, "abc-tail");
    EXPECT_EQ(pending(), 0);
}

}  // namespace
