// The file statements on negative numbers: GET, PUT, LOF, EOF and CLOSE of streams,
// hosts and HTTP requests.
#include "net_fixture.h"

namespace {

TEST_F(NetTest, StreamGetTakesBytesFromTheFrontOrSetsEndOfFile) {
    use_fake();
    int32_t n = func__openclient(text("TCP/IP:7000:h"));
    receive(n, "abc");
    uint8_t v[4] = {'w', 'x', 'y', 'z'};
    net_file_get(n, v, 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(v), 4), "wxyz");
    EXPECT_EQ(net_file_eof(n), -1);
    EXPECT_EQ(net_file_lof(n), 3);

    net_file_get(n, v, 2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(v), 4), "abyz");
    EXPECT_EQ(net_file_eof(n), 0);
    EXPECT_EQ(net_file_lof(n), 1);

    receive(n, "def");
    zvs* s = zvs_new(0, 0);
    net_file_get_string(n, s);
    EXPECT_EQ(str(s), "cdef");
    EXPECT_EQ(net_file_lof(n), 0);
    net_file_get_string(n, s);
    EXPECT_EQ(str(s), "");
    EXPECT_EQ(pending(), 0);
}

TEST_F(NetTest, StringGetClearsTheStreamsEndOfFile) {
    use_fake();
    int32_t n = func__openclient(text("TCP/IP:7000:h"));
    uint8_t v[2];
    net_file_get(n, v, 2);
    EXPECT_EQ(net_file_eof(n), -1);
    zvs* s = zvs_new(0, 0);
    net_file_get_string(n, s);
    EXPECT_EQ(net_file_eof(n), 0);
}

TEST_F(NetTest, PutSendsOnStreamsOnly) {
    use_fake();
    int32_t client = func__openclient(text("TCP/IP:7000:h"));
    int32_t host = func__openhost(text("TCP/IP:7001"));
    int32_t accepted = func__openconnection(host);
    int32_t http = func__openclient(text("http:x"));
    net_file_put(client, reinterpret_cast<const uint8_t*>("he"), 2);
    net_file_put(accepted, reinterpret_cast<const uint8_t*>("llo"), 3);
    EXPECT_EQ(fake_net::sent, "hello");
    EXPECT_EQ(pending(), 0);

    // A stream whose connection is gone sends nothing.
    special_stream(special_handle_of(client))->connection->connected = 0;
    net_file_put(client, reinterpret_cast<const uint8_t*>("!"), 1);
    EXPECT_EQ(fake_net::sent, "hello");

    for (int32_t bad : {host, http, -9}) {
        error_reset_for_tests();
        net_file_put(bad, reinterpret_cast<const uint8_t*>("x"), 1);
        EXPECT_EQ(pending(), 52) << bad;
    }
    EXPECT_EQ(fake_net::sent, "hello");
}

TEST_F(NetTest, HostsAndMissingHandlesAnswerErrorFiftyTwo) {
    use_fake();
    int32_t host = func__openhost(text("TCP/IP:7001"));
    for (int32_t bad : {host, -9, -1}) {
        uint8_t v[2] = {1, 2};
        error_reset_for_tests();
        net_file_get(bad, v, 2);
        EXPECT_EQ(pending(), 52) << bad;
        EXPECT_EQ(v[0], 1);
        error_reset_for_tests();
        zvs* s = zvs_new(0, 0);
        net_file_get_string(bad, s);
        EXPECT_EQ(pending(), 52) << bad;
        error_reset_for_tests();
        EXPECT_EQ(net_file_lof(bad), 0);
        EXPECT_EQ(pending(), 52) << bad;
        error_reset_for_tests();
        EXPECT_EQ(net_file_eof(bad), 0);
        EXPECT_EQ(pending(), 52) << bad;
    }
}

TEST_F(NetTest, HttpFixedGetSetsTheGetStateThatEofReports) {
    use_fake();
    int32_t n = func__openclient(text("http:x"));
    uint8_t v[3] = {0, 0, 0};
    fake_net::http_fixed_answer = -1;
    net_file_get(n, v, 3);
    EXPECT_EQ(special_handle_of(n)->value, http_get_failed);
    EXPECT_EQ(net_file_eof(n), -1);

    fake_net::http_fixed_answer = 0;
    net_file_get(n, v, 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(v), 3), "hhh");
    EXPECT_EQ(net_file_eof(n), 0);
    EXPECT_EQ(pending(), 0);
}

TEST_F(NetTest, HttpEofInTheReadyState) {
    use_fake();
    int32_t n = func__openclient(text("http:x"));
    struct row {
        int32_t connected;
        const char* ready;
        int32_t eof;
    };
    const row rows[] = {{1, "", 0}, {1, "abc", 0}, {0, "", -1}, {0, "abc", 0}};
    for (const row& r : rows) {
        fake_net::http_connected = r.connected;
        fake_net::http_ready = r.ready;
        EXPECT_EQ(net_file_eof(n), r.eof) << r.connected << " " << r.ready;
    }
}

TEST_F(NetTest, HttpStringGetTakesWhatIsReadyAndResetsTheGetState) {
    use_fake();
    int32_t n = func__openclient(text("http:x"));
    fake_net::http_fixed_answer = -1;
    uint8_t v[1];
    net_file_get(n, v, 1);
    fake_net::http_ready = "payload";
    zvs* s = zvs_new(0, 0);
    net_file_get_string(n, s);
    EXPECT_EQ(str(s), "payload");
    EXPECT_EQ(special_handle_of(n)->value, http_get_ready);
    net_file_get_string(n, s);
    EXPECT_EQ(str(s), "");
    EXPECT_EQ(pending(), 0);
}

TEST_F(NetTest, HttpLofIsTheContentLengthOrMinusOne) {
    use_fake();
    int32_t n = func__openclient(text("http:x"));
    fake_net::http_content_length = 5000000000ULL;
    EXPECT_EQ(net_file_lof(n), 5000000000LL);
    fake_net::http_content_answer = -1;
    EXPECT_EQ(net_file_lof(n), -1);
    EXPECT_EQ(pending(), 0);
}

TEST_F(NetTest, CloseFreesEveryRecordOfTheHandle) {
    use_fake();
    int32_t client = func__openclient(text("TCP/IP:7000:h"));
    int32_t host = func__openhost(text("TCP/IP:7001"));
    int32_t http = func__openclient(text("http:x"));
    receive(client, "buffered bytes");  // owned: freed with the stream (sanitizer build)
    tcp_transport* client_transport = special_stream(special_handle_of(client))->connection->transport;
    tcp_transport* host_transport = special_connection(special_handle_of(host))->transport;

    net_file_close(client);
    net_file_close(host);
    net_file_close(http);
    EXPECT_EQ(fake_net::closed, (std::vector<tcp_transport*>{client_transport, host_transport}));
    EXPECT_EQ(fake_net::calls.back(), "http close 3");
    for (int32_t h = 1; h <= 3; h++) {
        EXPECT_EQ(list_get(net_special_handles(), h), nullptr) << h;
        EXPECT_EQ(list_get(net_stream_handles(), h), nullptr) << h;
        EXPECT_EQ(list_get(net_connection_handles(), h), nullptr) << h;
    }
    // Closing again, or a number that names nothing, does nothing.
    net_file_close(client);
    net_file_close(-100);
    EXPECT_EQ(fake_net::closed.size(), 2u);
    EXPECT_EQ(pending(), 0);
    // Freed handles are handed out again.
    EXPECT_EQ(func__openhost(text("TCP/IP:7002")), http);
}

TEST_F(NetTest, CloseAllSkipsTheDebugLinkOnly) {
    use_fake();
    traxel_set_handle(-1);
    int32_t link = func__openclient(text("ORVOIDE:9000:h"));
    int32_t other = func__openclient(text("TCP/IP:7000:h"));
    int32_t host = func__openhost(text("TCP/IP:7001"));
    ASSERT_EQ(traxelHandle(), ~link);
    net_file_close_all();
    EXPECT_NE(special_handle_of(link), nullptr);
    EXPECT_EQ(special_handle_of(other), nullptr);
    EXPECT_EQ(special_handle_of(host), nullptr);
    net_file_close(link);
    EXPECT_EQ(special_handle_of(link), nullptr);

    // Without a debug link everything goes.
    traxel_set_handle(0);
    link = func__openclient(text("TCP/IP:7000:h"));
    net_file_close_all();
    EXPECT_EQ(special_handle_of(link), nullptr);
}

TEST_F(NetTest, DetachedStreamsAreLeftAlone) {
    use_fake();
    int32_t n = func__openclient(text("TCP/IP:7000:h"));
    special_stream(special_handle_of(n))->detached = 1;
    net_file_put(n, reinterpret_cast<const uint8_t*>("x"), 1);
    EXPECT_EQ(fake_net::sent, "");
    net_file_close(n);
    EXPECT_NE(special_handle_of(n), nullptr);
    EXPECT_TRUE(fake_net::closed.empty());
    EXPECT_EQ(func__connected(n), 0);
    EXPECT_EQ(pending(), 52);
    special_stream(special_handle_of(n))->detached = 0;
    net_file_close(n);
}

}  // namespace

namespace {

// Other modules' tests close everything without ever creating the handle lists.
TEST(NetWithoutLists, NegativeNumbersNameNothing) {
    zvs_reset_for_tests(1048576, 65536, 65536);
    error_reset_for_tests();
    net_file_close(-2);
    net_file_close_all();
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(net_file_eof(-2), 0);
    EXPECT_EQ(new_error.load(), 52);
    error_reset_for_tests();
    EXPECT_EQ(func__openconnection(-2), 0);
    EXPECT_EQ(new_error.load(), 258);
    error_reset_for_tests();
}

}  // namespace
