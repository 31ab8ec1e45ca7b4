// BLOAD: a memory-image file (see file/bsave.h) read back into conventional memory.
// Program thread only.
#pragma once
#include <cstdint>

struct zvs;

// BLOAD name[, offset]: with an offset (-65536..65535, else error 6; taken as 16 bits)
// the bytes go to DEF SEG + offset, without one to the header's segment and offset.
// Errors: 53 no such file; 54 not a memory image (under 7 bytes, no FDh mark) or fewer
// bytes than the header says (those bytes are stored); 5 a range past the end of
// conventional memory (nothing stored). Header length 0: the rest of the file when it
// holds at least 65536 bytes, else nothing.
void sub_bload(zvs* name, int32_t offset, int32_t passed);
