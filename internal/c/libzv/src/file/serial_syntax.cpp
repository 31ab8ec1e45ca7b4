// COMn: names: the port number and the communication options that follow it.
#include <string>
#include <vector>

#include "file/gfs.h"
#include "file/serial.h"

namespace {

constexpr int32_t not_serial = 0;
constexpr int32_t serial = 1;
constexpr int32_t bad_syntax = -1;

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter(char c) { return c >= 'A' && c <= 'Z'; }

// One item: up to three letters, then digits without a leading zero.
struct item {
    std::string letters;
    bool has_number = false;
    int64_t number = 0;
};

bool split_item(const std::string& text, item* out) {
    size_t i = 0;
    while (i < text.size() && is_letter(text[i])) out->letters += text[i++];
    if (out->letters.size() > 3) return false;
    if (i == text.size()) return true;
    if (text[i] == '0' && i + 1 < text.size()) return false;
    out->has_number = true;
    for (; i < text.size(); i++) {
        if (!is_digit(text[i])) return false;  // a letter after a digit
        out->number = out->number * 10 + (text[i] - '0');
        if (out->number > 2147483647) return false;
    }
    return true;
}

struct options {
    int64_t baud = -1;
    int32_t parity = -1;
    int32_t data_bits = -1;
    int32_t stop_x10 = -1;
    bool rs = false, lf = false, asc = false, bin = false, rb = false, tb = false;
    int64_t cs = -1, ds = -1, cd = -1, op = -1;
};

bool positional(size_t k, const item& it, options* o) {
    if (it.letters.empty() && !it.has_number) return true;  // empty: the default
    switch (k) {
        case 0:
            if (!it.letters.empty() || it.number == 0) return false;
            o->baud = it.number;
            return true;
        case 1: {
            if (it.has_number) return false;
            static const char* names[] = {"N", "E", "O", "S", "M", "PE"};
            for (int32_t p = 0; p < 6; p++)
                if (it.letters == names[p]) o->parity = p;
            return o->parity >= 0;
        }
        case 2:
            if (!it.letters.empty() || it.number < 5 || it.number > 8) return false;
            o->data_bits = static_cast<int32_t>(it.number);
            return true;
        default:
            if (!it.letters.empty() || (it.number != 1 && it.number != 2)) return false;
            o->stop_x10 = static_cast<int32_t>(it.number) * 10;
            return true;
    }
}

bool option(const item& it, options* o) {
    const std::string& l = it.letters;
    auto once = [](bool& seen) {
        if (seen) return false;
        seen = true;
        return true;
    };
    auto timed = [&](int64_t& value, int64_t bare) {
        if (value >= 0 || (it.has_number && it.number > 65535)) return false;
        value = it.has_number ? it.number : bare;
        return true;
    };
    if (l == "RS") return !it.has_number && once(o->rs);
    if (l == "LF") return !it.has_number && once(o->lf);
    if (l == "ASC") return !it.has_number && !o->bin && once(o->asc);
    if (l == "BIN") return !it.has_number && !o->asc && once(o->bin);
    if (l == "CS") return timed(o->cs, 1000);
    if (l == "DS") return timed(o->ds, 1000);
    if (l == "CD") return timed(o->cd, 0);
    if (l == "OP") return timed(o->op, 10000);
    if (l == "RB") return once(o->rb);
    if (l == "TB") return once(o->tb);
    return false;
}

bool parse_items(const std::string& rest, options* o) {
    if (rest.empty()) return true;
    std::vector<std::string> items;
    size_t start = 0;
    for (;;) {
        size_t comma = rest.find(',', start);
        if (comma == std::string::npos) {
            items.push_back(rest.substr(start));
            break;
        }
        items.push_back(rest.substr(start, comma - start));
        start = comma + 1;
        if (start == rest.size()) break;  // a trailing comma ends the list
    }
    for (size_t k = 0; k < items.size(); k++) {
        item it;
        if (!split_item(items[k], &it)) return false;
        if (k < 4) {
            if (!positional(k, it, o)) return false;
        } else if (!option(it, o)) {
            return false;  // an empty option item included
        }
    }
    return true;
}

}  // namespace

int32_t gfs_open_com_syntax(std::string_view name, gfs_file_struct* f) {
    f->com_port = 0;
    if (name.size() <= 3 || upper(name[0]) != 'C' || upper(name[1]) != 'O' || upper(name[2]) != 'M')
        return not_serial;
    size_t i = 3;
    int64_t port = 0;
    size_t digits = 0;
    for (;; i++) {
        if (i == name.size()) return not_serial;
        char c = name[i];
        if (c == ':') break;
        if (!is_digit(c) || (digits == 0 && c == '0')) return not_serial;
        if (port < 1000) port = port * 10 + (c - '0');
        digits++;
    }
    if (digits == 0 || port < 1 || port > 255) return bad_syntax;
    std::string rest;
    for (size_t k = i + 1; k < name.size(); k++) {
        char c = upper(name[k]);
        if (!is_digit(c) && !is_letter(c) && c != ',') return bad_syntax;
        rest += c;
    }
    options o;
    if (!parse_items(rest, &o)) return bad_syntax;

    f->com_port = static_cast<int32_t>(port);
    f->com_baud = o.baud > 0 ? static_cast<int32_t>(o.baud) : 300;
    f->com_parity = static_cast<int8_t>(o.parity >= 0 ? o.parity : 1);
    f->com_data_bits = static_cast<uint8_t>(o.data_bits > 0 ? o.data_bits : 7);
    if (o.stop_x10 > 0)
        f->com_stop_bits_x10 = static_cast<uint8_t>(o.stop_x10);
    else
        f->com_stop_bits_x10 = f->com_baud > 110 ? 10 : f->com_data_bits == 5 ? 15 : 20;
    f->com_ascii = o.asc;
    f->com_lf = o.asc && o.lf;
    f->com_rs = o.rs;
    f->com_cd_ms = static_cast<int32_t>(o.cd >= 0 ? o.cd : 0);
    f->com_cs_ms = static_cast<int32_t>(o.cs >= 0 ? o.cs : 1000);
    f->com_ds_ms = static_cast<int32_t>(o.ds >= 0 ? o.ds : 1000);
    if (o.op >= 0) {
        f->com_op_ms = static_cast<int32_t>(o.op);
    } else {
        int64_t larger = f->com_cd_ms > f->com_ds_ms ? f->com_cd_ms : f->com_ds_ms;
        f->com_op_ms = static_cast<int32_t>(larger * 10 > 65535 ? 65535 : larger * 10);
    }
    return serial;
}
