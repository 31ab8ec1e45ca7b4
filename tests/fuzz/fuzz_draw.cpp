// DRAW on a small 8-bit or 32-bit image. The input's first byte picks the image and
// the pen's start; a chunk of bytes goes into the data block at offset 0, where
// VARPTR$ references (and the string descriptors X commands name) are looked up.
#include "fuzz_support.h"

#include "draw/draw_statement.h"
#include "draw/paint.h"
#include "error/error.h"
#include "image/image_statements.h"
#include "image/image_table.h"
#include "image/img_struct.h"
#include "memory/cmem.h"
#include "screen/screen.h"
#include "string/zvs.h"

namespace {

// The data block's first bytes as the input left them; the rest of memory stays 0.
void place_data_block(const std::string& bytes) {
    static size_t dirty = 0;
    memset(dblock, 0, dirty);
    memcpy(dblock, bytes.data(), bytes.size());
    dirty = bytes.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_install_seams();
    fuzz_reset_runtime();
    fuzz_reset_screen();
    paint_reset_for_tests(1024);
    fuzz_input in(data, size);
    uint8_t pick = in.u8();
    int32_t start_x = int8_t(in.u8());
    int32_t start_y = int8_t(in.u8());
    place_data_block(in.chunk());
    std::string commands = in.rest();

    fuzz_run([&] {
        zvg_screen(13, 0, 0, 0, 0, 1);
        int32_t handle = func__newimage(24 + pick % 16, 16 + pick / 16, (pick & 1) ? 32 : 256, 1);
        sub__dest(handle);
        sub__source(handle);
        img_struct* im = write_page();
        if (!im || new_error_is_set()) return;
        im->graphics.x = start_x;
        im->graphics.y = start_y;
        sub_draw(fuzz_text(reinterpret_cast<const uint8_t*>(commands.data()), commands.size()));
    });
    return 0;
}
