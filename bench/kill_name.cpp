// KILL of a pattern over 1,000 files, timed beside a plain listing and unlink of the
// same files (ratio_to_unlink); both make the files first. NAME of a 16 MB file to
// another file system (/tmp to /dev/shm and back), timed beside a plain copy, flush
// and unlink of the same file (ratio_to_copy). CHAIN's state file (64 KB, a SCREEN 13
// program's) moved to another file system through a private copy renamed over its
// name, timed beside the plain copy over the name that it replaced (ratio_to_truncating_copy).
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "error/error.h"
#include "file/gfs.h"
#include "paired_ratio.h"
#include "path/file_move.h"
#include "path/folders.h"
#include "path/listing.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

namespace {

constexpr int files = 1000;

std::string make_folder(const char* under) {
    std::string pattern = std::string(under) + "/zvbenchXXXXXX";
    if (!mkdtemp(pattern.data())) abort();
    return pattern;
}

void make_files(const std::string& folder) {
    char name[64];
    for (int i = 0; i < files; i++) {
        snprintf(name, sizeof name, "/f%04d.txt", i);
        int fd = ::open((folder + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::close(fd) != 0) abort();
    }
}

void BM_KillPattern(benchmark::State& state) {
    std::string folder = make_folder("/tmp");
    zvs_reset_for_tests(1 << 24, 65536, 65536);
    error_reset_for_tests();
    gfs_reset_for_tests();
    const std::string pattern_text = folder + "/*.txt";  // the string views it
    zvs* pattern = zvs_new_txt(pattern_text.c_str());
    pattern->temporary = 0;
    paired::run(
        state, "ratio_to_unlink",
        [&] {
            make_files(folder);
            sub_kill(pattern);
            if (new_error.load()) state.SkipWithError("KILL failed");
        },
        [&] {
            make_files(folder);
            DIR* dir = opendir(folder.c_str());
            while (const dirent* e = readdir(dir))
                if (e->d_name[0] != '.') ::unlink((folder + "/" + e->d_name).c_str());
            closedir(dir);
        });
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_KillPattern)->Apply(paired::medians);

void copy_away(const std::string& from, const std::string& to) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (in < 0 || out < 0) abort();
    static char buffer[1 << 16];
    for (ssize_t n; (n = ::read(in, buffer, sizeof buffer)) > 0;)
        if (::write(out, buffer, size_t(n)) != n) abort();
    if (::fsync(out) != 0 || ::close(out) != 0 || ::close(in) != 0 || ::unlink(from.c_str()) != 0) abort();
}

void BM_NameAcrossFileSystems(benchmark::State& state) {
    struct stat a, b;
    if (stat("/tmp", &a) != 0 || stat("/dev/shm", &b) != 0 || a.st_dev == b.st_dev) {
        state.SkipWithError("/tmp and /dev/shm are one file system here");
        return;
    }
    std::string disk = make_folder("/tmp"), memory = make_folder("/dev/shm");
    zvs_reset_for_tests(1 << 24, 65536, 65536);
    error_reset_for_tests();
    gfs_reset_for_tests();
    std::string bytes(size_t(16) << 20, 'n');
    for (const std::string& name : {disk + "/work", disk + "/baseline"}) {
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) || ::close(fd) != 0) abort();
    }
    const std::string disk_work = disk + "/work", memory_work = memory + "/work";  // the strings view them
    auto text = [](const std::string& s) {
        zvs* z = zvs_new_txt(s.c_str());
        z->temporary = 0;
        return z;
    };
    zvs *on_disk = text(disk_work), *in_memory = text(memory_work);
    paired::run(
        state, "ratio_to_copy",
        [&] {
            sub_name(on_disk, in_memory);
            sub_name(in_memory, on_disk);
            if (new_error.load()) state.SkipWithError("NAME failed");
        },
        [&] {
            copy_away(disk + "/baseline", memory + "/baseline");
            copy_away(memory + "/baseline", disk + "/baseline");
        });
    state.SetBytesProcessed(state.iterations() * 2 * int64_t(bytes.size()));
    std::filesystem::remove_all(disk);
    std::filesystem::remove_all(memory);
}
BENCHMARK(BM_NameAcrossFileSystems)->Apply(paired::medians);

// The move CHAIN made before: open the destination for writing, truncating it (and
// following a link there), copy, remove the source.
void truncating_copy(const std::string& from, const std::string& to) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (in < 0 || out < 0 || file_copy_contents(in, out) != 0) abort();
    if (::close(out) != 0 || ::close(in) != 0 || ::unlink(from.c_str()) != 0) abort();
}

void BM_ChainStateFileAcrossFileSystems(benchmark::State& state) {
    struct stat a, b;
    if (stat("/tmp", &a) != 0 || stat("/dev/shm", &b) != 0 || a.st_dev == b.st_dev) {
        state.SkipWithError("/tmp and /dev/shm are one file system here");
        return;
    }
    std::string disk = make_folder("/tmp"), memory = make_folder("/dev/shm");
    std::string bytes(65244, 's');
    auto make = [&](const std::string& name) {
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) || ::close(fd) != 0) abort();
    };
    // The destination names are taken, as a target folder's old state files would be.
    make(memory + "/chain500.tmp");
    make(memory + "/chain600.tmp");
    paired::run(
        state, "ratio_to_truncating_copy",
        [&] {
            make(disk + "/chain500.tmp");
            if (file_replace_across(disk + "/chain500.tmp", memory + "/chain500.tmp") != 0)
                state.SkipWithError("the move failed");
        },
        [&] {
            make(disk + "/chain600.tmp");
            truncating_copy(disk + "/chain600.tmp", memory + "/chain600.tmp");
        });
    state.SetBytesProcessed(state.iterations() * int64_t(bytes.size()));
    std::filesystem::remove_all(disk);
    std::filesystem::remove_all(memory);
}
BENCHMARK(BM_ChainStateFileAcrossFileSystems)->Apply(paired::medians);

}  // namespace
