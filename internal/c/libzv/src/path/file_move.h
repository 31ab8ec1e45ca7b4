// Moving a plain file where rename cannot: from one file system to another, by copy.
// System paths, used as they are.
#pragma once
#include <string>

// Copies the rest of `in` to `out` (copy_file_range, else read and write). 0 or the
// errno of the failure.
int file_copy_contents(int in, int out);

// Moves the plain file `from` to `to`, which must not exist (it is made with O_EXCL, so
// an existing file is never replaced): the bytes, then the owner where allowed, the
// mode and the access and modification times; the copy is flushed to the disk before
// `from` is removed. On any failure the partial copy is removed, `from` stays, and the
// errno of the failure is answered; 0 on success. Anything but a plain file answers
// EXDEV, as rename did.
int file_move_across(const std::string& from, const std::string& to);

// Moves the plain file `from` over `to` where rename cannot: the bytes are copied into
// a fresh private name in `to`'s folder, which is then renamed over `to`, replacing its
// entry (a link is replaced, never followed). On failure the private copy is removed
// and `to` and `from` are untouched. 0 or the errno of the failure.
int file_replace_across(const std::string& from, const std::string& to);
