// What END's prompt needs of the text statements, handed to the program-end module.
#pragma once

#include "string/zvs.h"

// Registers VIEW PRINT and PRINT for END's prompt, with INKEY$ (null until the
// keyboard exists: no key is then ever seen).
void text_register_end_calls(zvs* (*inkey)());
