// _READFILE$ and _WRITEFILE: a whole file to or from a string, without a file number.
// Both run while an error is pending.
#pragma once

struct zvs;

// The file's bytes; error 53 (file missing, a folder, refused) or 75 (a read failed or the
// file is 2 GiB or more) and "".
zvs* func__readfile(zvs* name);
// Replaces the file's contents by the bytes (a new file when missing); error 76 when it
// cannot be opened or made, 75 when a write or the close fails or another opener locks
// its bytes. A failed write of a regular file leaves the previous file as it was.
void sub__writefile(zvs* name, zvs* contents);
