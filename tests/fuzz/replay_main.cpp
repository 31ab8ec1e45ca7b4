// The regression form of a fuzz target: runs the target once on every file named on
// the command line or found in a named folder (in name order), like a libFuzzer
// binary given files, and fails when a run does not come back. Missing folders are
// skipped: a target may have no saved reproducers. (A libFuzzer binary needs absolute
// paths for the same reason: targets change the current folder.)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; i++) {
        // Absolute before the first run: targets work in a scratch folder of their own.
        std::error_code ec;
        fs::path p = fs::absolute(argv[i], ec);
        if (fs::is_directory(p, ec)) {
            std::vector<fs::path> in_folder;
            for (const auto& e : fs::directory_iterator(p, ec))
                if (e.is_regular_file()) in_folder.push_back(e.path());
            std::sort(in_folder.begin(), in_folder.end());
            files.insert(files.end(), in_folder.begin(), in_folder.end());
        } else if (fs::exists(p, ec)) {
            files.push_back(p);
        }
    }
    for (const fs::path& p : files) {
        std::ifstream in(p, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // A copy of exactly the file's size, so that ASan sees reads past its end.
        std::vector<uint8_t> exact(bytes);
        exact.shrink_to_fit();
        LLVMFuzzerTestOneInput(exact.data(), exact.size());
    }
    printf("replayed %zu inputs\n", files.size());
    return files.empty() ? 1 : 0;
}
