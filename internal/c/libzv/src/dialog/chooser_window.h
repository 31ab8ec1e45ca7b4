// The graphic route of the choosers: windows of the dialog layer (class "ZvDialog",
// instances "filechooser", "folderchooser", "colorchooser"). Texts are UTF-8. Each
// answers false when cancelled or when no display opens. The caller holds the dialog lock.
#pragma once
#include <cstdint>
#include <string>

bool chooser_window_save(const char* title, const char* default_path, int32_t count, const char* const* patterns,
                         const char* description, std::string* answer);
// Several files chosen come back as full paths joined by "|".
bool chooser_window_open(const char* title, const char* default_path, int32_t count, const char* const* patterns,
                         const char* description, int32_t several, std::string* answer);
bool chooser_window_folder(const char* title, const char* default_path, std::string* answer);
// Starts on default_hex when it is '#' and three hex pairs, else on default_rgb.
// Answers "#rrggbb" (lower case) and the bytes.
bool chooser_window_colour(const char* title, const char* default_hex, const uint8_t default_rgb[3],
                           uint8_t result_rgb[3], std::string* answer);
