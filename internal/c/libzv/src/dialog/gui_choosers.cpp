// _GUISELECTFOLDERDIALOG$, _GUICOLORCHOOSERDIALOG, _GUIOPENFILEDIALOG$ and
// _GUISAVEFILEDIALOG$, with the choosers' pattern list.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "dialog/dialog_layer.h"
#include "dialog/gui.h"
#include "dialog/gui_text.h"
#include "dialog/ndlg.h"
#include "error/error.h"
#include "string/zvs.h"

char** gui_split_patterns(const char* patterns, int32_t* count) {
    *count = 0;
    if (!patterns || !*patterns) return nullptr;
    size_t capacity = 2;
    char** list = static_cast<char**>(calloc(capacity + 1, sizeof(char*)));
    if (!list) return nullptr;
    for (const char* at = patterns; *at;) {
        const char* bar = strchr(at, '|');
        size_t n = bar ? size_t(bar - at) : strlen(at);
        if (n) {
            if (size_t(*count) == capacity) {
                char** grown = static_cast<char**>(realloc(list, (capacity * 2 + 1) * sizeof(char*)));
                if (!grown) break;
                list = grown;
                capacity *= 2;
            }
            list[*count] = strndup(at, n);
            if (!list[*count]) break;
            list[++*count] = nullptr;
        }
        at += n + (bar ? 1 : 0);
    }
    if (*count == 0) {
        free(list);
        return nullptr;
    }
    return list;
}

void gui_free_patterns(char** list) {
    if (!list) return;
    for (char** p = list; *p; ++p) free(*p);
    free(list);
}

zvs* func__guiSelectFolderDialog(zvs* title, zvs* default_folder, int32_t passed) {
    if (new_error_is_set()) return zvs_new(0, 1);
    std::string t = gui_text(title, passed & 1), f = gui_text(default_folder, passed & 2);
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    return gui_answer(ndlg_selectFolderDialog(t.c_str(), (passed & 2) ? f.c_str() : nullptr));
}

uint32_t func__guiColorChooserDialog(zvs* title, uint32_t default_colour, int32_t passed) {
    if (new_error_is_set()) return 0;
    std::string t = gui_text(title, passed & 1);
    uint32_t start = (passed & 2) ? default_colour & 0xFFFFFF : 0;
    uint8_t rgb[3] = {uint8_t(start >> 16), uint8_t(start >> 8), uint8_t(start)};
    uint8_t result[3] = {0, 0, 0};
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    if (!ndlg_colorChooser(t.c_str(), nullptr, rgb, result)) return 0;
    return 0xFF000000u | uint32_t(result[0]) << 16 | uint32_t(result[1]) << 8 | result[2];
}

namespace {

// The arguments shared by both file choosers.
struct file_chooser_args {
    std::string title, path, description;
    bool has_path, has_description;
    char** patterns;
    int32_t count;
    file_chooser_args(zvs* t, zvs* p, zvs* pat, zvs* d, int32_t passed)
        : title(gui_text(t, passed & 1)), path(gui_text(p, passed & 2)), description(gui_text(d, passed & 8)),
          has_path(passed & 2), has_description(!description.empty()) {
        std::string list = gui_text(pat, passed & 4);
        patterns = gui_split_patterns((passed & 4) ? list.c_str() : nullptr, &count);
    }
    ~file_chooser_args() { gui_free_patterns(patterns); }
    const char* path_or_null() const { return has_path ? path.c_str() : nullptr; }
    const char* description_or_null() const { return has_description ? description.c_str() : nullptr; }
};

}  // namespace

zvs* func__guiOpenFileDialog(zvs* title, zvs* default_path, zvs* patterns, zvs* description, int32_t several,
                             int32_t passed) {
    if (new_error_is_set()) return zvs_new(0, 1);
    file_chooser_args a(title, default_path, patterns, description, passed);
    int32_t allow = (passed & 16) && several ? 1 : 0;
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    return gui_answer(ndlg_openFileDialog(a.title.c_str(), a.path_or_null(), a.count, a.patterns,
                                          a.description_or_null(), allow));
}

zvs* func__guiSaveFileDialog(zvs* title, zvs* default_path, zvs* patterns, zvs* description, int32_t passed) {
    if (new_error_is_set()) return zvs_new(0, 1);
    file_chooser_args a(title, default_path, patterns, description, passed);
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    return gui_answer(
        ndlg_saveFileDialog(a.title.c_str(), a.path_or_null(), a.count, a.patterns, a.description_or_null()));
}
