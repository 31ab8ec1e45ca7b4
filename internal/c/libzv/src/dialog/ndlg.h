// The native dialog layer's interface: message box, input box, notification, beep,
// the file, folder and colour choosers, settings by name and text conversions.
//
// Text arguments are zero-terminated UTF-8 (a byte string that is not valid UTF-8 is
// read as Windows-1252); a null pointer is an absent text. Text answers point into
// storage of the layer that stays valid until the next call of the same operation:
// callers copy them at once. Each call runs on the calling thread and blocks it until
// the dialog is closed; calls from several threads are serialised (dialog_layer.h).
// The W twins take and answer UTF-16 and always take the graphic route.
#pragma once
#include <cstdint>

extern "C" {

// type: "ok", "okcancel", "yesno", "yesnocancel" (else "ok"); icon: "info", "warning",
// "error", "question" (else "info"); default_button 0 Cancel or No, 1 OK or Yes, 2 No of
// "yesnocancel". Answers 1 OK or Yes, 2 No of "yesnocancel", 0 otherwise.
int32_t ndlg_messageBox(const char* title, const char* message, const char* type, const char* icon,
                        int32_t default_button);
// A popup that goes away by itself; returns at once with 1 once it is handed over.
int32_t ndlg_notifyPopup(const char* title, const char* message, const char* icon);
// A null default_text asks for a masked entry. The graphic route answers "" when cancelled.
const char* ndlg_inputBox(const char* title, const char* message, const char* default_text);

// The choosers. Null when cancelled or when the answer fails its check.
const char* ndlg_saveFileDialog(const char* title, const char* default_path, int32_t pattern_count,
                                const char* const* patterns, const char* description);
// Several files chosen in one folder are answered as full paths joined by "|".
const char* ndlg_openFileDialog(const char* title, const char* default_path, int32_t pattern_count,
                                const char* const* patterns, const char* description, int32_t allow_several);
const char* ndlg_selectFolderDialog(const char* title, const char* default_path);
// default_hex "#rrggbb" or null (then default_rgb holds the start colour); result_rgb
// receives red, green, blue. Answers "#rrggbb".
const char* ndlg_colorChooser(const char* title, const char* default_hex, const uint8_t default_rgb[3],
                              uint8_t result_rgb[3]);

// Rings the bell at 900 Hz for 500 ms and returns when the tone is over.
void ndlg_beep();

int32_t ndlg_messageBoxW(const char16_t* title, const char16_t* message, const char16_t* type, const char16_t* icon,
                         int32_t default_button);
int32_t ndlg_notifyPopupW(const char16_t* title, const char16_t* message, const char16_t* icon);
const char16_t* ndlg_inputBoxW(const char16_t* title, const char16_t* message, const char16_t* default_text);
const char16_t* ndlg_saveFileDialogW(const char16_t* title, const char16_t* default_path, int32_t pattern_count,
                                     const char16_t* const* patterns, const char16_t* description);
const char16_t* ndlg_openFileDialogW(const char16_t* title, const char16_t* default_path, int32_t pattern_count,
                                     const char16_t* const* patterns, const char16_t* description,
                                     int32_t allow_several);
const char16_t* ndlg_selectFolderDialogW(const char16_t* title, const char16_t* default_path);
const char16_t* ndlg_colorChooserW(const char16_t* title, const char16_t* default_hex, const uint8_t default_rgb[3],
                                   uint8_t result_rgb[3]);

// Settings by name ("ndlg_verbose", "ndlg_silent", "ndlg_allowCursesDialogs",
// "ndlg_forceConsole", "ndlg_assumeGraphicDisplay", "ndlg_winUtf8"); -1 for a null,
// empty or unknown name.
int32_t ndlg_getGlobalInt(const char* name);
int32_t ndlg_setGlobalInt(const char* name, int32_t value);
// "ndlg_version", "ndlg_needs" or "ndlg_response"; null otherwise.
const char* ndlg_getGlobalChar(const char* name);

// Conversions, each into a buffer of its own kept until its next call; null for null.
// "mbcs" is Windows-1252. A strict conversion that fails gives "".
char16_t* ndlg_utf8to16(const char* text);
char16_t* ndlg_mbcsTo16(const char* text);
char* ndlg_utf16to8(const char16_t* text);
char* ndlg_utf16toMbcs(const char16_t* text);
char* ndlg_utf8toMbcs(const char* text);
char* ndlg_mbcsTo8(const char* text);

// True when the text holds a single or a double quote.
int32_t tfd_quoteDetected(const char* text);
// dest = source with every pattern replaced (an absent replacement is empty; an empty
// or absent pattern copies the source); ...ConCat appends to what dest holds. Both cut
// at dest_size - 1 bytes and always terminate.
void tfd_replaceSubStr(const char* source, const char* pattern, const char* replacement, char* dest,
                       uint64_t dest_size);
void tfd_replaceSubStrConCat(const char* source, const char* pattern, const char* replacement, char* dest,
                             uint64_t dest_size);
// True for "", a bare drive ("X:") and a path the file system reports as a folder.
int32_t tfd_pathIsDirectory(const char* path);

}  // extern "C"
