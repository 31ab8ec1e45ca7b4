// The pending error at a statement boundary: the program's handler, or the error box.
#pragma once

// Handles the pending error at a statement boundary (program thread): the handler
// when one is set, else a box (Yes continues, No ends the program, critical numbers
// exit).
void fix_error();

// The program's name for box titles: argv[0] after its last '/' or '\'.
void error_set_program_name(const char* argv0);
const char* error_program_name();
