// END's prompt: VIEW PRINT and PRINT registered with the program-end module.
#include "text/end_calls.h"

#include "core/end_hooks.h"
#include "text/print.h"
#include "text/text_cursor.h"

namespace {

void view_print(int32_t top, int32_t bottom) { zvg_sub_view_print(top, bottom, 1); }
zvs* no_key() { return nullptr; }

end_screen_calls calls{view_print, zvs_print, no_key};

}  // namespace

void text_register_end_calls(zvs* (*inkey)()) {
    calls.inkey = inkey ? inkey : no_key;
    end_set_screen_calls(&calls);
}
