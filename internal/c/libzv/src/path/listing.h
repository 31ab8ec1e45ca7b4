// Folder listings with a wildcard pattern: the enumerator shared by _FILES$, FILES and
// KILL, its matcher, and those three statements. Listings are sorted (ASCII upper-cased
// bytewise, ties by the raw bytes) so that they never depend on the file system's order.
// Program thread only.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "string/zvs.h"

// One enumeration: the matching names, taken when it starts, handed out one at a time.
struct DirectoryContext {
    std::vector<std::string> names;
    size_t next = 0;
    std::string pattern;  // at most 4095 bytes
    std::string last;     // the name last returned
    std::string folder;   // the listed folder in the system's form, ending in '/'
};

// With a non-empty pattern, starts a new enumeration and returns its first match; with
// an empty pattern, the next match of the enumeration under way; "" when there is none.
// A pattern without '*' or '?' naming a plain file gives its file-name part alone; one
// naming a folder (or nothing) lists that folder with the pattern "*".
const std::string& FS_NextMatchingEntry(DirectoryContext* context, std::string_view pattern_text);
// The system path of a name the enumeration returned: the listed folder joined with the
// name's bytes as they are. A listed name may hold a '\', an ordinary byte of a name here,
// so it never goes through the path conversion (which would make it a separator and name
// a file outside the folder).
std::string FS_EntryPath(const DirectoryContext& context, std::string_view name);
// 1 when that path names an existing folder (links followed), else 0.
int32_t FS_EntryIsFolder(const DirectoryContext& context, std::string_view name);
// The matcher: '*' and '?' with ASCII case ignored. It never backs up within the name,
// so a star followed by aab does not match aaab.
bool FS_WildcardMatch(std::string_view pattern, std::string_view name);
// The 8.3 short form of a path: the path itself (no short names here).
std::string FS_GetShortPath(std::string_view path);

// _FILES$[(pattern)]: passed 0 continues the listing under way (error 5 when none is);
// folders get a trailing '/'; "" ends the listing. Consumes a temporary pattern.
zvs* func__files(zvs* pattern_text, int32_t passed);
// FILES [pattern]: the folder, the entries side by side in the 8-plus-4 layout, then the
// free bytes of the folder's file system.
void sub_files(zvs* pattern_text, int32_t passed);
// KILL pattern: deletes the plain files that match; folders are never deleted.
void sub_kill(zvs* pattern_text);
// KILL of one file named by its system path, used as it is (CHAIN's state file, which
// may sit in a folder whose name holds a '\'); KILL's errors.
void FS_KillFile(const std::string& path);

// Forgets the _FILES$ listing under way (tests).
void files_reset_for_tests();
