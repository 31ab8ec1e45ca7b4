// From the windowing library's key reports to key codes and BIOS buffer entries.
#include <GL/freeglut.h>

#include "input/keyboard_fixture.h"

namespace {

enum class source { ascii, special, code };

struct mapping_case {
    const char* name;
    source from;
    int32_t value;                  // library character, special key or key code
    std::vector<int32_t> modifiers;  // held during the press
    int32_t key_code;               // _KEYHIT of the press (0: ignored)
    std::vector<std::pair<int, int>> bios;
};

const mapping_case cases[] = {
    {"letter", source::ascii, 'a', {}, 97, {{97, 0x1E}}},
    {"shifted letter", source::ascii, 'A', {key::left_shift}, 65, {{65, 0x1E}}},
    {"enter", source::ascii, 13, {}, 13, {{13, 28}}},
    {"ctrl c arrives as 3", source::ascii, 3, {key::left_ctrl}, 99, {{3, 46}}},
    {"ctrl shift c", source::ascii, 3, {key::right_ctrl, key::left_shift}, 67, {{3, 46}}},
    {"ctrl line feed is ctrl enter", source::ascii, 10, {key::left_ctrl}, 13, {{10, 28}}},
    {"ctrl 2", source::ascii, '2', {key::left_ctrl}, 50, {{0, 3}}},
    {"shift tab", source::ascii, 9, {key::right_shift}, 9, {{0, 0x0F}}},
    {"alt a", source::ascii, 'a', {key::left_alt}, 97, {{0, 0x1E}}},
    {"ctrl h arrives as backspace", source::ascii, 8, {key::left_ctrl}, 'h', {{8, 35}}},
    {"ctrl backspace", source::code, 8, {key::left_ctrl}, 8, {{127, 14}}},
    {"ctrl minus", source::ascii, '-', {key::left_ctrl}, 45, {{31, 12}}},
    {"alt minus", source::ascii, '-', {key::left_alt}, 45, {{0, 0x82}}},
    {"delete character", source::ascii, 127, {}, key::del, {{0, 0x53}}},
    {"latin-1 byte has no scancode", source::ascii, 0xE9, {}, 0xE9, {{0xE9, 0}}},
    {"f1", source::special, GLUT_KEY_F1, {}, 0x3B00, {{0, 0x3B}}},
    {"f10", source::special, GLUT_KEY_F10, {}, 0x4400, {{0, 0x44}}},
    {"shift f1", source::special, GLUT_KEY_F1, {key::left_shift}, 0x3B00, {{0, 0x54}}},
    {"alt f12", source::special, GLUT_KEY_F12, {key::right_alt}, 0x8600, {{0, 0x8C}}},
    {"ctrl f11", source::special, GLUT_KEY_F11, {key::left_ctrl}, 0x8500, {{0, 0x89}}},
    {"left", source::special, GLUT_KEY_LEFT, {}, 0x4B00, {{0, 0x4B}}},
    {"ctrl left", source::special, GLUT_KEY_LEFT, {key::left_ctrl}, 0x4B00, {{0, 0x73}}},
    {"page down", source::special, GLUT_KEY_PAGE_DOWN, {}, 0x5100, {{0, 0x51}}},
    {"alt home", source::special, GLUT_KEY_HOME, {key::left_alt}, 0x4700, {{0, 0x97}}},
    {"keypad delete without num lock", source::special, GLUT_KEY_DELETE, {}, key::del, {{0, 0x53}}},
    {"num lock special is ignored", source::special, GLUT_KEY_NUM_LOCK, {}, 0, {}},
    {"keypad centre special is ignored", source::special, GLUT_KEY_BEGIN, {}, 0, {}},
    {"left shift", source::special, GLUT_KEY_SHIFT_L, {}, key::left_shift, {}},
    {"right alt", source::special, GLUT_KEY_ALT_R, {}, key::right_alt, {}},
    {"keypad 1 with num lock", source::code, 100257, {}, '1', {{'1', 79}}},
    {"keypad 1 with num lock and shift", source::code, 100257, {key::left_shift}, '1', {{0, 0x4F}}},
    {"keypad point with num lock", source::code, 100266, {}, '.', {{'.', 83}}},
    {"keypad slash", source::code, 100267, {}, '/', {{'/', 53}}},
    {"keypad star with alt", source::code, 100268, {key::left_alt}, '*', {{0, 0x37}}},
    {"keypad enter with ctrl", source::code, 100271, {key::left_ctrl}, 13, {{10, 28}}},
    {"keypad end without num lock", source::code, 200001, {}, key::end, {{0, 0x4F}}},
    {"keypad end without num lock, shift", source::code, 200001, {key::left_shift}, key::end, {{'1', 79}}},
    {"keypad end without num lock, ctrl", source::code, 200001, {key::left_ctrl}, key::end, {{0, 0x75}}},
    {"keypad centre without num lock", source::code, 200005, {}, key::centre, {{0, 0x4C}}},
    {"keypad delete without num lock, alt", source::code, 200010, {key::left_alt}, key::del, {}},
    {"code zero", source::code, 0, {}, key::code_zero, {{0, 0}}},
    {"unicode outside code page 437", source::code, key::unicode_base + 0x4E2D, {}, key::unicode_base + 0x4E2D, {}},
};

void PrintTo(const mapping_case& c, std::ostream* os) { *os << c.name; }

class KeyMapping : public KeyboardTest, public ::testing::WithParamInterface<mapping_case> {};

TEST_P(KeyMapping, PressGivesItsKeyCodeAndBiosEntry) {
    const mapping_case& c = GetParam();
    for (int32_t m : c.modifiers) press(m);
    keyhits();
    bios_entries();
    switch (c.from) {
    case source::ascii: GLUT_key_ascii(c.value, 1); break;
    case source::special: GLUT_key_special(c.value, 1); break;
    case source::code: keydown(c.value); break;
    }
    std::vector<int32_t> expected_hits;
    if (c.key_code) expected_hits.push_back(c.key_code);
    EXPECT_EQ(keyhits(), expected_hits);
    EXPECT_EQ(bios_entries(), c.bios);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyMapping, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<mapping_case>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST_F(KeyboardTest, KeypadKeysCarryTheKeypadFlagInTheRing) {
    keydown(100264);
    keyhit_entry e = keyhit_take();
    EXPECT_EQ(e.code, '8');
    EXPECT_EQ(e.keypad, 1);
    keydown('8');
    EXPECT_EQ(keyhit_take().keypad, 0);
}

TEST_F(KeyboardTest, ReleasesAreNegatedAndQueueNothingInTheBiosBuffer) {
    GLUT_key_special(GLUT_KEY_F1, 1);
    GLUT_key_special(GLUT_KEY_F1, 0);
    keydown(100257);
    keyup(100257);
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{0x3B00, -0x3B00, '1', -'1'}));
    EXPECT_EQ(bios_entries(), (std::vector<std::pair<int, int>>{{0, 0x3B}, {'1', 79}}));
}

TEST_F(KeyboardTest, CtrlLettersFollowShiftOfTheHeldSetNotOfCapsLock) {
    // The library's own modifier state counts Caps Lock as Shift; the held set does not.
    press(key::caps_lock);
    press(key::left_ctrl);
    GLUT_key_ascii(1, 1);
    press(key::left_shift);
    GLUT_key_ascii(1, 1);
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{key::caps_lock, key::left_ctrl, 'a', key::left_shift, 'A'}));
}

TEST_F(KeyboardTest, AltGrCharactersAreQueuedAsTyped) {
    // A glyph typed with AltGr (left Ctrl and right Alt) is not read as an Alt combination.
    press(key::left_ctrl);
    press(key::right_alt);
    bios_entries();
    keydown_unicode('@');
    EXPECT_EQ(bios_entries(), (std::vector<std::pair<int, int>>{{'@', 3}}));
    keydown('@');  // the same key without a glyph is Alt+@
    EXPECT_EQ(bios_entries(), (std::vector<std::pair<int, int>>{{0, 0x79}}));
}

TEST_F(KeyboardTest, UnicodeCharactersBecomeCodePage437OrTheirOwnCode) {
    keydown_unicode(0xE9);    // e acute
    keydown_unicode(0xFF21);  // full-width A
    keydown_unicode(0x3000);  // ideographic space
    keydown_unicode(0x4E2D);
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{130, 65, 32, key::unicode_base + 0x4E2D}));
    EXPECT_EQ(bios_entries(), (std::vector<std::pair<int, int>>{{130, 0}, {65, 30}, {32, 57}}));
    keyup_unicode(0xE9);
    EXPECT_EQ(keyhits(), (std::vector<int32_t>{-130}));
}

}  // namespace
