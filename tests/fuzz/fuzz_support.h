// What every fuzz target shares: the process-exit and alert seams turned into an
// exception that the target catches, a private scratch folder, a reader that turns the
// input's bytes into arguments, and the resets that give each input a fresh runtime.
//
// A target defines LLVMFuzzerTestOneInput. Linked with libFuzzer it is fuzzed; linked
// with replay_main.cpp it runs each file of a corpus once (the regression tests).
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

struct zvs;

// Thrown from the process-exit seam: a fatal runtime error ended the "process".
struct fuzz_exit {
    int32_t code;
};

// Installs the seams (idempotent): process exit throws fuzz_exit, alerts answer 1 and
// print nothing. Every target calls it first.
void fuzz_install_seams();

// Called when a fatal error unwound a statement: the next reset rebuilds the strings.
void fuzz_note_fatal();

// Runs body; a fatal runtime error becomes an ordinary result. Returns the exit code,
// or -1 when body returned. A fatal error may leave the strings half-changed (out of
// memory while making one), so the next reset rebuilds them, unless the target knows
// its fatal errors come from elsewhere (the x86 interpreter's stops).
template <class F>
int32_t fuzz_run(F&& body, bool strings_may_be_torn = true) {
    try {
        body();
        return -1;
    } catch (const fuzz_exit& e) {
        if (strings_may_be_torn) fuzz_note_fatal();
        return e.code;
    }
}

// The strings, the error latch and the runtime flags. The string system is built once
// (and again after a fatal error); between inputs the variables made by fuzz_var and
// every temporary are released, which costs far less than a rebuild.
void fuzz_reset_runtime();
// A clean image table, palettes, font metrics and screen state (SCREEN 0 afterwards
// is up to the target); conventional memory, which the screens alias, is made on the
// first call only.
void fuzz_reset_screen();
// The file tables, with every file closed.
void fuzz_reset_files();

// A folder of this process under /tmp, made the current folder; removed at exit.
// fuzz_scratch_clear makes it current again and empties it.
const std::string& fuzz_scratch_folder();
void fuzz_scratch_clear();
// Writes bytes to a file of the scratch folder.
void fuzz_write_file(const char* name, const uint8_t* data, size_t size);

// A string variable holding a copy of the bytes (freed by the next reset), a temporary
// copy, and a read-only view of bytes that must outlive its use.
zvs* fuzz_var(const uint8_t* data = nullptr, size_t size = 0);
// Any other variable, freed by the next reset; returns it.
zvs* fuzz_own(zvs* variable);
zvs* fuzz_temp(const std::string& bytes);
zvs* fuzz_text(const uint8_t* data, size_t size);

// Reads arguments from the front of the input; past the end everything reads as 0.
class fuzz_input {
public:
    fuzz_input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    size_t left() const { return size_ - at_; }
    uint8_t u8() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t u16() { return uint16_t(u8() | u8() << 8); }
    uint32_t u32() { return uint32_t(u16()) | uint32_t(u16()) << 16; }
    uint64_t u64() { return uint64_t(u32()) | uint64_t(u32()) << 32; }
    // An integer that is often one of the edge values callers get wrong.
    int64_t edgy64();
    int32_t edgy32() { return int32_t(edgy64()); }
    // Up to max bytes: a length byte, then that many bytes (fewer at the end).
    std::string chunk(size_t max = 255);
    // Everything not read yet.
    std::string rest();
    template <class T>
    T raw() {
        T value{};
        uint8_t bytes[sizeof(T)];
        for (auto& b : bytes) b = u8();
        memcpy(&value, bytes, sizeof(T));
        return value;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};
