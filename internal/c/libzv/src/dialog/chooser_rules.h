// The rules of the file, folder and colour choosers that need no window: filter
// entries and name matching, the default path, the default extension, the checks
// every answer passes and the colour text.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/ndlg.h"

// One entry of a chooser's filter selector: the text shown and the patterns, joined by ';'.
struct chooser_filter {
    std::string label;
    std::string patterns;
};

// The filter entries: (description, or the patterns when there is none; the patterns),
// then ("All Files"; "*.*"). No patterns (null or empty ones are skipped): no entries,
// every file shows. The label keeps at most 127 UTF-16 units and the whole filter text
// at most 1,023; patterns that do not fit are left out whole.
std::vector<chooser_filter> chooser_filter_entries(const char* description, int32_t count,
                                                   const char* const* patterns);

// Whether a file name passes a ';'-joined pattern list: '*' and '?' wildcards, ASCII
// letters in either case, and "*.*" matches every name.
bool chooser_name_matches(std::string_view patterns, std::string_view name);

// The default path split at its last '/', else its last '\': the folder before it
// (empty when none; "/" for a separator at the start) and the file name after it.
struct chooser_start {
    std::string folder;
    std::string file;
};
chooser_start chooser_split_default_path(const char* path);

// The save chooser's extension: a first pattern "*.ext" without wildcards in ext gives
// a name that has no extension ".ext"; otherwise the name is kept.
std::string chooser_default_extension(std::string_view name, const char* first_pattern);

// The checks of the answers. Nothing when the answer is refused. Answers are runtime
// paths ('\' a separator), or with system_paths the system's own (the graphic choosers').
// Save: not empty; a folder part, when there is one, is a folder; a file name that is
// not empty and has none of \ / : * ? " < > |.
std::optional<std::string> chooser_check_save(std::string_view answer, bool system_paths = false);
// Open: every name an existing regular file (readable too, when must_read); of several
// names joined by '|' the missing ones are dropped.
std::optional<std::string> chooser_check_open(std::string_view answer, bool several, bool must_read,
                                              bool system_paths = false);
// Folder: not empty, and a folder.
std::optional<std::string> chooser_check_folder(std::string_view answer, bool system_paths = false);

// '#' and three pairs of hexadecimal digits (either case), nothing more: the red, green
// and blue bytes. False (rgb untouched) for any other text.
bool chooser_parse_colour(std::string_view text, uint8_t rgb[3]);
// "#rrggbb" in lower case.
std::string chooser_colour_text(const uint8_t rgb[3]);

// The longest start of a UTF-8 text that ends on a character boundary and fits
// max_bytes bytes / max_units UTF-16 units.
std::string_view chooser_cut_bytes(std::string_view text, size_t max_bytes);
std::string_view chooser_cut_units(std::string_view text, size_t max_units);

// tfd_pathIsDirectory (ndlg.h) is defined with these rules: true for "", for a bare
// drive ("X:") and for a path that names a folder; false when it cannot be examined.
