// gfs_open: the screen device, serial ports and disk files behind one record.
#include <string_view>

#include "file/gfs.h"
#include "file/gfs_internal.h"
#include "file/gfs_os.h"
#include "file/serial.h"
#include "string/zvs.h"

namespace {

bool is_screen_name(std::string_view name) {
    static constexpr char scrn[] = "SCRN:";
    if (name.size() < 5) return false;
    for (size_t i = 0; i < 5; i++) {
        char c = name[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (c != scrn[i]) return false;
    }
    return true;
}

}  // namespace

int32_t gfs_open(zvs* name, int32_t access, int32_t lock, int32_t creation) {
    std::string_view text(reinterpret_cast<const char*>(name->text), static_cast<size_t>(name->length));
    int32_t index = gfs_new();
    gfs_file_struct* f = gfs_get_file_struct(index);
    if (is_screen_name(text)) {
        f->is_screen = 1;
        return index;
    }
    f->can_read = access & 1;
    f->can_write = (access >> 1) & 1;
    f->lock_read = lock & 1;
    f->lock_write = (lock >> 1) & 1;
    f->position = 0;

    int32_t com = gfs_open_com_syntax(text, f);
    if (com < 0) {
        gfs_release_taken(index);
        return gfs_bad_com_name;
    }
    if (com > 0) {
        int32_t result = gfs_open_com_port(f);
        if (result != gfs_ok) {
            gfs_release_taken(index);
            return result;
        }
        f->is_open = 1;
        return index;
    }

    gfs_os_file os;
    int32_t result = gfs_os_open(text, access, lock, creation, &os);
    if (result != gfs_ok) {
        gfs_release_taken(index);
        return result;
    }
    f->os_handle = os.fd;
    f->can_read = os.can_read;
    f->can_write = os.can_write;
    f->share_token = os.share_token;
    f->is_open = 1;
    return index;
}
