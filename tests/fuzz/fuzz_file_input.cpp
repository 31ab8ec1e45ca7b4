// INPUT #, LINE INPUT # and INPUT$ on a file of any bytes, opened FOR INPUT or BINARY:
// reads of every kind in the order the input picks until the file is used up.
#include "fuzz_support.h"

#include "error/error.h"
#include "file/file_numbers.h"
#include "file/input_dollar.h"
#include "file/input_file.h"
#include "file/line_input_file.h"
#include "number/file_input.h"
#include "number/type_word.h"
#include "string/zvs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_install_seams();
    fuzz_reset_runtime();
    fuzz_reset_files();
    fuzz_scratch_clear();
    fuzz_input in(data, size);
    uint8_t mode_pick = in.u8();
    std::string reads = in.chunk(32);
    std::string file = in.rest();
    fuzz_write_file("in.txt", reinterpret_cast<const uint8_t*>(file.data()), file.size());

    fuzz_run([&] {
        // INPUT, or BINARY (where INPUT # is refused and LINE INPUT # and INPUT$ read).
        sub_open(zvs_new_txt("in.txt"), (mode_pick & 1) ? 2 : 3, 0, 0, 1, 0, 0);
        if (new_error_is_set()) return;
        zvs* v = fuzz_var();
        for (int32_t i = 0; i < 256; i++) {
            uint32_t mark = zvs_tmp_list_nexti();
            uint8_t pick = reads.empty() ? 0 : uint8_t(reads[size_t(i) % reads.size()]);
            switch (pick % 6) {
                case 0: sub_file_input_string(1, v); break;
                case 1: sub_file_line_input_string(1, v); break;
                case 2: func_input(pick >> 3, 1, 1); break;
                case 3: func_file_input_int64(1); break;
                case 4: func_file_input_uint64(1); break;
                default: func_file_input_float(1, (pick & 8) ? (type_word_float | 64) : 16); break;
            }
            zvs_tmp_release_to(mark, 0);
            // Past the end (62) the file is used up; other errors leave the statement only.
            int32_t e = new_error.load();
            error_reset_for_tests();
            if (e == 62) break;
        }
    });
    file_close_all();
    return 0;
}
