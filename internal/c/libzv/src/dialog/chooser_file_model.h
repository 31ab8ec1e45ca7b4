// What the graphic file and folder choosers show and decide, without the window: the
// current folder and its entries, the filter, the selection, and what Enter does with
// the typed name or the selected entries.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/chooser_rules.h"

struct chooser_entry {
    std::string name;
    bool folder = false;
};

// ".." (except at the root), the subfolders, then (unless folders_only) the files that
// pass the patterns (every file for none), each group sorted as directory listings are
// (upper-cased, then bytewise). False, and no entries but "..", when the folder cannot
// be read. The folder is a system path, and the names are the system's bytes.
bool chooser_list_folder(const std::string& folder, std::string_view patterns, bool folders_only,
                         std::vector<chooser_entry>* out);
// folder + "/" + name, without "//" at the root; ".." is the parent folder.
std::string chooser_join(const std::string& folder, std::string_view name);
// The absolute folder to start in: the given runtime path resolved (relative to the
// current folder), or the current folder when it is empty or not a folder.
std::string chooser_start_folder(const std::string& folder);

enum class chooser_kind : uint8_t { open, save, folder };

struct chooser_file_model {
    chooser_kind kind = chooser_kind::open;
    bool several = false;
    std::string folder;  // absolute, a system path
    std::vector<chooser_filter> filters;
    size_t filter = 0;
    std::string first_pattern;  // save: the default extension comes from it
    std::vector<chooser_entry> entries;
    std::vector<bool> selected;
    size_t cursor = 0;
    std::string name;  // the name field (the folder chooser: the path field)
};

// A chooser at its start: the default path's folder and file name, the filter entries.
chooser_file_model chooser_file_start(chooser_kind kind, bool several, const char* default_path, int32_t count,
                                      const char* const* patterns, const char* description);
// Shows another folder: its entries, nothing selected, the cursor on the first. The
// folder chooser's field follows the folder.
void chooser_file_enter(chooser_file_model* m, const std::string& folder);
// The next filter entry (after the last, the first) and the list it passes.
void chooser_file_next_filter(chooser_file_model* m);
// The cursor goes to an entry; toggle (several files allowed) flips its selection,
// otherwise it becomes the only one selected. A file that ends up the only one
// selected puts its name in the name field.
void chooser_file_pick(chooser_file_model* m, size_t index, bool toggle);

struct chooser_outcome {
    enum kind_t : uint8_t { stay, answer, confirm_replace } kind = stay;
    std::string path;  // answer: the answer; confirm_replace: the file that exists
};
// Enter, in the name field (from_list false) or in the list. A typed folder or a
// folder under the list's cursor is entered; otherwise the typed name, else the
// selected files, is checked: open needs existing files; save a folder that exists, and
// asks before replacing a file; the folder chooser answers its field. A name of the
// list (or the shown folder) is used as the system gave it; a typed one is a runtime
// path. Answers are system paths.
chooser_outcome chooser_file_accept(chooser_file_model* m, bool from_list);
