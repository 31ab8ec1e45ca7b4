// Path and folder names: the path helpers, _FULLPATH$, _FILEEXISTS, _DIREXISTS and _DIR$
// on any bytes, and CHDIR, MKDIR, RMDIR, NAME, KILL and OPEN on names that cannot leave
// the scratch folder (no absolute path, no ".." part), which each input starts empty.
#include "fuzz_support.h"

#include "error/error.h"
#include "file/file_numbers.h"
#include "path/folders.h"
#include "path/listing.h"
#include "path/path.h"
#include "string/zvs.h"

namespace {

// A name whose every use stays inside the current folder: relative, and without a part
// that is or might become ".." (only dots and blanks, two dots or more), in either
// separator. Drive letters and device names are the runtime's to refuse.
bool stays_inside(const std::string& name) {
    if (name.empty()) return true;
    if (name[0] == '/' || name[0] == '\\' || name[0] == '~') return false;
    int32_t dots = 0;
    bool only_dots = true;
    for (size_t i = 0; i <= name.size(); i++) {
        if (i == name.size() || name[i] == '/' || name[i] == '\\') {
            if (only_dots && dots >= 2) return false;
            dots = 0;
            only_dots = true;
        } else if (name[i] == '.') {
            dots++;
        } else if (name[i] != ' ') {
            only_dots = false;
        }
    }
    return true;
}

zvs* text(const std::string& s) { return fuzz_text(reinterpret_cast<const uint8_t*>(s.data()), s.size()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_install_seams();
    fuzz_reset_runtime();
    fuzz_reset_files();
    fuzz_scratch_clear();
    fuzz_input in(data, size);

    fuzz_run([&] {
        for (int32_t ops = 0; ops < 16 && !in.empty(); ops++) {
            uint32_t mark = zvs_tmp_list_nexti();
            uint8_t op = in.u8();
            std::string a = in.chunk(64);
            std::string b = (op & 0x80) ? in.chunk(64) : std::string();
            bool safe = stays_inside(a) && stays_inside(b);
            switch (op % 12) {
                case 0: {
                    std::string s = a;
                    filepath_fix_directory(s);
                    filepath_get_filename(std::string_view(a));
                    filepath_get_extension(a.c_str());
                    filepath_has_extension(a.c_str(), b.c_str());
                    std::string folder, name, joined;
                    filepath_split(a, &folder, &name);
                    filepath_join(&joined, folder, b);
                    break;
                }
                case 1: FS_GetFullPath(a); break;
                case 2:
                    FS_DirectoryExists(a);
                    FS_FileExists(a);
                    func__fileexists(text(a));
                    func__direxists(text(a));
                    break;
                case 3: func__fullpath(zvs_new_txt_len(a.data(), int32_t(a.size()))); break;
                case 4: func__dir(text(a)); break;
                case 5:
                    if (safe) sub_mkdir(text(a));
                    break;
                case 6:
                    if (safe) sub_rmdir(text(a));
                    break;
                case 7:
                    if (safe) sub_chdir(text(a));
                    break;
                case 8:
                    if (safe) sub_name(text(a), text(b));
                    break;
                case 9:
                    if (safe) sub_kill(text(a));
                    break;
                case 10:
                    if (safe) {
                        // OUTPUT creates the name; BINARY, INPUT and APPEND open or refuse it.
                        static constexpr int32_t modes[] = {4, 2, 3, 5};
                        sub_open(text(a), modes[(op >> 4) & 3], 0, 0, 1, 0, 0);
                        sub_close(1, 1);
                    }
                    break;
                default: func__cwd(); break;
            }
            zvs_tmp_release_to(mark, 0);
            error_reset_for_tests();
        }
    });
    file_close_all();
    return 0;
}
