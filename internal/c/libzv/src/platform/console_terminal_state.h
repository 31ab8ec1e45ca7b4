// Shared state of the console terminal layer's two files (output and input).
#pragma once
#include <cstdio>

// Standard input's descriptor and the output stream in use.
int console_terminal_in_fd();
FILE* console_terminal_out();
