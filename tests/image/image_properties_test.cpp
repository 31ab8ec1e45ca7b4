// _WIDTH, _HEIGHT, _PIXELSIZE, _CLEARCOLOR, _BLEND, _DEFAULTCOLOR, _BACKGROUNDCOLOR
// and _MEMIMAGE.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>

#include "image/alpha_statements.h"
#include "image/image_fixture.h"
#include "image/image_properties.h"
#include "image/image_statements.h"

using ImageProperties = ImageTest;

namespace {

struct properties {
    int32_t width, height, pixelsize, clearcolor, blend;
    uint32_t defaultcolor, backgroundcolor;
    bool operator==(const properties&) const = default;
};

properties of(int32_t handle) {
    return {func__width(handle, 1),          func__height(handle, 1),        func__pixelsize(handle, 1),
            func__clearcolor(handle, 1),     func__blend(handle, 1),         func__defaultcolor(handle, 1),
            func__backgroundcolor(handle, 1)};
}

}  // namespace

TEST_F(ImageProperties, EachKindOfImageReportsItsProperties) {
    screen(0);
    int32_t text = func__dest();
    int32_t i13 = -imgframe(cmem + 0xA0000, 320, 200, 13);
    int32_t i32 = func__newimage(640, 480, 32, 1);
    int32_t i8 = func__newimage(10, 10, 256, 1);
    sub__clearcolor(7, i8, 2 | 4);
    ASSERT_EQ(take_error(), 0);

    EXPECT_EQ(of(text), (properties{80, 25, 0, -1, 0, 7, 0}));
    EXPECT_EQ(of(i13), (properties{320, 200, 1, -1, 0, 15, 0}));
    EXPECT_EQ(of(i32), (properties{640, 480, 4, 0, -1, 0xFFFFFFFF, 0xFF000000}));
    EXPECT_EQ(of(i8), (properties{10, 10, 1, 7, 0, 15, 0}));
    sub__dontblend(i32, 1);
    EXPECT_EQ(func__blend(i32, 1), 0);
    EXPECT_EQ(take_error(), 0);

    // Without an argument: the write image.
    EXPECT_EQ(func__width(0, 0), 80);
    sub__dest(i32);
    EXPECT_EQ(func__height(0, 0), 480);
    EXPECT_EQ(func__pixelsize(0, 0), 4);
}

TEST_F(ImageProperties, HardwareImagesAnswerOnlyTheirSize) {
    screen(12);
    int32_t hw = func__copyimage(func__newimage(100, 60, 32, 1), 33, 3);
    EXPECT_EQ(func__width(hw, 1), 100);
    EXPECT_EQ(func__height(hw, 1), 60);
    EXPECT_EQ(take_error(), 0);
    int32_t (*const others[])(int32_t, int32_t) = {func__pixelsize, func__clearcolor, func__blend};
    for (auto f : others) {
        EXPECT_EQ(f(hw, 1), 0);
        EXPECT_EQ(take_error(), 258);
    }
    EXPECT_EQ(func__defaultcolor(hw, 1), 0u);
    EXPECT_EQ(take_error(), 258);
    EXPECT_EQ(func__backgroundcolor(hw, 1), 0u);
    EXPECT_EQ(take_error(), 258);
}

TEST_F(ImageProperties, PageZeroIsNotTheConsoleInAProgramWithoutOne) {
    screen(12);
    EXPECT_EQ(func__width(0, 1), 640);
    EXPECT_EQ(func__height(0, 1), 480);
}

TEST_F(ImageProperties, ConsoleImageReportsTheTerminalSize) {
    screen(0);
    int32_t console = func__newimage(80, 25, 0, 0);
    img_get(-console)->console = 1;
    set_console_image(console);

    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    winsize ws{};
    ws.ws_col = 120;
    ws.ws_row = 40;
    ASSERT_EQ(ioctl(slave, TIOCSWINSZ, &ws), 0);
    fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    dup2(slave, STDOUT_FILENO);

    int32_t width = func__width(console, 1);
    int32_t height = func__height(console, 1);
    set_read_page(-console);
    int32_t read_width = func__width(0, 0);
    int32_t page_width = func__width(0, 1);

    dup2(saved, STDOUT_FILENO);
    close(saved);
    close(slave);
    close(master);
    EXPECT_EQ(width, 120);
    EXPECT_EQ(height, 40);
    EXPECT_EQ(read_width, 120);
    EXPECT_EQ(page_width, 80);
}

TEST_F(ImageProperties, MemImageBlocksCoverThePixelsAndDieWithTheImage) {
    int32_t p13 = screen(13);
    mem_block page = func__memimage(0, 1);
    EXPECT_EQ(page.offset, reinterpret_cast<intptr_t>(cmem + 0xA0000));
    EXPECT_EQ(page.size, 64000);
    EXPECT_EQ(page.type, 3201);
    EXPECT_EQ(page.elementsize, 1);
    EXPECT_EQ(page.image, -p13);

    const struct {
        int32_t mode, w, h, type, bpp;
    } kinds[] = {{0, 80, 25, 3202, 2}, {256, 7, 3, 3201, 1}, {32, 5, 4, 3204, 4}};
    for (const auto& k : kinds) {
        int32_t h = func__newimage(k.w, k.h, k.mode, 1);
        mem_block a = func__memimage(h, 1);
        sub__dest(h);
        mem_block b = func__memimage(0, 0);
        EXPECT_EQ(a.type, k.type);
        EXPECT_EQ(a.size, k.w * k.h * k.bpp);
        EXPECT_EQ(a.elementsize, k.bpp);
        EXPECT_EQ(a.image, h);
        EXPECT_EQ(b.image, h);
        EXPECT_EQ(a.offset, reinterpret_cast<intptr_t>(img_get(-h)->pixels));
        EXPECT_EQ(a.lock, b.lock);
        EXPECT_EQ(a.lock_id, b.lock_id);
        EXPECT_EQ(a.lock->type, MEM_LOCK_IMAGE);
        EXPECT_EQ(a.lock->id, a.lock_id);
        sub__freeimage(h, 1);
        EXPECT_EQ(take_error(), 0);
        EXPECT_NE(a.lock->id, a.lock_id);
        EXPECT_NE(b.lock->id, b.lock_id);
    }
}

TEST_F(ImageProperties, MemImageOfABadHandleIsTheInvalidBlock) {
    screen(13);
    auto expect_invalid = [](const mem_block& b) {
        EXPECT_EQ(b.offset, 0);
        EXPECT_EQ(b.size, 0);
        EXPECT_EQ(b.lock, mem_lock_base());
        EXPECT_EQ(b.lock_id, 0x3FFFFFFD);
        EXPECT_EQ(b.type, 0);
        EXPECT_EQ(b.elementsize, 0);
        EXPECT_EQ(b.image, -1);
        EXPECT_NE(b.lock->id, b.lock_id);
    };
    expect_invalid(func__memimage(-1, 1));
    EXPECT_EQ(take_error(), 258);
    error(6);
    expect_invalid(func__memimage(0, 1));
    EXPECT_EQ(take_error(), 6);
}
