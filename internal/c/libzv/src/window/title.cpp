// _TITLE and _TITLE$.
#include "window/title.h"

#include <cstring>

#include "error/error.h"
#include "glut/glut_queue.h"
#include "glut/glut_setup.h"
#include "string/zvs.h"

namespace {
// Heap copy with a NUL added; program thread only.
char* window_title = nullptr;
}  // namespace

void sub__title(zvs* text) {
    if (new_error_is_set()) return;
    auto* copy = new char[size_t(text->length) + 1];
    if (text->length) memcpy(copy, text->text, size_t(text->length));
    copy[text->length] = 0;
    delete[] window_title;
    window_title = copy;
    glut_set_pending_title(window_title);
    if (libzv_is_glut_up()) libzv_glut_set_window_title(window_title);
}

zvs* func__title() {
    if (new_error_is_set() || !window_title) return zvs_new(0, 1);
    int32_t length = int32_t(strlen(window_title));
    zvs* s = zvs_new(length, 1);
    if (length) memcpy(s->text, window_title, size_t(length));
    return s;
}

const char* window_title_text() { return window_title; }

void title_reset_for_tests() {
    delete[] window_title;
    window_title = nullptr;
    glut_set_pending_title(nullptr);
}
