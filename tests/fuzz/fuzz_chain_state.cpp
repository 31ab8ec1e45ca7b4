// The CHAIN state file read at a program's start: the input is the file, handed over
// on the command line as CHAIN does. Its folder record may name any folder; the
// restore only changes into it, and each input starts again in the scratch folder.
#include "fuzz_support.h"

#include "command/command.h"
#include "error/error.h"
#include "file/file_numbers.h"
#include "lifecycle/chain.h"
#include "screen/screen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_install_seams();
    fuzz_reset_runtime();
    fuzz_reset_screen();
    fuzz_reset_files();
    fuzz_scratch_clear();
    fuzz_write_file("chain001.tmp", data, size);
    static char program[] = "p";
    static char tagged[] = "(unique-tag:=/@*$+-)chain001.tmp";
    char* argv[] = {program, tagged, nullptr};
    command_initialize(2, argv);

    fuzz_run([&] {
        zvg_screen(0, 0, 0, 0, 0, 1);
        chain_input();
    });
    file_close_all();
    return 0;
}
