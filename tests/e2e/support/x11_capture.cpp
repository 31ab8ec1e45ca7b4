// Window pictures through XGetImage; moves and resizes through xdotool.
#include "support/x11_capture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

#include "support/child.h"

x11_picture x11_capture(unsigned long window) {
    x11_picture picture;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return picture;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes)) {
        XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
        if (image) {
            picture.width = attributes.width;
            picture.height = attributes.height;
            picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
            for (int32_t y = 0; y < picture.height; y++)
                for (int32_t x = 0; x < picture.width; x++)
                    picture.pixels[static_cast<size_t>(y) * picture.width + x] =
                        static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF;
            XDestroyImage(image);
        }
    }
    XCloseDisplay(display);
    return picture;
}

bool x11_window_size(unsigned long window, int32_t* width, int32_t* height) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XWindowAttributes attributes;
    bool ok = XGetWindowAttributes(display, window, &attributes);
    if (ok) {
        *width = attributes.width;
        *height = attributes.height;
    }
    XCloseDisplay(display);
    return ok;
}

namespace {

bool xdotool(const std::vector<std::string>& args) {
    auto tool = child_start(args);
    return child_wait(tool, 5000) == 0;
}

}  // namespace

bool xdotool_move(unsigned long window, int32_t x, int32_t y) {
    return xdotool({"xdotool", "windowmove", "--sync", std::to_string(window), std::to_string(x), std::to_string(y)});
}

bool xdotool_resize(unsigned long window, int32_t width, int32_t height) {
    return xdotool({"xdotool", "windowsize", std::to_string(window), std::to_string(width), std::to_string(height)});
}
