// The file, folder and colour choosers of the dialog layer: ndlg_saveFileDialog,
// ndlg_openFileDialog, ndlg_selectFolderDialog, ndlg_colorChooser and their UTF-16
// twins. Each takes the layer's route and checks what comes back.
#include <optional>
#include <string>
#include <vector>

#include "dialog/chooser_rules.h"
#include "dialog/dialog_layer.h"
#include "dialog/ndlg.h"

namespace {

// Answers, each kept until the next call of its operation.
std::string save_answer, open_answer, folder_answer, colour_answer;
std::u16string save_answer16, open_answer16, folder_answer16, colour_answer16;

// The texts the back ends see: the patterns converted one by one (null ones dropped).
struct pattern_texts {
    std::vector<std::string> texts;
    std::vector<const char*> pointers;
    pattern_texts(int32_t count, const char* const* patterns) {
        for (int32_t i = 0; patterns && i < count; i++) {
            std::string text;
            if (dialog_text_in(patterns[i], &text)) texts.push_back(std::move(text));
        }
        for (const auto& t : texts) pointers.push_back(t.c_str());
        pointers.push_back(nullptr);
    }
    int32_t count() const { return static_cast<int32_t>(texts.size()); }
    const char* const* data() const { return pointers.data(); }
};

const char* keep(std::string* store, const std::optional<std::string>& answer) {
    if (!answer) return nullptr;
    *store = dialog_text_out(*answer);
    return store->c_str();
}

const char* query_answer(dialog_route route) {
    return route == dialog_route::graphic ? dialog_query_text() : nullptr;
}

// The UTF-16 twins' texts, and their answers.
std::string from16(const char16_t* text, size_t units = 0) {
    std::string out;
    if (text) utf16_to_utf8(text, &out);
    if (units) out.resize(utf8_cut_units(out, units));
    return out;
}

struct pattern_texts16 {
    std::vector<std::string> texts;
    std::vector<const char*> pointers;
    pattern_texts16(int32_t count, const char16_t* const* patterns) {
        for (int32_t i = 0; patterns && i < count; i++)
            if (patterns[i]) texts.push_back(from16(patterns[i]));
        for (const auto& t : texts) pointers.push_back(t.c_str());
        pointers.push_back(nullptr);
    }
    int32_t count() const { return static_cast<int32_t>(texts.size()); }
    const char* const* data() const { return pointers.data(); }
};

const char16_t* keep16(std::u16string* store, bool answered, const std::string& answer) {
    store->clear();
    if (!answered) return nullptr;
    utf8_to_utf16(answer.c_str(), store);
    return store->c_str();
}

// The graphic back end, when a display opens.
const dialog_backend* graphic() {
    const dialog_backend& b = dialog_backend_of(dialog_route::graphic);
    return b.available && !b.available() ? nullptr : &b;
}

bool query16(const std::string& title) {
    if (title != "ndlg_query") return false;
    dialog_set_response("windows_wchar");
    return true;
}

const char16_t* query_text16() {
    static const char16_t none[] = u"";
    return none;
}

}  // namespace

extern "C" const char* ndlg_saveFileDialog(const char* title, const char* default_path, int32_t pattern_count,
                                           const char* const* patterns, const char* description) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    dialog_route route = dialog_choose_route();
    if (dialog_query(title, route)) return query_answer(route);
    std::string t, path, d;
    dialog_text_in(title ? title : "", &t, 511);
    bool has_path = dialog_text_in(default_path, &path, 1023);
    bool has_description = dialog_text_in(description, &d);
    pattern_texts p(pattern_count, patterns);
    const dialog_backend& b = dialog_backend_of(route);
    std::string raw;
    if (!b.save_file || !b.save_file(t.c_str(), has_path ? path.c_str() : nullptr, p.count(), p.data(),
                                     has_description ? d.c_str() : nullptr, &raw))
        return nullptr;
    return keep(&save_answer, chooser_check_save(raw, route == dialog_route::graphic));
}

extern "C" const char* ndlg_openFileDialog(const char* title, const char* default_path, int32_t pattern_count,
                                           const char* const* patterns, const char* description,
                                           int32_t allow_several) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    dialog_route route = dialog_choose_route();
    if (dialog_query(title, route)) return query_answer(route);
    if (allow_several < 0) return nullptr;
    std::string t, path, d;
    dialog_text_in(title ? title : "", &t, 511);
    bool has_path = dialog_text_in(default_path, &path, 1023);
    bool has_description = dialog_text_in(description, &d);
    pattern_texts p(pattern_count, patterns);
    const dialog_backend& b = dialog_backend_of(route);
    std::string raw;
    if (!b.open_file || !b.open_file(t.c_str(), has_path ? path.c_str() : nullptr, p.count(), p.data(),
                                     has_description ? d.c_str() : nullptr, allow_several, &raw))
        return nullptr;
    bool must_read = dialog_setting_win_utf8() == 0;
    return keep(&open_answer, chooser_check_open(raw, allow_several != 0, must_read, route == dialog_route::graphic));
}

extern "C" const char* ndlg_selectFolderDialog(const char* title, const char* default_path) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    dialog_route route = dialog_choose_route();
    if (dialog_query(title, route)) return query_answer(route);
    std::string t, path;
    dialog_text_in(title ? title : "", &t, 511);
    bool has_path = dialog_text_in(default_path, &path, 1023);
    const dialog_backend& b = dialog_backend_of(route);
    std::string raw;
    if (!b.select_folder || !b.select_folder(t.c_str(), has_path ? path.c_str() : nullptr, &raw)) return nullptr;
    return keep(&folder_answer, chooser_check_folder(raw, route == dialog_route::graphic));
}

extern "C" const char* ndlg_colorChooser(const char* title, const char* default_hex, const uint8_t default_rgb[3],
                                         uint8_t result_rgb[3]) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    dialog_route route = dialog_choose_route();
    if (dialog_query(title, route)) return query_answer(route);
    std::string t, hex;
    dialog_text_in(title ? title : "", &t, 511);
    bool has_hex = dialog_text_in(default_hex, &hex);
    static const uint8_t black[3] = {0, 0, 0};
    uint8_t result[3] = {0, 0, 0};
    const dialog_backend& b = dialog_backend_of(route);
    std::string raw;
    if (!b.color_chooser ||
        !b.color_chooser(t.c_str(), has_hex ? hex.c_str() : nullptr, default_rgb ? default_rgb : black, result, &raw))
        return nullptr;
    if (result_rgb)
        for (int i = 0; i < 3; i++) result_rgb[i] = result[i];
    return keep(&colour_answer, raw);
}

extern "C" const char16_t* ndlg_saveFileDialogW(const char16_t* title, const char16_t* default_path,
                                                int32_t pattern_count, const char16_t* const* patterns,
                                                const char16_t* description) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    std::string t = from16(title, 511);
    if (query16(t)) return query_text16();
    std::string path = from16(default_path, 1023), d = from16(description);
    pattern_texts16 p(pattern_count, patterns);
    const dialog_backend* b = graphic();
    std::string raw;
    bool answered = b && b->save_file &&
                    b->save_file(t.c_str(), default_path ? path.c_str() : nullptr, p.count(), p.data(),
                                 description ? d.c_str() : nullptr, &raw);
    return keep16(&save_answer16, answered, raw);
}

extern "C" const char16_t* ndlg_openFileDialogW(const char16_t* title, const char16_t* default_path,
                                                int32_t pattern_count, const char16_t* const* patterns,
                                                const char16_t* description, int32_t allow_several) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    std::string t = from16(title, 511);
    if (query16(t)) return query_text16();
    if (allow_several < 0) return nullptr;
    std::string path = from16(default_path, 1023), d = from16(description);
    pattern_texts16 p(pattern_count, patterns);
    const dialog_backend* b = graphic();
    std::string raw;
    bool answered = b && b->open_file &&
                    b->open_file(t.c_str(), default_path ? path.c_str() : nullptr, p.count(), p.data(),
                                 description ? d.c_str() : nullptr, allow_several, &raw);
    return keep16(&open_answer16, answered, raw);
}

extern "C" const char16_t* ndlg_selectFolderDialogW(const char16_t* title, const char16_t* default_path) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    std::string t = from16(title, 511);
    if (query16(t)) return query_text16();
    std::string path = from16(default_path, 1023);
    const dialog_backend* b = graphic();
    std::string raw;
    bool answered =
        b && b->select_folder && b->select_folder(t.c_str(), default_path ? path.c_str() : nullptr, &raw);
    return keep16(&folder_answer16, answered, raw);
}

extern "C" const char16_t* ndlg_colorChooserW(const char16_t* title, const char16_t* default_hex,
                                              const uint8_t default_rgb[3], uint8_t result_rgb[3]) {
    std::lock_guard<std::recursive_mutex> hold(dialog_lock());
    std::string t = from16(title, 511);
    if (query16(t)) return query_text16();
    std::string hex = from16(default_hex);
    static const uint8_t black[3] = {0, 0, 0};
    uint8_t result[3] = {0, 0, 0};
    const dialog_backend* b = graphic();
    std::string raw;
    bool answered = b && b->color_chooser &&
                    b->color_chooser(t.c_str(), default_hex ? hex.c_str() : nullptr, default_rgb ? default_rgb : black,
                                     result, &raw);
    if (answered && result_rgb)
        for (int i = 0; i < 3; i++) result_rgb[i] = result[i];
    return keep16(&colour_answer16, answered, raw);
}
