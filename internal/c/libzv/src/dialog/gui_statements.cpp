// _GUINOTIFYPOPUP, _GUIMESSAGEBOX (statement and function), _GUIINPUTBOX$ and BEEP.
#include <cstring>
#include <mutex>
#include <string>

#include "dialog/dialog_layer.h"
#include "dialog/gui.h"
#include "dialog/gui_text.h"
#include "dialog/ndlg.h"
#include "error/error.h"
#include "string/zvs.h"

void sub__guiNotifyPopup(zvs* title, zvs* message, zvs* icon, int32_t passed) {
    if (new_error_is_set()) return;
    std::string t = gui_text(title, passed & 1), m = gui_text(message, passed & 2);
    std::string ic = (passed & 4) ? gui_name(icon) : "info";
    ndlg_notifyPopup(t.c_str(), m.c_str(), ic.c_str());
}

void sub__guiMessageBox(zvs* title, zvs* message, zvs* icon, int32_t passed) {
    if (new_error_is_set()) return;
    std::string t = gui_text(title, passed & 1), m = gui_text(message, passed & 2);
    std::string ic = (passed & 4) ? gui_name(icon) : "info";
    ndlg_messageBox(t.c_str(), m.c_str(), "ok", ic.c_str(), 1);
}

int32_t func__guiMessageBox(zvs* title, zvs* message, zvs* type, zvs* icon, int32_t default_button, int32_t passed) {
    if (new_error_is_set()) return 0;
    std::string t = gui_text(title, passed & 1), m = gui_text(message, passed & 2);
    std::string ty = (passed & 4) ? gui_name(type) : "ok";
    std::string ic = (passed & 8) ? gui_name(icon) : "info";
    return ndlg_messageBox(t.c_str(), m.c_str(), ty.c_str(), ic.c_str(), (passed & 16) ? default_button : 1);
}

zvs* func__guiInputBox(zvs* title, zvs* message, zvs* default_text, int32_t passed) {
    if (new_error_is_set()) return zvs_new(0, 1);
    std::string t = gui_text(title, passed & 1), m = gui_text(message, passed & 2);
    // Absent: a plain field that starts empty; given but empty: a masked one.
    std::string d = gui_text(default_text, passed & 4);
    const char* def = !(passed & 4) ? "" : d.empty() ? nullptr : d.c_str();
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    return gui_answer(ndlg_inputBox(t.c_str(), m.c_str(), def));
}

void sub_beep() {
    if (new_error_is_set()) return;
    ndlg_beep();
}
