// BSAVE: conventional memory to a memory-image file.
#include "file/bsave.h"

#include <string_view>

#include "error/error.h"
#include "file/gfs.h"
#include "file/replace_file.h"
#include "memory/cmem.h"
#include "string/zvs.h"

void sub_bsave(zvs* name, int32_t offset, int32_t length) {
    if (new_error_is_set()) return;
    if (offset < -65536 || offset > 65535 || length < -65536 || length > 65536) return error(ERR_OVERFLOW);
    int64_t start = (defseg - cmem) + int64_t(uint16_t(offset));
    int64_t count = length == 65536 ? 65536 : int64_t(uint16_t(length));
    if (start + count > cmem_size) return error(ERR_ILLEGAL_FUNCTION_CALL);

    std::string_view path(reinterpret_cast<const char*>(name->text), size_t(name->length));
    int64_t segment = (defseg - cmem) / 16;
    const uint8_t header[bsave_header_size] = {
        bsave_mark,
        uint8_t(segment), uint8_t(segment >> 8),
        uint8_t(offset), uint8_t(offset >> 8),
        uint8_t(count), uint8_t(count >> 8),  // 65536 is written as 0
    };
    const whole_file_part parts[] = {{header, bsave_header_size}, {cmem + start, count}};
    whole_file_result result = gfs_os_write_whole(path, parts, 2);
    switch (result.stage) {
        case whole_file_stage::done: return;
        case whole_file_stage::open:
        case whole_file_stage::locked: return error(ERR_BAD_FILE_NAME);
        case whole_file_stage::write: return error(gfs_error_number(result.code, gfs_errors::transfer));
    }
}
