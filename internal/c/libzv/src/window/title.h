// _TITLE and _TITLE$.
#pragma once

struct zvs;

// Keeps the text as the window's title and shows it (at creation when the window
// does not exist yet).
void sub__title(zvs* text);
// The title set by _TITLE, "" when none was set. A temporary.
zvs* func__title();

// The title text (null when none was set).
const char* window_title_text();
void title_reset_for_tests();
