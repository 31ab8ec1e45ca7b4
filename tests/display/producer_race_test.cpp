// The producer among threads (run under ThreadSanitizer too): a presenter taking
// frames while they are made, and a program drawing and switching between automatic
// and manual display while the housekeeping loop produces.
#include <thread>

#include "display/display_fixture.h"
#include "palette/palette.h"
#include "screen/lock_display.h"

using ProducerRace = DisplayTest;

namespace {

// A frame is consistent when every pixel holds the same value.
bool uniform(const display_frame_record* f, uint32_t* value) {
    size_t n = static_cast<size_t>(f->w) * f->h;
    for (size_t i = 1; i < n; i++)
        if (f->pixels[i] != f->pixels[0]) return false;
    *value = f->pixels[0];
    return true;
}

uint64_t checksum(const display_frame_record* f) {
    uint64_t h = 1469598103934665603u;
    size_t n = static_cast<size_t>(f->w) * f->h;
    for (size_t i = 0; i < n; i++) h = (h ^ f->pixels[i]) * 1099511628211u;
    return h;
}

// The presenter's side: takes the newest ready frame and releases older ones, and
// checks before releasing a shown frame that nothing wrote into it meanwhile. With
// labelled frames, every frame must be uniform and hold its own order.
struct fake_presenter {
    bool labelled = false;
    std::atomic<bool> stop{false};
    std::atomic<int64_t> shown_frames{0};
    int64_t torn = 0, mislabelled = 0, written_while_shown = 0;

    void run() {
        display_frame_record* current = nullptr;
        uint64_t current_sum = 0;
        while (!stop.load(std::memory_order_acquire)) {
            display_frame_record* newest = nullptr;
            int64_t floor = current ? current->order.load() : 0;
            for (int32_t i = 0; i < display_frame_count; i++) {
                display_frame_record* s = display_frame_slot(i);
                if (s->state.load(std::memory_order_acquire) == FRAME_READY && s->order.load() > floor &&
                    (!newest || s->order.load() > newest->order.load()))
                    newest = s;
            }
            if (!newest || !display_frame_transition(newest, FRAME_READY, FRAME_SHOWN)) {
                std::this_thread::yield();
                continue;
            }
            uint32_t value;
            if (labelled && !uniform(newest, &value))
                torn++;
            else if (labelled && value != static_cast<uint32_t>(newest->order.load()))
                mislabelled++;
            if (current) {
                if (checksum(current) != current_sum) written_while_shown++;
                display_frame_transition(current, FRAME_SHOWN, FRAME_FREE);
            }
            for (int32_t i = 0; i < display_frame_count; i++) {
                display_frame_record* s = display_frame_slot(i);
                if (s != newest && s->order.load() < newest->order.load()) display_frame_transition(s, FRAME_READY, FRAME_FREE);
            }
            current = newest;
            current_sum = checksum(current);
            shown_frames++;
        }
    }
};

}  // namespace

TEST_F(ProducerRace, FramesReachThePresenterWhole) {
    img_struct* page = graphics_page(16, 8, 32);
    fake_presenter presenter;
    presenter.labelled = true;
    std::thread window([&] { presenter.run(); });

    // Each frame's page holds the order that frame receives, in every pixel.
    constexpr int32_t frames = 100000;
    for (int32_t n = 0; n < frames; n++) {
        uint32_t value = static_cast<uint32_t>(display_frame_order_next.load());
        for (int32_t i = 0; i < 16 * 8; i++) memcpy(page->pixels + i * 4, &value, 4);
        display();
    }
    presenter.stop = true;
    window.join();

    EXPECT_TRUE(alerts().empty());
    EXPECT_GT(presenter.shown_frames, 0);
    EXPECT_EQ(presenter.torn, 0);
    EXPECT_EQ(presenter.mislabelled, 0);
    EXPECT_EQ(presenter.written_while_shown, 0);
    EXPECT_EQ(display_frame_order_next.load(), frames + 1);
}

TEST_F(ProducerRace, ProducerBesideADrawingProgram) {
    img_struct* text = text_page(80, 25);
    int32_t text_index = display_page_index();
    int32_t graphics_index = imgnew(320, 200, 13);
    img_struct* graphics = img_get(graphics_index);
    set_display_page(text_index);
    text->cursor_show = 1;

    fake_presenter presenter;
    std::thread window([&] { presenter.run(); });
    std::atomic<bool> stop{false};
    std::thread housekeeping([&] {
        while (!stop.load()) {
            if (autodisplay.load(std::memory_order_relaxed)) display();
            frame.fetch_add(1, std::memory_order_relaxed);
            std::this_thread::yield();
        }
    });

    // The program draws into cells, pixels, palette and cursor without a lock, and
    // hands the producer back and forth with _DISPLAY and _AUTODISPLAY.
    for (int32_t n = 0; n < 3000; n++) {
        put_cell(text, n % 80, (n / 80) % 25, static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 3));
        graphics->pixels[(n * 7) % 64000] = static_cast<uint8_t>(n);
        palette_set(text->palette, n % 16, 0xFF000000u | static_cast<uint32_t>(n));
        std::atomic_ref<int16_t>(text->cursor_x).store(static_cast<int16_t>(1 + n % 80), std::memory_order_relaxed);
        std::atomic_ref<uint8_t>(text->cursor_firstvalue).store(static_cast<uint8_t>(n % 32), std::memory_order_relaxed);
        if (n % 500 == 250) {
            sub__display();  // manual from here: frames made on this thread
            EXPECT_EQ(autodisplay.load(), 0);
        }
        if (autodisplay.load() == 0) sub__display();
        if (n % 500 == 400) sub__autodisplay();
        if (n % 1000 == 999) {
            // A page flip, as SCREEN makes one: no pause, the next frame drawn whole.
            set_display_page(display_page_index() == text_index ? graphics_index : text_index);
            screen_last_valid = 0;
        }
    }
    stop = true;
    housekeeping.join();
    presenter.stop = true;
    window.join();
    EXPECT_GT(presenter.shown_frames, 0);
    EXPECT_TRUE(alerts().empty());
}

TEST_F(ProducerRace, ScreenModesChangeWhileTheHousekeepingLoopProduces) {
    screen(0);
    lock_display_required = 1;
    fake_presenter presenter;
    std::thread window([&] { presenter.run(); });
    std::atomic<bool> stop{false};
    std::thread housekeeping([&] {
        while (!stop.load()) {
            if (autodisplay.load(std::memory_order_relaxed)) display();
            frame.fetch_add(1, std::memory_order_relaxed);
            std::this_thread::yield();
        }
    });

    // The program switches modes (each change waits for the producer's grant) and
    // draws into the new page between changes.
    const int32_t modes[] = {12, 0, 13, 0, 12, 13};
    for (int32_t round = 0; round < 60; round++) {
        int32_t mode = modes[round % 6];
        screen(mode);
        ASSERT_EQ(take_error(), 0);
        img_struct* page = write_page();
        size_t bytes = static_cast<size_t>(page->width) * page->height * page->bytes_per_pixel;
        for (int32_t n = 0; n < 2000; n++) page->pixels[(static_cast<size_t>(n) * 7919) % bytes] = static_cast<uint8_t>(n);
        if (mode == 0) std::atomic_ref<int16_t>(page->cursor_y).store(static_cast<int16_t>(1 + round % 25), std::memory_order_relaxed);
    }
    // On a fast run the program may finish before the first frame is shown.
    for (int i = 0; i < 5000 && presenter.shown_frames.load() == 0; i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    stop = true;
    housekeeping.join();
    presenter.stop = true;
    window.join();
    EXPECT_GT(presenter.shown_frames, 0);
    EXPECT_EQ(presenter.written_while_shown, 0);
    EXPECT_TRUE(alerts().empty());
    lock_display_required = 0;
}
