// The BASIC face of the dialogs over the fake back end: strings and errors start clean.
#pragma once
#include <string>

#include "error/error.h"
#include "fake_backend.h"
#include "string/zvs.h"

class GuiFixture : public DialogTest {
protected:
    void SetUp() override {
        zvs_global_init();
        error_reset_for_tests();
        DialogTest::SetUp();
    }
    void TearDown() override {
        error_reset_for_tests();
        DialogTest::TearDown();
    }
    static zvs* s(const std::string& text) { return zvs_new_txt_len(text.data(), int32_t(text.size())); }
    static std::string text(zvs* v) { return std::string(reinterpret_cast<char*>(v->text), size_t(v->length)); }
};
