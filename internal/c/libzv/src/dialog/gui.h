// The _GUI statements and functions, BEEP, and the pattern list of the file choosers.
//
// Each wrapper copies its given strings (up to a zero byte), makes one call of the
// dialog layer under its lock and copies the answer into a new temporary. `passed`
// says which optional arguments the program gave. With an error pending they show
// nothing and answer "" or 0.
#pragma once
#include <cstdint>

struct zvs;

void sub__guiNotifyPopup(zvs* title, zvs* message, zvs* icon, int32_t passed);
void sub__guiMessageBox(zvs* title, zvs* message, zvs* icon, int32_t passed);
// 1 OK or Yes, 2 No of "yesnocancel", 0 Cancel or No of "yesno".
int32_t func__guiMessageBox(zvs* title, zvs* message, zvs* type, zvs* icon, int32_t default_button, int32_t passed);
// "" when cancelled. A given but empty default text asks for a masked entry.
zvs* func__guiInputBox(zvs* title, zvs* message, zvs* default_text, int32_t passed);
zvs* func__guiSelectFolderDialog(zvs* title, zvs* default_folder, int32_t passed);
// 0xFF000000 + 0xRRGGBB, 0 when cancelled.
uint32_t func__guiColorChooserDialog(zvs* title, uint32_t default_colour, int32_t passed);
// Several files are joined by "|".
zvs* func__guiOpenFileDialog(zvs* title, zvs* default_path, zvs* patterns, zvs* description, int32_t several,
                             int32_t passed);
zvs* func__guiSaveFileDialog(zvs* title, zvs* default_path, zvs* patterns, zvs* description, int32_t passed);

// BEEP; PRINT of CHR$(7) rings it too.
void sub_beep();

// Splits at every "|", dropping empty pieces: a null-terminated array of separate
// copies (null when there are none) and their count. gui_free_patterns frees it.
char** gui_split_patterns(const char* patterns, int32_t* count);
void gui_free_patterns(char** list);
