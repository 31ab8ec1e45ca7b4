// VAL, and the number readers of READ (DATA text) and INPUT # (a file's bytes through
// the reader's character source): the same bytes go through all three, read into
// targets of every type the first byte picks.
#include "fuzz_support.h"

#include "error/error.h"
#include "number/decomposed.h"
#include "number/file_input.h"
#include "number/read_data.h"
#include "number/type_word.h"
#include "number/val.h"
#include "number/fake_file_source.h"
#include "string/zvs.h"

namespace {

// Bit fields of 1 to 63 bits, the integers, and the floating types.
uint32_t type_word_for(uint8_t pick) {
    static constexpr uint32_t floats[] = {32, 64, 80};
    if (pick % 4 == 0) return type_word_float | floats[(pick / 4) % 3];
    uint32_t bits = 1 + (pick / 8) % 63;
    return (pick & 2) ? (bits | type_word_unsigned) : bits;
}

// One item per call until the reader stops moving or an error is raised.
void read_data(const uint8_t* data, int32_t length, uint8_t kinds) {
    int32_t position = 0;
    for (int32_t items = 0; items < 64; items++) {
        uint8_t pick = uint8_t(kinds + items * 37);
        int32_t before = position;
        switch (pick % 5) {
            case 0: func_read_int64(data, &position, length); break;
            case 1: func_read_uint64(data, &position, length); break;
            case 2: {
                int32_t start = 0, count = 0;
                data_read_string(data, &position, length, &start, &count);
                break;
            }
            default: func_read_float(data, &position, length, type_word_for(pick)); break;
        }
        if (new_error_is_set() || position == before) break;
    }
    error_reset_for_tests();
}

void input_numbers(const std::string& bytes, uint8_t kinds) {
    fake_files::install();
    fake_files::open(1, bytes);
    for (int32_t items = 0; items < 64; items++) {
        uint8_t pick = uint8_t(kinds + items * 53);
        switch (pick % 4) {
            case 0: func_file_input_int64(1); break;
            case 1: func_file_input_uint64(1); break;
            default: func_file_input_float(1, type_word_for(pick)); break;
        }
        if (new_error_is_set()) break;
    }
    error_reset_for_tests();
    number_set_file_source(nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_install_seams();
    fuzz_reset_runtime();
    number_reset_for_tests();
    if (size == 0) return 0;
    uint8_t kinds = data[0];
    const uint8_t* text = data + 1;
    int32_t length = int32_t(size - 1);

    fuzz_run([&] {
        val_float(text, length);
        val_int64(text, length);
        val_uint64(text, length);
        error_reset_for_tests();
        zvs* s = fuzz_text(text, size_t(length));
        zvs_val(s);
        zvs_val_int64(s);
        zvs_val_uint64(s);
        error_reset_for_tests();
        read_data(text, length, kinds);
        input_numbers(std::string(reinterpret_cast<const char*>(text), size_t(length)), kinds);
    });
    return 0;
}
