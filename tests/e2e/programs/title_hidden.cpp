// Starts hidden, titles its window "abc" before it exists (an empty title when
// argv[1] is "empty"), then shows it and waits.
#include <string_view>

#include "waiting.h"
#include "zv.h"

namespace {
void ZVMAIN() {
    std::string_view argument;
    bool empty = command_argument(1, &argument) && argument == "empty";
    uint32_t mark = zvs_tmp_list_nexti();
    sub__title(zvs_new_txt(empty ? "" : "abc"));
    zvs_tmp_release_to(mark, 0);
    sub__screenshow();
    wait_until_stopped();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
