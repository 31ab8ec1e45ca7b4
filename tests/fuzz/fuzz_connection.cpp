// Connection texts: _OPENCLIENT and _OPENHOST on arbitrary text ("TCP/IP:port:host",
// "HTTP:url", and everything that is neither), over a transport that accepts or refuses as
// the input says; then _OPENCONNECTION, _CONNECTED, GET, PUT, LOF, EOF and CLOSE on what came back.
#include "fuzz_support.h"

#include <vector>

#include "error/error.h"
#include "net/net.h"
#include "net/net_backend.h"
#include "net/net_file.h"
#include "string/zvs.h"
#include "support/traxel.h"

namespace {

// A transport whose answers the input picks; transports are addresses of these bytes.
struct fake {
    static inline char transports[8];
    static inline int32_t next = 0;
    static inline uint8_t answers = 0;
    static inline std::string reply;

    static tcp_transport* open() {
        if (answers & 1) return nullptr;
        return reinterpret_cast<tcp_transport*>(&transports[next++ % 8]);
    }
    static inline const net_backend backend{
        [] {},
        [] {},
        [](int64_t) { return open(); },
        [](const char*, int64_t) { return open(); },
        [](tcp_transport*) { return (answers & 2) ? nullptr : open(); },
        [](tcp_transport*) { return (answers & 4) ? 0 : -1; },
        [](tcp_transport*, const void*, int32_t) {},
        [](tcp_transport*) {},
        [] {},
        [] {},
        [](const char*, int32_t) { return (answers & 8) ? -1 : 0; },
        [](int32_t) { return 0; },
        [](int32_t) { return (answers & 16) ? 0 : 1; },
        [](int32_t, uint8_t* buffer, uint32_t* count) {
            uint32_t n = std::min<uint32_t>(*count, uint32_t(reply.size()));
            memcpy(buffer, reply.data(), n);
            reply.erase(0, n);
            *count = n;
            return 0;
        },
        [](int32_t, uint8_t* buffer, uint32_t count) {
            if (count > reply.size()) return -1;
            memcpy(buffer, reply.data(), count);
            reply.erase(0, count);
            return 0;
        },
        [](int32_t, uint32_t* count) {
            *count = uint32_t(reply.size());
            return 0;
        },
        [](int32_t, uint64_t* length) {
            *length = reply.size();
            return (answers & 32) ? -1 : 0;
        },
        [](int32_t) { return (answers & 64) ? -1 : 200; },
        [](int32_t) { return static_cast<const char*>(nullptr); },
    };
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_install_seams();
    fuzz_reset_runtime();
    net_reset_for_tests();
    traxel_set_handle(0);
    net_set_backend(&fake::backend);
    fuzz_input in(data, size);
    fake::next = 0;
    fake::answers = in.u8();
    fake::reply = in.chunk(64);
    std::string client = in.chunk();
    std::string host = in.rest();

    fuzz_run([&] {
        std::vector<int32_t> handles;
        auto keep = [&](int32_t h) {
            if (h) handles.push_back(h);
            error_reset_for_tests();
        };
        keep(func__openclient(fuzz_text(reinterpret_cast<const uint8_t*>(client.data()), client.size())));
        int32_t h = func__openhost(fuzz_text(reinterpret_cast<const uint8_t*>(host.data()), host.size()));
        keep(h);
        if (h) keep(func__openconnection(h));
        keep(func__openconnection(-2));
        for (int32_t n : handles) {
            uint8_t bytes[8] = {};
            func__connected(n);
            func__statusCode(n);
            net_file_get(n, bytes, sizeof bytes);
            zvs* s = fuzz_var();
            net_file_get_string(n, s);
            net_file_put(n, bytes, sizeof bytes);
            net_file_lof(n);
            net_file_eof(n);
            error_reset_for_tests();
        }
        for (int32_t n : handles) net_file_close(n);
        net_file_close_all();
    });
    net_set_backend(nullptr);
    return 0;
}
