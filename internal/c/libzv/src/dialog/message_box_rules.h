// The message box's buttons and keys, apart from any window: which buttons a dialog
// type shows, which one starts focused, and what each key answers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct message_box_button {
    const char* label;
    char accelerator;  // lower-case letter
    int32_t answer;
};

struct message_box_rules {
    std::vector<message_box_button> buttons;
    size_t focused;         // index of the default button
    int32_t cancel_answer;  // Escape and the close request
};

// type and default button as the caller gave them ("ok" for anything unknown).
message_box_rules message_box_rules_for(const std::string& type, int32_t default_button);

enum class message_box_key : uint8_t { enter, escape, next, previous, letter };
// What a key does: answer (true, *answer set) or move the focus. letter: the typed
// letter, either case.
bool message_box_press(const message_box_rules& rules, size_t* focused, message_box_key key, char letter,
                       int32_t* answer);
