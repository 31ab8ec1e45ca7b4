// The file statements behind CHAIN's state file: OPEN FOR BINARY, the plain byte
// transfers of GET and PUT, CLOSE and KILL (of a system path).
#include <algorithm>

#include "file/file_numbers.h"
#include "file/get_put.h"
#include "file/gfs.h"
#include "lifecycle/chain.h"
#include "path/listing.h"
#include "string/zvs.h"

namespace {

constexpr int64_t chunk = 1 << 20;  // transfers take int32 lengths

zvs* text(const std::string& s) { return zvs_new_txt_len(s.data(), int32_t(s.size())); }

void open_binary(const std::string& name, int32_t number) { sub_open(text(name), 2, 0, 0, number, 0, 0); }

void put(int32_t number, const void* bytes, int64_t length) {
    const auto* p = static_cast<const uint8_t*>(bytes);
    for (int64_t done = 0; done < length; done += chunk)
        generic_put(number, -1, p + done, int32_t(std::min(chunk, length - done)));
}

void get(int32_t number, void* bytes, int64_t length) {
    auto* p = static_cast<uint8_t*>(bytes);
    std::fill(p, p + length, uint8_t(0));
    for (int64_t done = 0; done < length; done += chunk)
        generic_get(number, -1, p + done, int32_t(std::min(chunk, length - done)));
}

int64_t remaining(int32_t number) {
    int32_t index = gfs_get_fileno(number);
    if (index < 0) return 0;
    int64_t length = gfs_lof(index), position = gfs_getpos(index);
    return length > position && position >= 0 ? length - position : 0;
}

void close(int32_t number) { sub_close(number, 1); }

void kill(const std::string& path) { FS_KillFile(path); }

const chain_file_ops file_layer{func_freefile, open_binary, put, get, remaining, close, kill};
const chain_file_ops* current = &file_layer;

}  // namespace

void chain_set_file_ops(const chain_file_ops* ops) { current = ops ? ops : &file_layer; }
const chain_file_ops& chain_files() { return *current; }
