// The dialogs' icons: information, warning, error and question.
#include "dialog/x11_icons.h"

#include "dialog/x11_dialog.h"

dialog_icon dialog_icon_named(const std::string& name) {
    if (name == "warning") return dialog_icon::warning;
    if (name == "error") return dialog_icon::error;
    if (name == "question") return dialog_icon::question;
    return dialog_icon::info;
}

void dx_draw_icon(dx_window* w, dialog_icon icon, int32_t x, int32_t y) {
    const char* mark = "i";
    uint32_t ink = dx_white;
    switch (icon) {
    case dialog_icon::warning:
        dx_fill_triangle(w, x + 16, y + 1, x + 31, y + 30, x + 1, y + 30, 0xFFC83D);
        mark = "!";
        ink = dx_ink;
        break;
    case dialog_icon::error:
        dx_fill_circle(w, x, y, 32, 0xE81123);
        mark = "X";
        break;
    case dialog_icon::question: dx_fill_circle(w, x, y, 32, 0x0063B1); mark = "?"; break;
    case dialog_icon::info: dx_fill_circle(w, x, y, 32, 0x0063B1); break;
    }
    int32_t tw = dx_text_width(w, mark, true);
    int32_t ty = y + (icon == dialog_icon::warning ? 18 : 16) - dx_line_height(w) / 2;
    dx_text(w, x + 16 - tw / 2, ty, mark, ink, true);
}
