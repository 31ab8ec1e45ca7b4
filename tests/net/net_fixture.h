// Fixture of the network tests: fresh handle lists, strings and error latch, traxel 0
// (no debug link), and a fake transport and HTTP client whose answers tests choose.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "error/error.h"
#include "net/net.h"
#include "net/net_backend.h"
#include "net/net_file.h"
#include "list/list.h"
#include "net/net_handles.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"
#include "support/traxel.h"

struct fake_net {
    // Transports are addresses of these bytes; only their identity matters.
    static inline char transports[16];
    static inline int next_transport = 0;
    static inline bool tcp_accepts = true;
    static inline int32_t connected_answer = -1;

    static inline std::vector<std::string> calls;
    static inline std::string sent;
    static inline std::vector<tcp_transport*> closed;
    static inline int64_t last_port = 0;

    static inline int32_t http_open_answer = 0;
    static inline int32_t http_connected = 0;
    static inline std::string http_ready;  // bytes get_length reports and get hands out
    static inline int32_t http_fixed_answer = 0;
    static inline int32_t http_status = 200;
    static inline int32_t http_content_answer = 0;
    static inline uint64_t http_content_length = 0;

    static void reset() {
        next_transport = 0;
        tcp_accepts = true;
        connected_answer = -1;
        calls.clear();
        sent.clear();
        closed.clear();
        last_port = 0;
        http_open_answer = 0;
        http_connected = 0;
        http_ready.clear();
        http_fixed_answer = 0;
        http_status = 200;
        http_content_answer = 0;
        http_content_length = 0;
    }
    static tcp_transport* new_transport() {
        if (!tcp_accepts) return nullptr;
        return reinterpret_cast<tcp_transport*>(&transports[next_transport++ % 16]);
    }

    static inline const net_backend backend{
        [] {},
        [] {},
        [](int64_t port) {
            last_port = port;
            calls.push_back("host " + std::to_string(port));
            return new_transport();
        },
        [](const char* host, int64_t port) {
            last_port = port;
            calls.push_back(std::string("client ") + host + " " + std::to_string(port));
            return new_transport();
        },
        [](tcp_transport*) {
            calls.push_back("accept");
            return new_transport();
        },
        [](tcp_transport*) { return connected_answer; },
        [](tcp_transport*, const void* data, int32_t length) { sent.append(static_cast<const char*>(data), length); },
        [](tcp_transport* t) { closed.push_back(t); },
        [] {},
        [] {},
        [](const char* url, int32_t handle) {
            calls.push_back("http " + std::string(url) + " " + std::to_string(handle));
            return http_open_answer;
        },
        [](int32_t handle) {
            calls.push_back("http close " + std::to_string(handle));
            return 0;
        },
        [](int32_t) { return http_connected; },
        [](int32_t, uint8_t* buffer, uint32_t* count) {
            uint32_t n = std::min<uint32_t>(*count, uint32_t(http_ready.size()));
            memcpy(buffer, http_ready.data(), n);
            http_ready.erase(0, n);
            *count = n;
            return 0;
        },
        [](int32_t, uint8_t* buffer, uint32_t count) {
            if (http_fixed_answer == 0) memset(buffer, 'h', count);
            return http_fixed_answer;
        },
        [](int32_t, uint32_t* count) {
            *count = uint32_t(http_ready.size());
            return 0;
        },
        [](int32_t, uint64_t* length) {
            *length = http_content_length;
            return http_content_answer;
        },
        [](int32_t) { return http_status; },
        [](int32_t) { return static_cast<const char*>(nullptr); },
    };
};

class NetTest : public ::testing::Test {
protected:
    void SetUp() override {
        zvs_reset_for_tests(1048576, 65536, 65536);
        error_reset_for_tests();
        net_reset_for_tests();
        net_set_backend(nullptr);
        traxel_set_handle(0);
        fake_net::reset();
    }
    void TearDown() override {
        net_set_backend(nullptr);
        error_reset_for_tests();
        traxel_reset_for_tests();
    }
    static void use_fake() { net_set_backend(&fake_net::backend); }
    // A temporary copy, so the text outlives the caller's std::string.
    static zvs* text(const std::string& s) {
        zvs* t = zvs_new(int32_t(s.size()), 1);
        if (!s.empty()) memcpy(t->text, s.data(), s.size());
        return t;
    }
    static std::string str(const zvs* s) { return std::string(reinterpret_cast<const char*>(s->text), s->length); }
    static int32_t pending() { return new_error.load(); }
    // Puts bytes into the receive buffer of stream handle n, as a transport would.
    static void receive(int32_t n, const std::string& bytes) {
        stream_struct* s = special_stream(special_handle_of(n));
        uint8_t* b = static_cast<uint8_t*>(malloc(s->buffered + bytes.size() + 1));
        if (s->buffered) memcpy(b, s->buffer, s->buffered);
        memcpy(b + s->buffered, bytes.data(), bytes.size());
        if (s->buffer_owned) free(s->buffer);
        s->buffer = b;
        s->buffer_owned = 1;
        s->buffered += int32_t(bytes.size());
    }
};
