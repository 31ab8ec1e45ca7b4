// The buffered reader of executable files.
#include "log/symbol_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace exe_symbols {

namespace {
const char* const bad_position = "bad stream cursor position specified";
const char* const read_failed = "failed to read from file";
}  // namespace

file::file(const char* path) : cursor(0), buffer_start(0) {
    fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw file_error("failed to open file");
    struct stat st;
    if (fstat(fd, &st) != 0) {
        close(fd);
        throw file_error("failed to get file size");
    }
    file_size = uint64_t(st.st_size);
    try {
        refill(0);
    } catch (...) {
        close(fd);
        throw;
    }
}

file::~file() { close(fd); }

bool file::position_in_buffer(uint64_t offset) const {
    return offset >= buffer_start && offset < std::min(file_size, buffer_start + buffer_size);
}

void file::refill(uint64_t offset) {
    buffer_start = offset;
    cursor = 0;
    size_t want = size_t(std::min<uint64_t>(file_size - offset, buffer_size));
    if (want == 0) return;
    ssize_t got = pread(fd, buffer, want, off_t(offset));
    if (got < 0 || size_t(got) != want) throw file_error(read_failed);
}

void file::go(uint64_t offset) {
    if (offset > file_size) throw file_error(bad_position);
    if (position_in_buffer(offset)) {
        cursor = uint32_t(offset - buffer_start);
        return;
    }
    refill(offset);
}

void file::skip(int64_t delta) {
    if (delta == 0) return;
    uint64_t at = offset();
    if (delta < 0 ? uint64_t(-(delta + 1)) + 1 > at : uint64_t(delta) > file_size - at)
        throw file_error(bad_position);
    go(at + uint64_t(delta));
}

void file::read(void* destination, uint32_t count) {
    if (offset() > file_size || count > file_size - offset()) throw file_error(read_failed);
    auto* out = static_cast<uint8_t*>(destination);
    while (count > 0) {
        if (cursor >= buffer_size) refill(buffer_start + buffer_size);
        uint32_t take = std::min(count, buffer_size - cursor);
        memcpy(out, buffer + cursor, take);
        out += take;
        cursor += take;
        count -= take;
    }
}

uint8_t file::u8() {
    uint8_t b;
    read(&b, 1);
    return b;
}

uint16_t file::u16() {
    uint8_t b[2];
    read(b, 2);
    return uint16_t(b[0] | (b[1] << 8));
}

uint32_t file::u32() {
    uint8_t b[4];
    read(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

uint64_t file::u64() {
    uint64_t low = u32();
    return low | uint64_t(u32()) << 32;
}

}  // namespace exe_symbols
