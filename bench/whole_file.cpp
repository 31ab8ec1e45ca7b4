// _WRITEFILE over an existing file, timed beside a plain open (O_TRUNC), write and
// close of the same bytes in the same folder (ratio_to_open_write). Two routes: a
// file with one name, replaced through a side file and a rename (route 0), and a
// file with a second name, written in place after its new length is reserved
// (route 1). Sizes: 4 KB and 1 MB.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "error/error.h"
#include "file/gfs.h"
#include "file/whole_file.h"
#include "paired_ratio.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

namespace {

constexpr int writes = 16;  // per timed pass

zvs* variable(const std::string& bytes) {
    zvs* v = zvs_new(int32_t(bytes.size()), 0);
    if (!bytes.empty()) memcpy(v->text, bytes.data(), bytes.size());
    return v;
}

void plain_write(const char* path, const std::string& bytes) {
    int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) abort();
    if (::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size())) abort();
    if (::close(fd) != 0) abort();
}

void BM_WriteFile(benchmark::State& state) {
    char pattern[] = "/tmp/zvbenchXXXXXX";
    if (!mkdtemp(pattern)) abort();
    std::string folder = pattern;
    if (chdir(folder.c_str()) != 0) abort();
    zvs_reset_for_tests(1 << 24, 65536, 65536);
    error_reset_for_tests();
    gfs_reset_for_tests();

    std::string bytes(size_t(state.range(0)), 'w');
    plain_write("target", bytes);
    plain_write("baseline", bytes);
    if (state.range(1) == 1 && ::link("target", "second") != 0) abort();
    zvs* name = variable("target");
    zvs* contents = variable(bytes);
    paired::run(
        state, "ratio_to_open_write",
        [&] {
            for (int i = 0; i < writes; i++) sub__writefile(name, contents);
            if (new_error.load()) state.SkipWithError("_WRITEFILE failed");
        },
        [&] {
            for (int i = 0; i < writes; i++) plain_write("baseline", bytes);
        });
    state.SetBytesProcessed(state.iterations() * writes * state.range(0));
    if (chdir("/") == 0) std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteFile)->ArgsProduct({{4096, 1 << 20}, {0, 1}})->Apply(paired::medians);

}  // namespace
