// Logs what the keyboard buffers receive, one line each, to the file named by
// ZV_KEYS_OUT: "ready" once running, then in each pass "hit <code>" per _KEYHIT
// entry, "inkey <codes>" per INKEY$ key and, after any entry, "held <codes>": the
// keys held then, lock states aside ("held" alone when none is). With ZV_KEYS_INPUT set it first reads
// one LINE INPUT and writes "line <text>". The window is titled "keyevents".
#include <cstdio>
#include <cstdlib>
#include <string>

#include "zv.h"

namespace {

// _KEYDOWN of every code outside the Unicode range: characters, extended keys, the
// special keys and the keypad without Num Lock.
std::string held_keys() {
    std::string held = "held";
    auto add = [&held](int32_t code) {
        if (code != key::num_lock && code != key::caps_lock && code != key::scroll_lock_state &&
            code != key::insert_state && func__keydown(code))
            held += " " + std::to_string(code);
    };
    for (int32_t code = 1; code <= 255; ++code) add(code);
    for (int32_t scancode = 1; scancode <= 255; ++scancode) add(scancode * 256);
    for (int32_t code = 100000; code <= 100400; ++code) add(code);  // special keys, keypad
    for (int32_t code = key::keypad_plain_first; code <= key::insert_state; ++code) add(code);
    return held;
}

void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    FILE* out = fopen(getenv("ZV_KEYS_OUT"), "w");
    ZV_STATEMENT(1, sub__title(zvs_new_txt("keyevents")); ZV_RELEASE_TEMPORARIES());
    fprintf(out, "ready\n");
    fflush(out);
    if (getenv("ZV_KEYS_INPUT")) {
        zvs* line = zvs_new(0, 0);
        ZV_STATEMENT(2, {
            zvs_input_target(1, type_word_string | type_word_line_input, line);
            zvs_input(1, 1);
        });
        fprintf(out, "line %.*s\n", int(line->length), reinterpret_cast<const char*>(line->text));
        fflush(out);
        // What the line editor left in the ring is not part of what follows.
        while (func__keyhit()) {
        }
    }
    for (;;) {
        ZV_STATEMENT(3, {
            // _KEYHIT first: a key whose release is read here has its INKEY$ entry
            // queued already, so both appear in the same pass.
            bool hits = false;
            while (int32_t hit = func__keyhit()) {
                fprintf(out, "hit %d\n", hit);
                hits = true;
            }
            for (zvs* k = zvs_inkey(); k->length; k = zvs_inkey()) {
                if (k->length == 1) fprintf(out, "inkey %d\n", k->text[0]);
                if (k->length == 2) fprintf(out, "inkey %d,%d\n", k->text[0], k->text[1]);
            }
            ZV_RELEASE_TEMPORARIES();
            if (hits) fprintf(out, "%s\n", held_keys().c_str());
            fflush(out);
            libzv_sleep_ms(5);
        });
    }
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
