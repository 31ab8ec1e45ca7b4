// CHAIN's names: the target's folder, command line and source file, and the
// state file named by a hand-over tag.
#include "lifecycle/chain.h"

namespace {

std::string upper_ascii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return out;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

chain_names chain_derive_names(std::string_view target) {
    chain_names names;
    std::string upper = upper_ascii(target);
    // The first ".BAS", else the first ".EXE": a '.' in a folder name is no extension.
    if (size_t dot = upper.find(".BAS"); dot != std::string::npos) {
        names.source = std::string(target.substr(0, dot + 4));
        names.command = std::string(target.substr(0, dot + 1)) + "exe" + std::string(target.substr(dot + 4));
    } else if (size_t exe = upper.find(".EXE"); exe != std::string::npos) {
        names.source = std::string(target.substr(0, exe + 1)) + "bas";
        names.command = std::string(target);
    } else {
        size_t space = target.size() > 1 ? target.find(' ', 1) : std::string_view::npos;
        std::string_view name = target.substr(0, space);
        std::string_view rest = space == std::string_view::npos ? std::string_view{} : target.substr(space);
        names.source = std::string(name) + ".bas";
        names.command = std::string(name) + ".exe " + std::string(rest);
    }
    for (char& c : names.source)
        if (c == '/') c = '\\';

    size_t last = names.source.find_last_of("\\:");
    if (last == std::string::npos) return names;
    size_t cut = last + 1;
    names.folder = names.source.substr(0, cut);
    if (names.folder.back() == ':') names.folder += '\\';
    names.source.erase(0, cut);
    names.command.erase(0, cut);
    return names;
}

std::string chain_tagged_file(std::string_view line) {
    constexpr size_t name_length = 12, tail = 32;  // "chain" + 3 digits + ".tmp"; tag + name
    if (line.size() < tail) return {};
    std::string_view end = line.substr(line.size() - tail);
    if (end.substr(0, chain_tag.size()) != chain_tag) return {};
    std::string_view name = end.substr(chain_tag.size());
    if (name.substr(0, 5) != "chain" || name.substr(8) != ".tmp") return {};
    // Only a name this runtime writes: it is opened and deleted.
    if (!is_digit(name[5]) || !is_digit(name[6]) || !is_digit(name[7])) return {};
    static_assert(chain_tag.size() + name_length == tail);
    return std::string(name);
}
