// Texts between BASIC strings and the dialog layer, for the _GUI wrappers.
#pragma once
#include <string>

struct zvs;

// The string's bytes up to its first zero byte; "" when not given.
std::string gui_text(zvs* s, bool given);
// The same, lower-cased (ASCII letters only): icon and dialog-type names.
std::string gui_name(zvs* s);
// A new temporary holding the answer; "" for a null answer.
zvs* gui_answer(const char* answer);
