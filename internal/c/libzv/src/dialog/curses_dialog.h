// The curses route of the dialogs: the full-screen program "dialog", started with an
// argument vector (no shell), answers through its standard error, which goes to a
// private temporary file, and through its exit status. Texts are UTF-8. The caller
// holds the dialog lock.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Where "dialog" is looked for (a PATH list) and where answer files go (a TMPDIR
// value; null or empty: /tmp). Forgets an earlier search.
void curses_dialog_configure(const char* path_list, const char* temp_folder);
// Whether curses_dialog_configure was called.
bool curses_dialog_configured();
// The program's path, searched along the PATH list once per configuration.
// Empty when none is found.
std::string curses_dialog_program();

// The arguments after the program name.
std::vector<std::string> curses_message_box_arguments(const char* title, const char* message, const char* type,
                                                      int32_t default_button);
// A null default text asks for a masked entry.
std::vector<std::string> curses_input_box_arguments(const char* title, const char* message,
                                                    const char* default_text);
std::vector<std::string> curses_chooser_arguments(const char* title, const char* default_path, bool folder);

// The questions. Answers as on the other routes; a program that cannot be started or
// an answer file that cannot be made answers 0 or nothing.
int32_t curses_message_box(const char* title, const char* message, const char* type, int32_t default_button);
bool curses_input_box(const char* title, const char* message, const char* default_text, std::string* answer);
// The path typed or picked, "" when cancelled.
bool curses_chooser(const char* title, const char* default_path, bool folder, std::string* answer);
