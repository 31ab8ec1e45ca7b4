// The graphic route's back end: message box, input box, notification and beep on X11.
#pragma once
#include <cstdint>
#include <string>

#include "dialog/dialog_layer.h"

// The table that dialog_global_init installs for the graphic route.
dialog_backend x11_backend();

// A display opens with the name read at start-up.
bool x11_display_opens();
int32_t x11_message_box(const char* title, const char* message, const char* type, const char* icon,
                        int32_t default_button);
bool x11_input_box(const char* title, const char* message, const char* default_text, std::string* answer);
int32_t x11_notify_popup(const char* title, const char* message, const char* icon);
int32_t x11_beep();

// How long a notification stays (10 s; tests shorten it).
void x11_notify_set_duration_for_tests(int32_t ms);
