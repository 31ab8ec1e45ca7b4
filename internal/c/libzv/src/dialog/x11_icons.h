// The icons of the graphic dialogs, drawn at 32 x 32 pixels.
#pragma once
#include <cstdint>
#include <string>

struct dx_window;

enum class dialog_icon : uint8_t { info, warning, error, question };
// "warning", "error", "question"; anything else is info.
dialog_icon dialog_icon_named(const std::string& name);
void dx_draw_icon(dx_window* w, dialog_icon icon, int32_t x, int32_t y);
