// What END and the shutdown ask of the modules above them: the prompt's screen calls
// and the CLOSE of every file. The modules register their calls here.
#pragma once
#include <cstdint>

struct zvs;

// What END's prompt in the window needs of the text and keyboard modules, which
// register these once they exist. Until then the prompt is not printed and no key
// is ever seen, so only a close request ends the wait.
struct end_screen_calls {
    void (*view_print)(int32_t top, int32_t bottom);   // VIEW PRINT top TO bottom
    void (*print)(zvs* text, int32_t new_line);        // PRINT on the write image
    zvs* (*inkey)();                                   // INKEY$ (a temporary)
};
void end_set_screen_calls(const end_screen_calls* calls);  // nullptr: the defaults
const end_screen_calls& end_screen();

// CLOSE of every file (END and CLEAR); the file module registers it. Until then
// there is nothing to close.
void end_set_close_all_files(void (*close_all)());
void close_all_files();
