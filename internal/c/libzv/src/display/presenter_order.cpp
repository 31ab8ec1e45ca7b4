// _DISPLAYORDER, _GLRENDER and the keyboard overlay request.
#include "display/display.h"
#include "display/presenter.h"
#include "error/error.h"

std::atomic<int32_t> displayorder_hardware{2};
std::atomic<int32_t> displayorder_glrender{3};
std::atomic<int32_t> displayorder_hardware1{4};

void sub__displayorder(int32_t first, int32_t second, int32_t third, int32_t fourth) {
    if (new_error_is_set()) return;
    const int32_t codes[4] = {first, second, third, fourth};
    for (int32_t i = 0; i < 4; i++)
        for (int32_t j = i + 1; j < 4; j++)
            if (codes[i] && codes[i] == codes[j]) {
                error(ERR_ILLEGAL_FUNCTION_CALL);
                return;
            }
    // Position by code; codes outside 1 to 4 are ignored and unnamed layers not drawn.
    int32_t position[5] = {};
    for (int32_t i = 0; i < 4; i++)
        if (codes[i] >= 1 && codes[i] <= 4) position[codes[i]] = i + 1;
    displayorder_screen.store(position[1]);
    displayorder_hardware.store(position[2]);
    displayorder_hardware1.store(position[3]);
    displayorder_glrender.store(position[4]);
}

void sub__glrender(int32_t mode) {
    switch (mode) {
    case 1: sub__displayorder(4, 1, 2, 3); break;
    case 2: sub__displayorder(1, 2, 4, 3); break;
    case 3: sub__displayorder(4, 0, 0, 0); break;
    default: break;
    }
}

void requestKeyboardOverlayImage(int32_t handle) { requestedKeyboardOverlayImage.store(handle); }
