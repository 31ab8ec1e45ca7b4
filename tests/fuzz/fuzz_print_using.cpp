// PRINT USING: a format string and a run of values of every kind, each call continuing
// at the format position the call before returned, as translated code chains them.
#include "fuzz_support.h"

#include "error/error.h"
#include "number/print_using.h"
#include "string/zvs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_install_seams();
    fuzz_reset_runtime();
    print_using_reset_for_tests();
    fuzz_input in(data, size);
    std::string format_bytes = in.chunk();

    fuzz_run([&] {
        zvs* format = fuzz_var(reinterpret_cast<const uint8_t*>(format_bytes.data()), format_bytes.size());
        zvs* dest = fuzz_var();
        int32_t position = 0;
        for (int32_t values = 0; values < 16 && !in.empty(); values++) {
            uint32_t mark = zvs_tmp_list_nexti();
            switch (in.u8() % 6) {
                case 0: position = print_using_integer64(format, in.edgy64(), position, dest); break;
                case 1: position = print_using_uinteger64(format, uint64_t(in.edgy64()), position, dest); break;
                case 2: position = print_using_single(format, in.raw<float>(), position, dest); break;
                case 3: position = print_using_double(format, in.raw<double>(), position, dest); break;
                case 4: {
                    // The x87 format: 10 bytes; the padding stays 0.
                    long double value = 0;
                    uint8_t bytes[10];
                    for (auto& b : bytes) b = in.u8();
                    memcpy(&value, bytes, sizeof bytes);
                    position = print_using_float(format, value, position, dest);
                    break;
                }
                default: {
                    std::string text = in.chunk();
                    position = print_using(format, position, dest, fuzz_text(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
                    break;
                }
            }
            zvs_tmp_release_to(mark, 0);
            if (new_error_is_set()) break;
        }
    });
    return 0;
}
