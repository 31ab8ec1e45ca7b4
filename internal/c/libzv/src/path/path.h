// Path helpers shared by every statement that names a file or folder: separators,
// the file-name part, extensions, split and join, the absolute form of a path and
// the existence tests. Programs write '\' or '/'; where the runtime itself adds a
// separator it adds '/'. None of these raise errors or change a program's string.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "string/zvs.h"

// The system's form of a path ('\' becomes '/'). The C-text and growable forms work in
// place on the runtime's own buffers and return them; the string form leaves the
// program's string alone and returns a copy.
char* filepath_fix_directory(char* text);
std::string& filepath_fix_directory(std::string& text);
std::string filepath_fix_directory(const zvs* text);

// The part after the last '/' or '\' (the whole path when there is none); null for null.
const char* filepath_get_filename(const char* path);
std::string_view filepath_get_filename(std::string_view path);
// The text after the last '.' of the file-name part, or the empty text at its end.
// A null path counts as empty.
const char* filepath_get_extension(const char* path);
// 1 when the file-name part's extension equals extension, ignoring ASCII case; else 0
// (also for null arguments).
int32_t filepath_has_extension(const char* path, const char* extension);
// Splits at the last '/' or '\': the folder keeps the separator (a\b.txt gives a\ and
// b.txt); without one the folder is empty and the name is the whole path.
void filepath_split(std::string_view path, std::string* folder, std::string* name);
// out = folder, a '/' when the folder is not empty and does not end in '/' or '\', name.
void filepath_join(std::string* out, std::string_view folder, std::string_view name);

// The absolute form of a path, worked out lexically (symbolic links are not resolved),
// with '/' appended when it names an existing folder. NUL answers the null device.
// A path the system cannot take (a drive letter, a zero byte) comes back unchanged.
std::string FS_GetFullPath(std::string_view path);
// 1 when the path names an existing folder (links followed), else 0.
int32_t FS_DirectoryExists(std::string_view path);
// 1 when the path names something that exists and is not a folder, else 0.
int32_t FS_FileExists(std::string_view path);

// A program string's bytes as a view (valid until strings move).
inline std::string_view zvs_view(const zvs* s) {
    return {reinterpret_cast<const char*>(s->text), size_t(s->length > 0 ? s->length : 0)};
}
