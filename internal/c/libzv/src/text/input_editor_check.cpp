// Keyboard INPUT editor: splitting the line into fields and checking each against its target.
#include "text/input_editor_check.h"

#include <cstdlib>
#include <cstring>

#include "number/type_word.h"
#include "string/zvs.h"

namespace {

uint64_t last_hexoct_value = 0;

constexpr const char* uint64_max = "18446744073709551615";
constexpr const char* int64_max = "9223372036854775807";
constexpr const char* int64_max_neg = "9223372036854775808";
constexpr const char* single_max = "3402823";
constexpr const char* single_max_neg = "1401298";
constexpr const char* double_max = "17976931";
constexpr const char* double_max_neg = "4940656";

bool is_digit(char c) { return c >= '0' && c <= '9'; }

void store_low_bytes(void* target, uint64_t value, int32_t bytes) { std::memcpy(target, &value, static_cast<size_t>(bytes)); }

int32_t digits_of(uint64_t max, int32_t bits_per_digit) {
    int32_t n = 0;
    do {
        ++n;
        max >>= bits_per_digit;
    } while (max);
    return n;
}

// Decimal sign and digit rules shared by all integer sizes; *digits receives the digit part.
bool integer_syntax(const std::string& text, bool is_signed, bool* negative, std::string* digits) {
    size_t p = 0;
    *negative = false;
    if (is_signed && !text.empty() && text[0] == '-') {
        *negative = true;
        p = 1;
    }
    *digits = text.substr(p);
    if (digits->size() > 1 && (*digits)[0] == '0') return false;
    for (char c : *digits)
        if (!is_digit(c)) return false;
    return true;
}

int32_t check_small_integer(const std::string& text, uint32_t type, void* target, bool write) {
    const int32_t bits = type_word_bits(type);
    const int32_t bytes = bits / 8;
    const uint64_t max = (bits >= 64) ? UINT64_MAX : ((uint64_t{1} << bits) - 1);
    if (text.empty()) {
        if (write) store_low_bytes(target, 0, bytes);
        return 1;
    }
    uint64_t value = 0;
    if (int32_t kind = hexoct2uint64_text(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int32_t>(text.size()), &value)) {
        if (value > max) return 0;
        static constexpr int32_t bits_per_digit[4] = {0, 4, 3, 1};
        if (static_cast<int32_t>(text.size()) > 2 + digits_of(max, bits_per_digit[kind])) return 0;
        if (write) store_low_bytes(target, value, bytes);
        return 1;
    }
    bool negative;
    std::string digits;
    if (!integer_syntax(text, !type_word_is_unsigned(type), &negative, &digits)) return 0;
    if (digits.size() > 20) return 0;
    const uint64_t limit = type_word_is_unsigned(type) ? max : (negative ? max / 2 + 1 : max / 2);
    for (char c : digits) {
        const uint64_t d = static_cast<uint64_t>(c - '0');
        if (value > (limit - d) / 10) return 0;  // value * 10 + d would pass the limit
        value = value * 10 + d;
    }
    if (write) store_low_bytes(target, negative ? (0 - value) : value, bytes);
    return 1;
}

int32_t check_integer64(const std::string& text, uint32_t type, void* target, bool write) {
    uint64_t value = 0;
    if (text.empty()) {
        if (write) store_low_bytes(target, 0, 8);
        return 1;
    }
    if (hexoct2uint64_text(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int32_t>(text.size()), &value)) {
        if (write) store_low_bytes(target, value, 8);
        return 1;
    }
    const bool is_unsigned = type_word_is_unsigned(type);
    bool negative;
    std::string digits;
    if (!integer_syntax(text, !is_unsigned, &negative, &digits)) return 0;
    const char* reference = is_unsigned ? uint64_max : (negative ? int64_max_neg : int64_max);
    const size_t most = std::strlen(reference);
    if (digits.size() > most) return 0;
    if (digits.size() == most && std::strcmp(digits.c_str(), reference) > 0) return 0;
    if (digits.empty()) value = 0;
    else if (is_unsigned) value = std::strtoull(digits.c_str(), nullptr, 10);
    else value = static_cast<uint64_t>(std::strtoll(text.c_str(), nullptr, 10));
    if (write) store_low_bytes(target, value, 8);
    return 1;
}

// Compares the significant digits against a reference, over at most `count` digits:
// 1 above, -1 below, 0 equal as far as either goes.
int32_t compare_significant(const std::string& significant, const char* reference, size_t count) {
    for (size_t k = 0; k < count && k < significant.size() && reference[k]; ++k) {
        if (significant[k] > reference[k]) return 1;
        if (significant[k] < reference[k]) return -1;
    }
    return 0;
}

void store_float(uint32_t type, void* target, long double value) {
    const int32_t bits = type_word_bits(type);
    if (bits == 32) {
        const float f = static_cast<float>(value);
        std::memcpy(target, &f, sizeof f);
    } else if (bits == 64) {
        const double d = static_cast<double>(value);
        std::memcpy(target, &d, sizeof d);
    } else {
        std::memcpy(target, &value, sizeof value);
    }
}

size_t float_bytes(int32_t bits) { return bits == 32 ? sizeof(float) : bits == 64 ? sizeof(double) : sizeof(long double); }

int32_t check_float(const std::string& text, uint32_t type, void* target, bool write) {
    const int32_t bits = type_word_bits(type);
    if (write) std::memset(target, 0, float_bytes(bits));
    if (text.empty() || text == "-") return 1;
    uint64_t hexoct = 0;
    if (hexoct2uint64_text(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int32_t>(text.size()), &hexoct)) {
        if (write) store_float(type, target, static_cast<long double>(hexoct));
        return 1;
    }
    const size_t n = text.size();
    size_t p = 0;
    if (text[p] == '-') ++p;
    const size_t int_start = p;
    while (p < n && is_digit(text[p])) ++p;
    std::string int_digits = text.substr(int_start, p - int_start);
    if (int_digits.size() > 1 && int_digits[0] == '0') return 0;
    if (int_digits == "0" && p < n && text[p] != '.') return 0;
    std::string frac_digits;
    bool point = false;
    if (p < n && text[p] == '.') {
        point = true;
        const size_t frac_start = ++p;
        while (p < n && is_digit(text[p])) ++p;
        frac_digits = text.substr(frac_start, p - frac_start);
    }
    int32_t exponent = 0;
    std::string converted = text.substr(0, p);
    if (p < n) {
        const char letter = text[p];
        if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') return 0;
        if (bits == 32 && (letter == 'D' || letter == 'd')) return 0;
        if (p == 0 || !is_digit(text[p - 1])) return 0;
        if (point && frac_digits.find_first_not_of('0') == std::string::npos) return 0;
        ++p;
        converted += 'E';
        size_t exp_start = p;
        if (p < n && (text[p] == '-' || text[p] == '+')) converted += text[p++];
        exp_start = p;
        while (p < n && is_digit(text[p])) ++p;
        if (p < n) return 0;
        const std::string exp_digits = text.substr(exp_start);
        if (exp_digits.size() > 1 && exp_digits[0] == '0') return 0;
        if (exp_digits.size() > 6) return 0;  // far past every range; keeps the count in int32
        converted += exp_digits;
        if (!exp_digits.empty()) exponent = std::atoi(exp_digits.c_str());
        if (text[exp_start - 1] == '-') exponent = -exponent;
    }
    if (bits == 32 || bits == 64) {
        const bool single = bits == 32;
        const int32_t i = int_digits == "0" ? 0 : static_cast<int32_t>(int_digits.size());
        if (frac_digits == "0") frac_digits.clear();
        const int32_t f = static_cast<int32_t>(frac_digits.size());
        const size_t first_nonzero = frac_digits.find_first_not_of('0');
        const int32_t z = first_nonzero == std::string::npos ? f : static_cast<int32_t>(first_nonzero);
        const int32_t m = i ? i + exponent : -z + exponent;
        if (z > (single ? 43 : 322)) return 0;
        const bool all_zero = i == 0 && z == f;
        if (!all_zero) {
            std::string all = (i ? int_digits : std::string()) + frac_digits;
            const std::string significant = all.substr(std::min(all.find_first_not_of('0'), all.size()));
            const int32_t top = single ? 39 : 309;
            const int32_t bottom = single ? -44 : -323;
            const int32_t digits = i ? i + f : f - z;
            if (m > top) return 0;
            if (m == top && compare_significant(significant, single ? single_max : double_max, single ? 7 : 8) > 0) return 0;
            if (f > 0 && digits > (single ? 8 : 16)) return 0;
            if (m < bottom) return 0;
            if (m == bottom && compare_significant(significant, single ? single_max_neg : double_max_neg, 7) < 0) return 0;
        }
    }
    if (write) {
        if (bits == 32) store_float(type, target, std::strtof(converted.c_str(), nullptr));
        else store_float(type, target, std::strtod(converted.c_str(), nullptr));
    }
    return 1;
}

}  // namespace

int32_t hexoct2uint64_text(const uint8_t* text, int32_t length, uint64_t* value) {
    *value = 0;
    if (length == 0) return 1;
    if (text[0] != '&') return 0;
    if (length == 1) return 1;
    int32_t kind;
    switch (text[1]) {
        case 'H': case 'h': kind = 1; break;
        case 'O': case 'o': kind = 2; break;
        case 'B': case 'b': kind = 3; break;
        default: return 0;
    }
    if (length == 2) return kind;
    uint64_t v = 0;
    if (kind == 1) {
        if (length >= 19) return 0;
        for (int32_t k = 2; k < length; ++k) {
            const uint8_t c = text[k];
            uint64_t d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else return 0;
            v = v * 16 + d;
        }
    } else if (kind == 2) {
        if (length >= 25) return 0;
        if (length == 24 && text[2] != '0' && text[2] != '1') return 0;
        for (int32_t k = 2; k < length; ++k) {
            if (text[k] < '0' || text[k] > '7') return 0;
            v = v * 8 + static_cast<uint64_t>(text[k] - '0');
        }
    } else {
        if (length >= 67) return 0;
        for (int32_t k = 2; k < length; ++k) {
            if (text[k] != '0' && text[k] != '1') return 0;
            v = v * 2 + static_cast<uint64_t>(text[k] - '0');
        }
    }
    *value = v;
    return kind;
}

int32_t hexoct2uint64(const zvs* text) { return hexoct2uint64_text(text->text, text->length, &last_hexoct_value); }

uint64_t hexoct2uint64_value() { return last_hexoct_value; }

int32_t input_check_field(const std::string& text, uint32_t type, void* target) {
    if (type_word_is_string(type)) {
        zvs* s = static_cast<zvs*>(target);
        if (s->fixed_length && static_cast<int32_t>(text.size()) > s->length) return 0;
        zvs_set(s, zvs_new_txt_len(text.data(), static_cast<int32_t>(text.size())));
        return 1;
    }
    const bool write = (type & type_word_untouched) == 0;
    if (type_word_is_float(type)) return check_float(text, type, target, write);
    if (type_word_bits(type) == 64) return check_integer64(text, type, target, write);
    return check_small_integer(text, type, target, write);
}

void input_clear_target(uint32_t type, void* target) {
    if (type_word_is_string(type)) {
        zvs* s = static_cast<zvs*>(target);
        if (s->fixed_length) std::memset(s->text, ' ', static_cast<size_t>(s->length));
        else zvs_set(s, zvs_new_txt_len("", 0));
        return;
    }
    if (type & type_word_untouched) return;
    const int32_t bits = type_word_bits(type);
    // A 256-bit floating target is a long double: clearing 32 bytes would run past it.
    if (type_word_is_float(type)) std::memset(target, 0, float_bytes(bits));
    else std::memset(target, 0, static_cast<size_t>(bits / 8));
}

int32_t input_split_line(const std::string& line, int32_t n, bool line_input, std::vector<std::string>& fields) {
    fields.assign(1, std::string());
    bool in_quotes = false;
    bool closed = false;
    for (char c : line) {
        std::string& field = fields.back();
        if (c == ',' && !line_input && !in_quotes) {
            if (static_cast<int32_t>(fields.size()) >= n) return 0;
            fields.emplace_back();
            closed = false;
            continue;
        }
        if (closed) return 0;
        if (!line_input && c == '"') {
            if (in_quotes) {
                in_quotes = false;
                closed = true;
                continue;
            }
            if (field.empty()) {
                in_quotes = true;
                continue;
            }
        }
        field += c;
    }
    return static_cast<int32_t>(fields.size());
}
