// A clean keyboard for each test, and helpers that read what the pipeline queued.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/runtime_flags.h"
#include "core/traps.h"
#include "core/statement_flags.h"
#include "core/traps.h"
#include "error/error.h"
#include "font/glyphs.h"
#include "input/bios_keyboard.h"
#include "input/key_code.h"
#include "input/key_hit.h"
#include "input/keyboard.h"
#include "input/keyboard_glut.h"
#include "input/port60h.h"
#include "memory/cmem.h"
#include "string/zvs.h"
#include "display/presenter.h"
#include "window/window_words.h"

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        zvs_global_init();
        keyboard_reset_for_tests();
        keyboard_glut_reset_for_tests();
        codepage437_reset_for_tests();  // _MAPUNICODE changes the table keys map through
        traps_reset_for_tests();        // an armed ON KEY takes its key out of the buffers
        runtime_flags_reset_for_tests();
        statement_flags_reset_for_tests();
        traps_reset_for_tests();  // no ON KEY slot armed by an earlier test
        window_words_reset_for_tests();
        presenter_reset_for_tests();
        clear_error();
    }

    static void press(int32_t code) { keydown(code); }
    static void release(int32_t code) { keyup(code); }
    static void tap(int32_t code) {
        keydown(code);
        keyup(code);
    }

    // Every BIOS buffer entry, oldest first; the buffer is empty afterwards.
    static std::vector<std::pair<int, int>> bios_entries() {
        std::vector<std::pair<int, int>> out;
        for (bios_keyboard_entry e = bios_keyboard_take(); e.present; e = bios_keyboard_take())
            out.emplace_back(e.ascii, e.scancode);
        return out;
    }
    // Every _KEYHIT code, oldest first.
    static std::vector<int32_t> keyhits() {
        std::vector<int32_t> out;
        for (keyhit_entry e = keyhit_take(); e.code; e = keyhit_take()) out.push_back(e.code);
        return out;
    }
    // Every queued port 60h byte, oldest first.
    static std::vector<int> port60h_bytes() {
        std::vector<int> out;
        for (int32_t n = port60h_events(); n > 0; --n) out.push_back(port60h_take());
        return out;
    }
    static int byte_at(int64_t linear) { return cmem_shared(linear).load(); }
};
