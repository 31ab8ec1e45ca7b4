// FIELD, and the link between a string and its slice of the record buffer that LSET,
// RSET and the release of a string use.
#include "file/field.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "error/error.h"
#include "file/gfs.h"
#include "string/zvs.h"
#include "string/zvs_seams.h"

namespace {

// Held in zvs.field_link. The id tells a later use that the file was closed, or closed
// and its number reopened, since FIELD ran.
struct field_descriptor {
    int32_t file_number;
    int64_t id;
    int64_t size;
    int64_t offset;
};

// The FIELD statement being executed.
struct field_statement {
    bool active;
    int32_t file_number;
    int64_t offset;
    int64_t record_length;
};
field_statement statement{};

field_descriptor* descriptor_of(const zvs* s) { return static_cast<field_descriptor*>(s->field_link); }

// The RANDOM file a descriptor was made for, when it is still the same opening.
gfs_file_struct* file_of(const field_descriptor* d) {
    gfs_file_struct* f = gfs_file_of_number(d->file_number);
    if (!f || f->basic_mode != 1 || f->id != d->id) return nullptr;
    return f;
}

void untie(zvs* s) {
    free(s->field_link);
    s->field_link = nullptr;
}

bool append(gfs_file_struct* f, zvs* s) {
    auto* grown = static_cast<zvs**>(realloc(f->field_strings, sizeof(zvs*) * size_t(f->field_string_count + 1)));
    if (!grown) return false;
    f->field_strings = grown;
    f->field_strings[f->field_string_count++] = s;
    return true;
}

void stop_with(int32_t n) {
    statement.active = false;
    error(n);
}

}  // namespace

void field_global_init() { zvs_set_field_hooks(field_free, lrset_field); }

void field_reset_for_tests() { statement = {}; }

void field_new(int32_t n) {
    statement.active = false;
    if (new_error_is_set()) return;
    if (n < 0) {
        error(ERR_BAD_FILE_MODE);
        return;
    }
    gfs_file_struct* f = gfs_file_of_number(n);
    if (!f) {
        error(ERR_BAD_FILE_NAME_OR_NUMBER);
        return;
    }
    if (f->basic_mode != 1) {
        error(ERR_BAD_FILE_MODE);
        return;
    }
    statement = {true, n, 0, f->record_length};
}

void field_add(zvs* variable, int64_t width) {
    if (!statement.active) return;
    if (new_error_is_set()) {
        statement.active = false;
        return;
    }
    if (width < 0) return stop_with(ERR_ILLEGAL_FUNCTION_CALL);
    // Compared without adding: a huge width must not wrap past the check.
    if (width > statement.record_length - statement.offset) return stop_with(ERR_FIELD_OVERFLOW);
    gfs_file_struct* f = gfs_file_of_number(statement.file_number);
    if (!f) return stop_with(ERR_BAD_FILE_NAME_OR_NUMBER);
    if (f->basic_mode != 1) return stop_with(ERR_BAD_FILE_MODE);
    // A string holds at most 2^31 - 1 bytes.
    if (width > INT32_MAX) return stop_with(ERR_ILLEGAL_FUNCTION_CALL);
    auto* d = static_cast<field_descriptor*>(malloc(sizeof(field_descriptor)));
    if (!d) return stop_with(ERR_OUT_OF_MEMORY);
    if (variable->field_link) field_free(variable);
    if (!append(f, variable)) {
        free(d);
        return stop_with(ERR_OUT_OF_MEMORY);
    }
    *d = {statement.file_number, f->id, width, statement.offset};
    variable->field_link = d;
    field_update(statement.file_number);
    statement.offset += width;
}

void field_update(int32_t n) {
    gfs_file_struct* f = gfs_file_of_number(n);
    if (!f) return;
    for (int32_t i = 0; i < f->field_string_count; i++) {
        zvs* s = f->field_strings[i];
        const field_descriptor* d = descriptor_of(s);
        if (s->length != d->size) zvs_set(s, zvs_new(int32_t(d->size), 1));
        int64_t n_bytes = std::min<int64_t>(s->length, d->size);
        if (n_bytes) memcpy(s->text, f->record_buffer + d->offset, size_t(n_bytes));
    }
}

void lrset_field(zvs* variable) {
    field_descriptor* d = descriptor_of(variable);
    gfs_file_struct* f = file_of(d);
    if (!f) {
        untie(variable);
        return;
    }
    uint8_t* slice = f->record_buffer + d->offset;
    int64_t n = std::min<int64_t>(variable->length, d->size);
    if (n) memmove(slice, variable->text, size_t(n));
    if (n < d->size) memset(slice + n, ' ', size_t(d->size - n));
    field_update(d->file_number);
}

void field_free(zvs* variable) {
    field_descriptor* d = descriptor_of(variable);
    if (!d) return;
    if (gfs_file_struct* f = file_of(d)) {
        zvs** list = f->field_strings;
        int32_t count = f->field_string_count;
        zvs** at = std::find(list, list + count, variable);
        if (at != list + count) {
            std::move(at + 1, list + count, at);
            f->field_string_count--;
        }
    }
    untie(variable);
}
