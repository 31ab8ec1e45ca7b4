// In-memory INPUT files for the number reader, with the file statements' byte rules:
// byte 26 or the end is the end of the file, and items end at a comma, a line end
// (CR, LF, CR LF, LF CR) or blanks before the next item.
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "error/error.h"
#include "number/file_input.h"

namespace fake_files {

struct file {
    std::string bytes;
    size_t position = 0;
    int32_t refusal = 0;  // the error the check raises: 52, 54 or 75
};

inline std::map<int32_t, file>& files() {
    static std::map<int32_t, file> open_files;
    return open_files;
}

inline int32_t check(int32_t n) {
    auto it = files().find(n);
    if (it == files().end()) return 52;
    return it->second.refusal;
}

inline int32_t chr(int32_t n) {
    auto it = files().find(n);
    if (it == files().end()) {
        // The file layer's bad index.
        error(258);
        return -2;
    }
    file& f = it->second;
    if (f.position >= f.bytes.size() || f.bytes[f.position] == 26) return -1;
    return static_cast<uint8_t>(f.bytes[f.position++]);
}

inline void back(int32_t n) { files()[n].position--; }

// After a CR or LF, also takes the other half of a CR LF or LF CR pair.
inline void skip1310(int32_t n, int32_t c) {
    int32_t next = chr(n);
    if (next < 0) return;
    if ((c == 13 && next == 10) || (c == 10 && next == 13)) return;
    back(n);
}

inline int32_t nextitem(int32_t n, int32_t c) {
    if (n < 0) return c;
    for (;;) {
        if (c == 13 || c == 10) {
            skip1310(n, c);
            return c;
        }
        if (c == ',' || c < 0) return c;
        if (c == ' ') {
            c = chr(n);
            if (c == 13 || c == 10 || c == ' ' || c == ',') continue;
            if (c < 0) return c;
            back(n);
            return c;
        }
        c = chr(n);
        if (c == -2) return c;
    }
}

inline const number_file_source source{check, chr, nextitem};

// Installs the fake with one file per number; a fresh start for each test.
inline void install() {
    files().clear();
    number_set_file_source(&source);
}

inline void open(int32_t n, std::string bytes, int32_t refusal = 0) { files()[n] = file{std::move(bytes), 0, refusal}; }

}  // namespace fake_files
