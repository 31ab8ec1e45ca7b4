// Dialogs as console questions: message boxes by letter, input lines, the choosers'
// paths and the colour text.
#include "dialog/console_dialog.h"

#include <unistd.h>

#include <atomic>
#include <string_view>

#include "dialog/chooser_rules.h"
#include "dialog/console_io.h"

namespace {

constexpr size_t line_bytes = 1023;
std::atomic<bool> banner_shown{false};

bool is(const char* text, std::string_view word) { return text && word == text; }
bool given(const char* text) { return text && *text; }

void banner(const console_settings& s) {
    if (s.force_console || banner_shown.exchange(true)) return;
    console_io_write("\n\nmissing software! (we will try basic console input)\n");
    console_io_write(s.needs + "\n\n");
}

void title_line(const char* title) {
    if (given(title)) console_io_write(std::string("\n") + title + "\n\n");
}

char lower(uint8_t key) { return key >= 'A' && key <= 'Z' ? static_cast<char>(key - 'A' + 'a') : static_cast<char>(key); }

// Asks until one of the letters arrives; its index, or -1 at end of input.
int ask_letter(const char* message, std::string_view prompt, std::string_view letters) {
    while (true) {
        console_io_write(std::string(given(message) ? message : "") + "\n");
        uint8_t key;
        bool got = console_io_ask_key(prompt, &key);
        console_io_write("\n\n");
        if (!got) return -1;
        size_t at = letters.find(lower(key));
        if (at != std::string_view::npos) return static_cast<int>(at);
    }
}

std::string current_folder() {
    std::string folder(4096, '\0');
    while (!getcwd(folder.data(), folder.size())) {
        if (folder.size() > (1u << 20)) return ".";
        folder.resize(folder.size() * 2);
    }
    folder.resize(folder.find('\0'));
    return folder;
}

}  // namespace

int32_t console_basic_message_box(const console_settings& s, const char* title, const char* message,
                                  const char* type, int32_t) {
    banner(s);
    title_line(title);
    if (is(type, "yesno")) {
        int at = ask_letter(message, "y/n: ", "yn");
        return at == 0 ? 1 : 0;
    }
    if (is(type, "okcancel")) {
        int at = ask_letter(message, "[O]kay/[C]ancel: ", "oc");
        return at == 0 ? 1 : 0;
    }
    if (is(type, "yesnocancel")) {
        static const int32_t answers[] = {1, 2, 0};
        int at = ask_letter(message, "[Y]es/[N]o/[C]ancel: ", "ync");
        return at < 0 ? 0 : answers[at];
    }
    if (given(message)) console_io_write(std::string(message) + "\n\n");
    uint8_t key;
    console_io_ask_key("press enter to continue ", &key);
    console_io_write("\n\n");
    return 1;
}

bool console_basic_input_box(const console_settings& s, const char* title, const char* message,
                             const char* default_text, std::string* answer) {
    banner(s);
    title_line(title);
    if (given(message)) console_io_write(std::string(message) + "\n");
    std::string line;
    if (!console_io_ask_line("(ctrl-Z + enter to cancel): ", default_text == nullptr, line_bytes, &line))
        return false;
    if (s.win_utf8 ? (!line.empty() && line[0] == '\x1a') : line.find('\x1b') != std::string::npos) return false;
    *answer = std::move(line);
    return true;
}

bool console_basic_path(const console_settings& s, const char* lead, const char* title, std::string* answer) {
    std::string message = std::string(lead) + current_folder();
    if (!console_basic_input_box(s, title, message.c_str(), "", answer)) answer->clear();
    return true;
}

bool console_colour_chooser(console_input_box_fn ask, const char* title, const char* default_hex,
                            const uint8_t default_rgb[3], uint8_t result_rgb[3], std::string* answer) {
    std::string start;
    if (default_hex)
        start = chooser_cut_bytes(default_hex, 7);
    else if (default_rgb)
        start = chooser_colour_text(default_rgb);
    std::string typed;
    if (!ask(title, "Enter hex rgb color (i.e. #f5ca20)", start.c_str(), &typed)) return false;
    uint8_t rgb[3];
    if (!chooser_parse_colour(typed, rgb)) return false;
    for (int i = 0; i < 3; i++) result_rgb[i] = rgb[i];
    *answer = std::move(typed);
    return true;
}

void console_dialog_reset_for_tests() { banner_shown.store(false); }
