// BLOAD of any file: the input's first bytes pick DEF SEG and the offset (or none),
// the rest is the file.
#include "fuzz_support.h"

#include "error/error.h"
#include "file/bload.h"
#include "file/file_numbers.h"
#include "memory/cmem.h"
#include "string/zvs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_install_seams();
    fuzz_reset_runtime();
    fuzz_reset_files();
    fuzz_scratch_clear();
    // BLOAD may write anywhere in conventional memory.
    cmem_reset_for_tests();
    fuzz_input in(data, size);
    uint8_t pick = in.u8();
    int64_t segment = (pick & 1) ? in.edgy64() : int64_t(in.u16());
    int64_t offset = in.edgy64();
    std::string file = in.rest();
    fuzz_write_file("image.bin", reinterpret_cast<const uint8_t*>(file.data()), file.size());

    fuzz_run([&] {
        if (pick & 2) sub_defseg(segment, 1);
        error_reset_for_tests();
        sub_bload(zvs_new_txt("image.bin"), int32_t(offset), (pick & 4) ? 1 : 0);
    });
    file_close_all();
    return 0;
}
