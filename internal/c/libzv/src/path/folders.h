// The statements and functions on paths and folders: _CWD$, _STARTDIR$, CHDIR, MKDIR,
// RMDIR, NAME ... AS, _FULLPATH$, _FILEEXISTS, _DIREXISTS and _DIR$ with the special
// folders. Folder results end with '/'. Program thread only.
#pragma once
#include <cstdint>
#include <string>

#include "string/zvs.h"

// _CWD$: the current folder ending with '/'; "" while an error is pending; error 51
// and "" when the system cannot tell it.
zvs* func__cwd();
// Remembers the current folder the first time it is called (start-up, before the
// runtime changes to the executable's folder); later calls change nothing.
void FS_SaveStartDirectory();
// _STARTDIR$: the remembered folder ("" when never remembered); runs while an error is pending.
zvs* func__startdir();

// CHDIR: error 76 when the folder cannot be entered.
void sub_chdir(zvs* path);
// MKDIR: error 75 when the name already exists, else 76.
void sub_mkdir(zvs* path);
// RMDIR: error 75 when the folder is not empty, else 76.
void sub_rmdir(zvs* path);
// NAME old AS new: never replaces an existing new name (error 5). A plain file moves to
// another file system by copy; a folder cannot (error 5). Errors: 64 bad name,
// 75 access denied (also for NUL and a file open here), 53 old name or target folder missing, 5 otherwise.
void sub_name(zvs* old_name, zvs* new_name);

// _FULLPATH$: the absolute form of an existing path; error 76 and "" for a missing one;
// "" for "" and while an error is pending. Consumes a temporary argument.
zvs* func__fullpath(zvs* path);
// _FILEEXISTS and _DIREXISTS: -1 or 0; no errors, and they run while one is pending.
int32_t func__fileexists(zvs* path);
int32_t func__direxists(zvs* path);

// _DIR$: the special folder named by the keyword (ASCII case ignored; an unknown one
// means the desktop); runs while an error is pending. Consumes a temporary argument.
zvs* func__dir(zvs* keyword);
// The folder of a special-folder kind (0 to 14), ending with '/'; falls back to the
// profile folder, then "./".
std::string FS_GetSpecialFolder(int32_t kind);
// The kind _DIR$ selects for a keyword already upper-cased.
int32_t special_folder_kind(std::string_view keyword);

// Forgets the start folder (tests).
void folders_reset_for_tests();
