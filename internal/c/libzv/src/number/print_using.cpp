// PRINT USING's format interpreter: fields, literal text and the format's reuse.
#include "number/print_using.h"

#include <string>
#include <string_view>

#include "error/error.h"
#include "number/print_using_field.h"
#include "number/zvs_text.h"
#include "string/zvs.h"

namespace {

print_using_file_writer file_writer = nullptr;

bool at(std::string_view s, size_t i, std::string_view what) { return s.substr(i, what.size()) == what; }

}  // namespace

bool pu_read_field(std::string_view format, int32_t position, pu_field& field) {
    field = pu_field{};
    // 0 nothing yet, 1 after a leading +, 2 digits before the point, 3 after the
    // point, 4 after the exponent marks.
    int32_t stage = 0;
    size_t i = static_cast<size_t>(position);
    while (i < format.size()) {
        char c = format[i];
        if (stage >= 2 && (c == '+' || c == '-')) {
            field.trailing_sign = c;
            i++;
            break;
        }
        if (stage == 2 || stage == 3) {
            if (at(format, i, "^^^^^")) {
                field.exp_digits = 3;
                i += 5;
                stage = 4;
                continue;
            }
            if (at(format, i, "^^^^")) {
                field.exp_digits = 2;
                i += 4;
                stage = 4;
                continue;
            }
        }
        if (stage == 3 && c == '#') {
            field.after++;
            i++;
            continue;
        }
        if (stage == 2 && c == ',') {
            field.before++;
            field.commas = true;
            i++;
            continue;
        }
        if (stage <= 2 && c == '#') {
            field.before++;
            stage = 2;
            i++;
            continue;
        }
        if (stage <= 2 && c == '.') {
            field.point = true;
            stage = 3;
            i++;
            continue;
        }
        if (stage <= 1) {
            if (at(format, i, "**$")) {
                field.before += 2;
                field.asterisk = field.dollar = true;
                stage = 2;
                i += 3;
                continue;
            }
            if (at(format, i, "**")) {
                field.before += 2;
                field.asterisk = true;
                stage = 2;
                i += 2;
                continue;
            }
            if (at(format, i, "$$")) {
                field.before += 1;
                field.dollar = true;
                stage = 2;
                i += 2;
                continue;
            }
        }
        if (stage == 0 && c == '+') {
            field.leading_sign = true;
            stage = 1;
            i++;
            continue;
        }
        break;
    }
    field.end = static_cast<int32_t>(i);
    return stage >= 2 && (field.before > 0 || field.after > 0);
}

int32_t print_using(zvs* format, int32_t position, zvs* dest, zvs* text) {
    if (new_error_is_set()) return 0;
    // Copies: the strings' text may move while dest grows.
    const std::string fmt(reinterpret_cast<const char*>(format->text), static_cast<size_t>(format->length));
    std::string value;
    if (text) value.assign(reinterpret_cast<const char*>(text->text), static_cast<size_t>(text->length));
    const int32_t length = static_cast<int32_t>(fmt.size());

    // 1 a number waits, 2 a string waits, 0 the value has been printed.
    int32_t mode = text ? 2 : 1;
    std::string out;
    auto finish = [&](int32_t next) {
        if (!out.empty()) zvs_set(dest, zvs_add(dest, zvs_of_text(out)));
        return next;
    };
    auto fail = [&](int32_t n) {
        error(n);
        return finish(0);
    };

    int32_t p = position;
    bool wrapped = false;
    for (;;) {
        if (p < 0 || p >= length) {
            if (mode == 0) return finish(0);
            // No field for the value: from the start, or after one full pass (a format
            // that changed between calls would otherwise be copied without end).
            if (position == 0 || wrapped) return fail(ERR_ILLEGAL_FUNCTION_CALL);
            wrapped = true;
            p = 0;
            continue;
        }
        pu_field field;
        if (pu_read_field(fmt, p, field)) {
            if (mode == 0) return finish(p);
            if (mode == 2) return fail(ERR_TYPE_MISMATCH);
            pu_lay_out(field, out);
            p = field.end;
            mode = 0;
            continue;
        }
        // String fields: & the whole string, ! one character, \  \ as many as it is long.
        int32_t width = 0;
        char c = fmt[static_cast<size_t>(p)];
        if (c == '&') {
            width = -1;
        } else if (c == '!') {
            width = 1;
        } else if (c == '\\') {
            int32_t j = p + 1;
            while (j < length && fmt[static_cast<size_t>(j)] == ' ') j++;
            if (j < length && fmt[static_cast<size_t>(j)] == '\\') width = j - p + 1;
        }
        if (width != 0) {
            if (mode == 0) return finish(p);
            if (mode == 1) return fail(ERR_TYPE_MISMATCH);
            if (width < 0) {
                out += value;
                width = 1;
            } else {
                std::string piece = value.substr(0, static_cast<size_t>(width));
                piece.resize(static_cast<size_t>(width), ' ');
                out += piece;
            }
            p += width;
            mode = 0;
            continue;
        }
        // Literal text; _ quotes the next character.
        if (c == '_' && p + 1 < length) c = fmt[static_cast<size_t>(++p)];
        out += c;
        p++;
    }
}

void print_using_set_file_writer(print_using_file_writer writer) { file_writer = writer; }

void print_using_file(int32_t file_number, zvs* text) {
    if (new_error_is_set()) return;
    if (!file_writer) {
        error(ERR_BAD_FILE_NAME_OR_NUMBER);
        return;
    }
    file_writer(file_number, text);
}

void print_using_reset_for_tests() {
    file_writer = nullptr;
    pu_number& n = pu_value();
    n = pu_number{"0", 1, 0, 0, 'E'};
}
