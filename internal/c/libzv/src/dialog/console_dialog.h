// The basic console route of the dialogs: prompts printed on standard output and
// keys or lines read from standard input, for processes without a graphic display.
// Texts are UTF-8. The caller holds the dialog lock.
#pragma once
#include <cstdint>
#include <string>

// What the questions take from the layer's settings.
struct console_settings {
    bool win_utf8 = true;       // lines: a leading Ctrl-Z cancels (else an ESC anywhere)
    bool force_console = false; // the console was asked for: no banner
    std::string needs;          // the banner's second line
};

// "yesno", "okcancel", "yesnocancel" ask for a letter until one fits; anything else
// waits for a key. Answers 1 OK or Yes, 2 No of "yesnocancel", 0 otherwise; at end
// of input the cancel answer (1 for an OK-only box).
int32_t console_basic_message_box(const console_settings& s, const char* title, const char* message,
                                  const char* type, int32_t default_button);
// One line; a null default text reads it without echo. False: cancelled or end of input.
bool console_basic_input_box(const console_settings& s, const char* title, const char* message,
                             const char* default_text, std::string* answer);
// The choosers' question: lead ("Save file in ", "Open file from ", "Select folder from ")
// and the current folder. A cancelled question answers "".
bool console_basic_path(const console_settings& s, const char* lead, const char* title, std::string* answer);

// The colour as typed text "#rrggbb" (either case), through the route's input box.
// The field starts on the default text cut to 7 characters, else on the default bytes.
using console_input_box_fn = bool (*)(const char* title, const char* message, const char* default_text,
                                      std::string* answer);
bool console_colour_chooser(console_input_box_fn ask, const char* title, const char* default_hex,
                            const uint8_t default_rgb[3], uint8_t result_rgb[3], std::string* answer);

// The banner is printed again before the next question.
void console_dialog_reset_for_tests();
