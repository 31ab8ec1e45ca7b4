// The message box's buttons, default button and keys.
#include "dialog/message_box_rules.h"

message_box_rules message_box_rules_for(const std::string& type, int32_t default_button) {
    message_box_rules r;
    if (type == "okcancel") {
        r.buttons = {{"OK", 'o', 1}, {"Cancel", 'c', 0}};
        r.focused = default_button == 0 ? 1 : 0;
        r.cancel_answer = 0;
    } else if (type == "yesno") {
        r.buttons = {{"Yes", 'y', 1}, {"No", 'n', 0}};
        r.focused = default_button == 0 ? 1 : 0;
        r.cancel_answer = 0;
    } else if (type == "yesnocancel") {
        r.buttons = {{"Yes", 'y', 1}, {"No", 'n', 2}, {"Cancel", 'c', 0}};
        r.focused = default_button == 1 ? 0 : default_button == 2 ? 1 : 2;
        r.cancel_answer = 0;
    } else {
        // An OK-only box has one answer, whichever way it is closed.
        r.buttons = {{"OK", 'o', 1}};
        r.focused = 0;
        r.cancel_answer = 1;
    }
    return r;
}

bool message_box_press(const message_box_rules& rules, size_t* focused, message_box_key key, char letter,
                       int32_t* answer) {
    size_t n = rules.buttons.size();
    switch (key) {
    case message_box_key::enter:
        *answer = rules.buttons[*focused].answer;
        return true;
    case message_box_key::escape:
        *answer = rules.cancel_answer;
        return true;
    case message_box_key::next:
        *focused = (*focused + 1) % n;
        return false;
    case message_box_key::previous:
        *focused = (*focused + n - 1) % n;
        return false;
    case message_box_key::letter:
        if (letter >= 'A' && letter <= 'Z') letter = char(letter - 'A' + 'a');
        for (const message_box_button& b : rules.buttons)
            if (b.accelerator == letter) {
                *answer = b.answer;
                return true;
            }
        return false;
    }
    return false;
}
