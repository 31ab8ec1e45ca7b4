// Opening network handles: the address parser, the placeholders' answers, the
// debug-link prefix and the errors of the handle functions.
#include "net_fixture.h"

namespace {

TEST_F(NetTest, PlaceholdersRefuseEveryWellFormedOpenWithoutAnErrorAndReportBadOnes) {
    struct row {
        bool host;
        const char* address;
        int32_t error;
    };
    const row rows[] = {
        {false, "TCP/IP:80:example", 0},
        {false, "tcp/ip:80:example", 0},
        {false, "TCP/IP:80", 5},
        {false, "TCP/IP:80:a:b", 5},
        {false, "UDP:80:example", 5},
        {false, "", 5},
        {true, "TCP/IP:80", 0},
        {true, "TCP/IP:80:x", 5},
        {true, "TCP/IP", 5},
        {true, "http:x", 5},  // HTTP is for clients only
        {false, "http:x", 0},
        {false, "HTTPS://a/b", 0},
        {false, "http", 5},
        {false, "ORVOIDE:9000:h", 5},  // traxel 0: no debug link
    };
    for (const row& r : rows) {
        error_reset_for_tests();
        zvs* address = text(r.address);
        int32_t got = r.host ? func__openhost(address) : func__openclient(address);
        EXPECT_EQ(got, 0) << r.address;
        EXPECT_EQ(pending(), r.error) << r.address;
        EXPECT_EQ(list_get(net_special_handles(), 1), nullptr) << r.address;
    }
}

TEST_F(NetTest, HttpUrlIsTheTextAfterTheColonUnlessItStartsWithASlash) {
    use_fake();
    fake_net::http_open_answer = -1;
    struct row {
        const char* address;
        const char* call;
    };
    const row rows[] = {
        {"http:x", "http x 1"},
        {"HTTPS://a/b", "http HTTPS://a/b 1"},
        {"Http:host/path:8080", "http host/path:8080 1"},
        {"http:", "http  1"},
    };
    for (const row& r : rows) {
        fake_net::calls.clear();
        EXPECT_EQ(func__openclient(text(r.address)), 0) << r.address;
        ASSERT_EQ(fake_net::calls.size(), 1u) << r.address;
        EXPECT_EQ(fake_net::calls[0], r.call);
        // The refused request gave its handle back.
        EXPECT_EQ(list_get(net_special_handles(), 1), nullptr);
    }
    EXPECT_EQ(pending(), 0);
}

TEST_F(NetTest, ThePortIsValOfTheSecondPartRoundedToEven) {
    use_fake();
    fake_net::tcp_accepts = false;
    struct row {
        const char* address;
        int64_t port;
    };
    const row rows[] = {
        {"TCP/IP:80:h", 80},   {"TCP/IP: 80.5:h", 80}, {"TCP/IP:81.5:h", 82},
        {"TCP/IP:&H50:h", 80}, {"TCP/IP:x:h", 0},       {"TCP/IP:1e10:h", -2147483648LL},
    };
    for (const row& r : rows) {
        EXPECT_EQ(func__openclient(text(r.address)), 0) << r.address;
        EXPECT_EQ(fake_net::last_port, r.port) << r.address;
        EXPECT_EQ(fake_net::calls.back().substr(0, 9), "client h ") << r.address;
    }
    EXPECT_EQ(pending(), 0);
}

TEST_F(NetTest, AZeroByteInTheHostOrUrlIsRefusedRatherThanCutShort) {
    use_fake();
    EXPECT_EQ(func__openclient(text(std::string("TCP/IP:80:good\0evil", 19))), 0);
    EXPECT_EQ(pending(), 5);
    error_reset_for_tests();
    EXPECT_EQ(func__openclient(text(std::string("http:a\0b", 8))), 0);
    EXPECT_EQ(pending(), 5);
    EXPECT_TRUE(fake_net::calls.empty());
}

TEST_F(NetTest, FirstHandleIsMinusTwoAndEachKindGetsItsRecords) {
    use_fake();
    int32_t client = func__openclient(text("TCP/IP:7000:localhost"));
    EXPECT_EQ(client, -2);
    int32_t host = func__openhost(text("TCP/IP:7001"));
    EXPECT_EQ(host, -3);
    int32_t http = func__openclient(text("http://x/"));
    EXPECT_EQ(http, -4);
    EXPECT_EQ(pending(), 0);

    special_handle_struct* c = special_handle_of(client);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->kind, special_kind_stream);
    stream_struct* s = special_stream(c);
    EXPECT_EQ(s->buffered, 0);
    EXPECT_EQ(s->connection->role, connection_role_client);
    EXPECT_EQ(s->connection->connected, 1);
    EXPECT_EQ(s->connection->port, 7000);

    special_handle_struct* h = special_handle_of(host);
    EXPECT_EQ(h->kind, special_kind_host);
    EXPECT_EQ(special_connection(h)->role, connection_role_host);
    EXPECT_EQ(special_handle_of(http)->kind, special_kind_http);
    EXPECT_EQ(special_handle_of(http)->value, http_get_ready);
    EXPECT_EQ(fake_net::calls.back(), "http http://x/ 3");
}

TEST_F(NetTest, OpenConnectionAcceptsOnlyFromAHost) {
    use_fake();
    int32_t host = func__openhost(text("TCP/IP:7001"));
    int32_t client = func__openclient(text("TCP/IP:7000:h"));
    int32_t accepted = func__openconnection(host);
    EXPECT_EQ(accepted, -4);
    EXPECT_EQ(pending(), 0);
    stream_struct* s = special_stream(special_handle_of(accepted));
    EXPECT_EQ(s->connection->role, connection_role_accepted);

    fake_net::tcp_accepts = false;
    EXPECT_EQ(func__openconnection(host), 0);  // nobody waiting
    EXPECT_EQ(pending(), 0);

    for (int32_t bad : {client, -5, 0, 3, INT32_MIN}) {
        error_reset_for_tests();
        EXPECT_EQ(func__openconnection(bad), 0) << bad;
        EXPECT_EQ(pending(), 258) << bad;
    }
}

TEST_F(NetTest, DebugLinkPrefixOnlyWhileTraxelIsFreeAndItRemembersTheClient) {
    use_fake();
    EXPECT_EQ(func__openclient(text("ORVOIDE:9000:h")), 0);
    EXPECT_EQ(pending(), 5);
    error_reset_for_tests();

    traxel_set_handle(-1);
    int32_t link = func__openclient(text("orvoide:9000:h"));
    EXPECT_EQ(link, -2);
    EXPECT_EQ(pending(), 0);
    EXPECT_EQ(traxelHandle(), 1);
    // The link is taken: the prefix is no longer accepted.
    EXPECT_EQ(func__openclient(text("ORVOIDE:9000:h")), 0);
    EXPECT_EQ(pending(), 5);
}

TEST_F(NetTest, HandleFunctionErrors) {
    EXPECT_EQ(func__connected(-5), 0);
    EXPECT_EQ(pending(), 52);
    error_reset_for_tests();
    EXPECT_EQ(func__connected(1), 0);
    EXPECT_EQ(pending(), 52);
    error_reset_for_tests();
    EXPECT_EQ(func__statusCode(1), -1);
    EXPECT_EQ(pending(), 52);
    error_reset_for_tests();
    EXPECT_EQ(func__statusCode(-2), -1);
    EXPECT_EQ(pending(), 52);
    error_reset_for_tests();
    zvs* address = func__connectionaddress(-2);
    EXPECT_EQ(address->length, 0);
    EXPECT_EQ(pending(), 52);
    error_reset_for_tests();
    net_file_close(-9);
    EXPECT_EQ(pending(), 0);
}

TEST_F(NetTest, ConnectedAnswersPerKind) {
    use_fake();
    int32_t client = func__openclient(text("TCP/IP:7000:h"));
    int32_t host = func__openhost(text("TCP/IP:7001"));
    int32_t http = func__openclient(text("http:x"));
    fake_net::connected_answer = -1;
    EXPECT_EQ(func__connected(client), -1);
    fake_net::connected_answer = 0;
    EXPECT_EQ(func__connected(client), 0);
    EXPECT_EQ(func__connected(host), -1);
    fake_net::http_connected = 1;
    EXPECT_EQ(func__connected(http), -1);
    fake_net::http_connected = 0;
    EXPECT_EQ(func__connected(http), 0);
    EXPECT_EQ(pending(), 0);

    special_connection(special_handle_of(host))->connected = 0;
    EXPECT_EQ(func__connected(host), 0);
    EXPECT_EQ(pending(), 52);
}

TEST_F(NetTest, StatusCodeAnswersEvenWhileAnErrorIsPending) {
    use_fake();
    int32_t http = func__openclient(text("http:x"));
    error(5);
    fake_net::http_status = 404;
    EXPECT_EQ(func__statusCode(http), 404);
    error_reset_for_tests();
    fake_net::http_status = -1;
    EXPECT_EQ(func__statusCode(http), -1);
    EXPECT_EQ(pending(), 9);
}

TEST_F(NetTest, OpenFunctionsDoNothingWhileAnErrorIsPending) {
    use_fake();
    int32_t host = func__openhost(text("TCP/IP:7001"));
    fake_net::calls.clear();
    error(5);
    EXPECT_EQ(func__openclient(text("TCP/IP:7000:h")), 0);
    EXPECT_EQ(func__openhost(text("bad")), 0);
    EXPECT_EQ(func__openconnection(host), 0);
    EXPECT_EQ(func__connected(host), 0);
    EXPECT_EQ(pending(), 5);
    EXPECT_TRUE(fake_net::calls.empty());
}

}  // namespace
