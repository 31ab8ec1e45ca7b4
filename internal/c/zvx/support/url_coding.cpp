// _ENCODEURL$ and _DECODEURL$, in the shape the translator gives a FUNCTION:
// argument copy, scope lock, locals in the static arena and the data block, and
// the result handed back as a temporary.
#include "url_coding.h"

#include "memory/cmem_string.h"
#include "memory/static_arena.h"
#include "number/radix_functions.h"
#include "number/val.h"
#include "shape.h"
#include "string/string_functions.h"

namespace {

bool is_unreserved(int32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

bool is_separator(int32_t c) {
    return c == '#' || c == '/' || c == ':' || c == '?' || c == '@' || c == '[' || c == ']';
}

template <class T>
T* local(T value) {
    T* p = reinterpret_cast<T*>(mem_static_malloc(sizeof(T)));
    *p = value;
    return p;
}

}  // namespace

zvs* FUNC__ENCODEURL(zvs* _FUNC__ENCODEURL_STRING_TEXT) {
    ZV_FUNCTION_SCOPE(zvs_new(0, 1));
    zvs* text = zvs_new_cmem(0, 0);
    zvs* result = zvs_new_cmem(0, 0);
    int32_t* i = local<int32_t>(0);
    int32_t* c = local<int32_t>(0);
    int32_t* copy = local<int32_t>(0);
    int32_t* in_query = local<int32_t>(0);
    int32_t* expect_key = local<int32_t>(0);
    ZV_STATEMENT(1, {
        zvs_set(text, _FUNC__ENCODEURL_STRING_TEXT);
        ZV_RELEASE_TEMPORARIES();
    });
    for (*i = 1; *i <= text->length; ++*i) {
        ZV_STATEMENT(2, ZV_STORE(*c, zvs_asc(text, uint32_t(*i))));
        ZV_STATEMENT(3, {
            *copy = 0;
            if (is_unreserved(*c)) {
                *copy = -1;
            } else if (is_separator(*c) && !*in_query) {
                *copy = -1;
                if (*c == '?') *in_query = *expect_key = -1;
            } else if (*c == '=' && *in_query && *expect_key) {
                *copy = -1;
                *expect_key = 0;
            } else if (*c == '&' && *in_query && !*expect_key) {
                *copy = -1;
                *expect_key = -1;
            }
        });
        ZV_STATEMENT(4, {
            if (*copy)
                zvs_set(result, zvs_add(result, func_chr(*c)));
            else
                zvs_set(result, zvs_add(zvs_add(result, zvs_new_txt("%")),
                                        zvs_right(zvs_add(zvs_new_txt("0"), func_hex(*c, 8)), 2)));
            ZV_RELEASE_TEMPORARIES();
        });
    }
    zvs_free(text);
    zvs_maketmp(result);
    return result;
}

zvs* FUNC__DECODEURL(zvs* _FUNC__DECODEURL_STRING_TEXT) {
    ZV_FUNCTION_SCOPE(zvs_new(0, 1));
    zvs* text = zvs_new_cmem(0, 0);
    zvs* result = zvs_new_cmem(0, 0);
    zvs* c = zvs_new_cmem(0, 0);
    int32_t* i = local<int32_t>(0);
    ZV_STATEMENT(1, {
        zvs_set(text, _FUNC__DECODEURL_STRING_TEXT);
        ZV_RELEASE_TEMPORARIES();
    });
    for (*i = 1; *i <= text->length; ++*i) {
        ZV_STATEMENT(2, {
            zvs_set(c, func_mid(text, *i, 1, 1));
            ZV_RELEASE_TEMPORARIES();
        });
        ZV_STATEMENT(3, {
            if (c->length == 1 && c->text[0] == '%') {
                // VAL("&H" + the next two characters), low 8 bits; a final "%" gives 0.
                int64_t value = zvs_val_int64(zvs_add(zvs_new_txt("&H"), func_mid(text, *i + 1, 2, 1)));
                zvs_set(result, zvs_add(result, func_chr(int32_t(value & 255))));
                *i += 2;
            } else {
                zvs_set(result, zvs_add(result, c));
            }
            ZV_RELEASE_TEMPORARIES();
        });
    }
    zvs_free(c);
    zvs_free(text);
    zvs_maketmp(result);
    return result;
}
