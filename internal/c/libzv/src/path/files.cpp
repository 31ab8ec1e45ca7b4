// _FILES$ and FILES: folder listings handed to the program or printed on the screen.
#include <sys/statvfs.h>

#include <cstring>
#include <string>

#include "error/error.h"
#include "number/number_text.h"
#include "path/listing.h"
#include "path/path.h"
#include "platform/os_path.h"
#include "text/print.h"
#include "text/text_cursor.h"

namespace {

// _FILES$'s listing: its enumeration (which knows the folder its names live in), and
// whether one is under way. Allocated on first use; program thread only.
DirectoryContext* files_context = nullptr;
bool files_under_way = false;

zvs* temporary_copy(std::string_view text) {
    zvs* s = zvs_new(int32_t(text.size()), 1);
    if (!text.empty()) memcpy(s->text, text.data(), text.size());
    return s;
}

void print(std::string_view text, bool fit, int32_t finish_line) {
    zvs* s = zvs_new_txt_len(text.data(), int32_t(text.size()));
    if (fit) makefit(s);
    zvs_print(s, finish_line);
    zvs_free(s);
}

// A FILES entry: a short name in 8-plus-4 columns (README  .TXT), any other name as it
// is, padded to 12; then "<DIR> " or six spaces.
std::string files_entry(std::string_view name, bool folder) {
    std::string entry(name);
    size_t dot = entry.find('.');
    if (dot != std::string::npos && dot <= 8 && entry.size() - dot <= 4) {
        std::string extension = entry.substr(dot);
        entry.resize(dot);
        entry.resize(8, ' ');
        entry += extension;
    }
    if (entry.size() < 12) entry.resize(12, ' ');
    entry += folder ? "<DIR> " : "      ";
    return entry;
}

uint64_t free_bytes(const std::string& folder) {
    std::string os;
    struct statvfs info;
    if (libzv_path_has_drive(folder) || !libzv_os_path(folder, &os) || statvfs(os.c_str(), &info) != 0) return 0;
    return uint64_t(info.f_bfree) * uint64_t(info.f_frsize);
}

}  // namespace

zvs* func__files(zvs* pattern_text, int32_t passed) {
    if (new_error_is_set()) return zvs_new(0, 1);
    if (!files_context) files_context = new DirectoryContext;
    const std::string* name;
    if (passed) {
        std::string text = filepath_fix_directory(pattern_text);
        if (pattern_text->temporary) zvs_free(pattern_text);
        if (text.empty()) text.push_back('*');
        files_under_way = true;
        name = &FS_NextMatchingEntry(files_context, text);
    } else {
        if (!files_under_way) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return zvs_new(0, 1);
        }
        name = &FS_NextMatchingEntry(files_context, {});
    }
    if (name->empty()) {
        files_under_way = false;
        return zvs_new(0, 1);
    }
    std::string answer = *name;
    if (FS_EntryIsFolder(*files_context, *name)) answer.push_back('/');
    return temporary_copy(answer);
}

void files_reset_for_tests() {
    files_under_way = false;
    if (files_context) *files_context = DirectoryContext();
}

void sub_files(zvs* pattern_text, int32_t passed) {
    if (new_error_is_set()) return;
    std::string text = passed && pattern_text->length ? filepath_fix_directory(pattern_text) : std::string("./");
    std::string folder;
    if (FS_DirectoryExists(text)) {
        folder = FS_GetFullPath(text);
    } else {
        std::string file;
        filepath_split(text, &folder, &file);
        folder = FS_GetFullPath(folder.empty() ? "./" : folder);
    }
    if (folder.empty()) return error(ERR_ILLEGAL_FUNCTION_CALL);
    std::string short_folder = FS_GetShortPath(folder);
    print(short_folder, false, 1);

    DirectoryContext context;
    const std::string* name = &FS_NextMatchingEntry(&context, text);
    if (name->empty()) return error(ERR_FILE_NOT_FOUND);
    // A listed name is printed and tested as it is: a '\' in it is no separator here.
    for (; !name->empty(); name = &FS_NextMatchingEntry(&context, {}))
        print(files_entry(*name, FS_EntryIsFolder(context, *name)), true, 0);
    if (func_pos(0) != 1) print({}, false, 1);
    num_text bytes = num_str(free_bytes(folder));
    print(std::string(bytes.view()) + " Bytes free", false, 1);
}
