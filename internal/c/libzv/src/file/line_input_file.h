// LINE INPUT # from INPUT and BINARY files.
#pragma once
#include <cstdint>

struct zvs;

// LINE INPUT #n, variable$: the bytes up to the line end (CR, LF, CR LF or LF CR in
// INPUT files; LF, with a CR before it dropped, in BINARY files).
void sub_file_line_input_string(int32_t n, zvs* variable);
