// PRINT USING's numeric layout: sign position, thousands, fixed and exponent forms,
// overflow marks and the one rounding per field.
#include <cstdint>
#include <string>

#include "number/print_using.h"
#include "number/print_using_field.h"

namespace {

char digit_at(const pu_number& n, int64_t i) { return i >= 0 && i < n.pu_ndig ? n.pu_dig[static_cast<size_t>(i)] : '0'; }

void set_digits(pu_number& n, std::string digits) {
    n.pu_dig = std::move(digits);
    n.pu_ndig = static_cast<int32_t>(n.pu_dig.size());
}

// Rounds the digit string up after its first `kept` digits: carries run left, and a
// carry out of the first digit adds a leading 1 (one more integer digit).
void round_up_at(pu_number& n, int32_t kept) {
    std::string d = n.pu_dig.substr(0, static_cast<size_t>(kept));
    n.pu_dp += n.pu_ndig - kept;
    int32_t i = kept - 1;
    while (i >= 0 && d[static_cast<size_t>(i)] == '9') d[static_cast<size_t>(i--)] = '0';
    if (i >= 0) {
        d[static_cast<size_t>(i)]++;
    } else {
        d.insert(d.begin(), '1');
    }
    set_digits(n, std::move(d));
}

// Fixed form. Returns how many digits of pu_dig the text used.
int64_t fixed_form(const pu_field& f, pu_number& n, std::string& text) {
    const bool own_sign = !f.leading_sign && f.trailing_sign == 0;
    const bool minus = own_sign && n.pu_neg;
    bool overflow = false;
    int32_t width = f.before;
    // The sign takes a position only from a negative value; with none before the
    // point the field overflows.
    if (minus) {
        if (width > 0) {
            width--;
        } else {
            overflow = true;
        }
    }
    const int32_t positions = f.commas ? width - width / 4 : width;

    int64_t integer_digits = static_cast<int64_t>(n.pu_ndig) + n.pu_dp;
    // Zeros between the point and the first digit become digits, so that rounding
    // can carry into them.
    if (integer_digits < 0) {
        set_digits(n, std::string(static_cast<size_t>(-integer_digits), '0') + n.pu_dig);
        integer_digits = 0;
    }
    // With no positions before the point a lone integer digit 0 is not shown.
    if (width == 0 && integer_digits == 1 && n.pu_dig[0] == '0') {
        set_digits(n, n.pu_dig.substr(1));
        integer_digits = 0;
    }
    if (integer_digits > positions) overflow = true;

    const int64_t groups = f.commas && integer_digits > 0 ? (integer_digits - 1) / 3 : 0;
    const bool zero = integer_digits == 0 && width >= 1;
    const int64_t used = integer_digits + groups + (zero ? 1 : 0);
    const int64_t fill = width > used ? width - used : 0;

    text.clear();
    text.reserve(static_cast<size_t>(fill + used + f.after + 8));
    if (overflow) text += '%';
    if (f.leading_sign) text += n.pu_neg ? '-' : '+';
    text.append(static_cast<size_t>(fill), f.asterisk ? '*' : ' ');
    if (minus) text += '-';
    if (f.dollar) text += '$';
    if (zero) text += '0';
    for (int64_t i = 0; i < integer_digits; i++) {
        if (f.commas && i > 0 && (integer_digits - i) % 3 == 0) text += ',';
        text += digit_at(n, i);
    }
    if (f.point) text += '.';
    for (int64_t i = 0; i < f.after; i++) text += digit_at(n, integer_digits + i);
    return integer_digits + f.after;
}

// Exponent form. Returns how many digits of pu_dig the text used.
int64_t exponent_form(const pu_field& f, pu_number& n, std::string& text) {
    int32_t before = f.before;
    int32_t after = f.after;
    bool point = f.point;
    bool overflow = false;
    bool sign_slot = false;
    char slot = n.pu_neg ? '-' : ' ';
    // Without a sign of the field's own, one position before the point is the sign's;
    // short of one, a digit after the point gives way, and with none left the point
    // becomes a digit position.
    if (!f.leading_sign && f.trailing_sign == 0) {
        sign_slot = true;
        if (before > 0) {
            before--;
        } else if (after > 0) {
            after--;
            if (after == 0) {
                point = false;
                before = 1;
            }
        }
    }
    // A positive value gives the position back to digits, or shows 0 in it ahead of
    // digits after the point.
    if (sign_slot && !n.pu_neg && before == 0) {
        if (after > 0) {
            slot = '0';
        } else {
            sign_slot = false;
            before = 1;
        }
    }
    if (before == 0 && after == 0) {
        overflow = true;
        before = 1;
    }

    const int64_t first_exponent = static_cast<int64_t>(n.pu_ndig) + n.pu_dp - 1;
    const int64_t exponent = before > 0 ? first_exponent - (before - 1) : first_exponent + 1;
    std::string exp_digits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (static_cast<int32_t>(exp_digits.size()) > f.exp_digits) {
        overflow = true;
    } else {
        exp_digits.insert(0, static_cast<size_t>(f.exp_digits) - exp_digits.size(), '0');
    }

    text.clear();
    if (overflow) text += '%';
    if (f.leading_sign) text += n.pu_neg ? '-' : '+';
    if (f.dollar) text += '$';
    if (sign_slot) text += slot;
    for (int32_t i = 0; i < before; i++) text += digit_at(n, i);
    if (point) text += '.';
    for (int32_t i = 0; i < after; i++) text += digit_at(n, before + i);
    text += n.pu_exp_char;
    text += exponent < 0 ? '-' : '+';
    text += exp_digits;
    return before + after;
}

}  // namespace

void pu_lay_out(const pu_field& f, std::string& out) {
    pu_number& n = pu_value();
    std::string text;
    bool rounded = false;
    for (;;) {
        const int64_t used = f.exp_digits ? exponent_form(f, n, text) : fixed_form(f, n, text);
        // Half up on the magnitude, decided by the next digit, once per field; then the
        // whole field again (it may now overflow).
        if (!rounded && digit_at(n, used) >= '5') {
            round_up_at(n, static_cast<int32_t>(used));
            rounded = true;
            continue;
        }
        break;
    }
    out += text;
    if (f.trailing_sign == '+') out += n.pu_neg ? '-' : '+';
    if (f.trailing_sign == '-') out += n.pu_neg ? '-' : ' ';
}
