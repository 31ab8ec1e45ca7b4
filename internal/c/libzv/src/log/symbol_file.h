// A read-only file behind one 8192-byte window, for the symbol-table readers.
#pragma once
#include <cstdint>
#include <exception>

namespace exe_symbols {

// Every reader failure; what() is one fixed text.
class file_error : public std::exception {
public:
    explicit file_error(const char* message) : message(message) {}
    const char* what() const noexcept override { return message; }

private:
    const char* message;
};

class file {
public:
    static constexpr uint32_t buffer_size = 8192;

    explicit file(const char* path);
    ~file();
    file(const file&) = delete;
    file& operator=(const file&) = delete;

    uint64_t size() const { return file_size; }
    void go(uint64_t offset);
    bool position_in_buffer(uint64_t offset) const;
    uint64_t offset() const { return buffer_start + cursor; }
    void skip(int64_t delta);
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    uint64_t u64();
    void read(void* destination, uint32_t count);

private:
    void refill(uint64_t offset);

    int fd;
    uint64_t file_size;
    uint8_t buffer[buffer_size];
    uint32_t cursor;
    uint64_t buffer_start;
};

}  // namespace exe_symbols
