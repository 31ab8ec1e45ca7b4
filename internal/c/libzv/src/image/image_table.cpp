// The image table: fixed chunks of records, the free-slot stack, the page map and
// the current write, read and display images.
#include "image/image_table.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>

#include "error/error.h"

namespace {

// Indices must stay below the hardware handle range once negated.
constexpr int32_t img_max_chunks = 2048;

img_struct* chunks[img_max_chunks];
int32_t nimg = 0;
int32_t nextimg = 0;

int32_t* fimg = nullptr;
int32_t nfimg = 0;
int32_t lastfimg = -1;

std::map<int32_t, int32_t>* page = nullptr;

// Records never move, so the current images are kept as pointers beside their indices.
int32_t write_index = 0;
int32_t read_index = 0;
img_struct* read_record = nullptr;
std::atomic<int32_t> display_index{0};
std::atomic<img_struct*> display_record{nullptr};

int32_t console_handle = 0;

bool add_chunk() {
    int32_t n = nimg / img_chunk_records;
    if (n >= img_max_chunks) return false;
    auto* chunk = static_cast<img_struct*>(calloc(img_chunk_records, sizeof(img_struct)));
    if (!chunk) return false;
    chunks[n] = chunk;
    nimg += img_chunk_records;
    return true;
}

}  // namespace

// The write image's record beside write_index (read inline through write_page()).
img_struct* image_write_record = nullptr;

void image_table_global_init() {
    if (nimg) return;
    if (!add_chunk()) {
        error(ERR_OOM_IMAGE_TABLE);
        return;
    }
    fimg = static_cast<int32_t*>(malloc(sizeof(int32_t) * img_chunk_records));
    if (!fimg) {
        error(ERR_OOM_IMAGE_FREE_STACK);
        return;
    }
    nfimg = img_chunk_records;
    lastfimg = -1;
    page = new std::map<int32_t, int32_t>;
    // Reserved: 0 means "no page" in the page map and 1 is never a handle.
    img_get(newimg())->valid = 0;
    img_get(newimg())->valid = 0;
    set_write_page(0);
    set_read_page(0);
    display_index.store(0);
    display_record.store(img_get(0));
}

void image_table_reset_for_tests() {
    for (int32_t i = 2; i < nextimg; i++)
        if (img_get(i)->valid) image_release(i);
    for (int32_t c = 0; c < nimg / img_chunk_records; c++) {
        free(chunks[c]);
        chunks[c] = nullptr;
    }
    free(fimg);
    fimg = nullptr;
    delete page;
    page = nullptr;
    nimg = nextimg = nfimg = 0;
    lastfimg = -1;
    console_handle = 0;
    image_table_global_init();
}

int32_t newimg() {
    int32_t index;
    if (lastfimg != -1) {
        index = fimg[lastfimg--];
    } else {
        if (nextimg >= nimg && !add_chunk()) {
            error(ERR_OOM_IMAGE_TABLE);
            return 0;
        }
        index = nextimg++;
    }
    img_get(index)->valid = 1;
    return index;
}

int32_t freeimg(uint32_t index) {
    if (index >= static_cast<uint32_t>(nimg)) return 0;
    img_struct* im = img_get(static_cast<int32_t>(index));
    if (!im->valid) return 0;
    if (lastfimg >= nfimg - 1) {
        auto* grown = static_cast<int32_t*>(realloc(fimg, sizeof(int32_t) * (static_cast<size_t>(nfimg) + img_chunk_records)));
        if (!grown) {
            error(ERR_OOM_IMAGE_FREE_STACK);
            return 0;
        }
        fimg = grown;
        nfimg += img_chunk_records;
    }
    if (im->lock_id) free_mem_lock(im->lock_pointer);
    memset(static_cast<void*>(im), 0, sizeof(img_struct));
    fimg[++lastfimg] = static_cast<int32_t>(index);
    return 1;
}

void image_release(int32_t index) {
    img_struct* im = img_get(index);
    if (im->flags & IMG_FREEMEM) free(im->pixels);
    if (im->flags & IMG_FREEPALETTE) free(im->palette);
    im->pixels = nullptr;
    im->palette = nullptr;
    freeimg(static_cast<uint32_t>(index));
}

img_struct* img_get(int32_t index) {
    return &chunks[index / img_chunk_records][index % img_chunk_records];
}

int32_t image_table_size() { return nimg; }
int32_t image_table_next() { return nextimg; }

int32_t page_index(int32_t n) {
    auto it = page->find(n);
    return it == page->end() ? 0 : it->second;
}

void page_set(int32_t n, int32_t index) {
    if (index)
        (*page)[n] = index;
    else
        page->erase(n);
}

std::vector<std::pair<int32_t, int32_t>> page_entries() { return {page->begin(), page->end()}; }

void pages_forget_all() { page->clear(); }

int32_t write_page_index() { return write_index; }
void set_write_page(int32_t index) {
    write_index = index;
    image_write_record = img_get(index);
}

img_struct* read_page() { return read_record; }
int32_t read_page_index() { return read_index; }
void set_read_page(int32_t index) {
    read_index = index;
    read_record = img_get(index);
}

img_struct* display_page() { return display_record.load(std::memory_order_acquire); }
int32_t display_page_index() { return display_index.load(std::memory_order_relaxed); }
void set_display_page(int32_t index) {
    display_index.store(index, std::memory_order_relaxed);
    display_record.store(img_get(index), std::memory_order_release);
}

int32_t console_image() { return console_handle; }
void set_console_image(int32_t handle) { console_handle = handle; }
