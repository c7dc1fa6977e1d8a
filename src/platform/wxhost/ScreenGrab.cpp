#include "wxhost/ScreenGrab.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace solx::wxhost {
namespace {

// The 8-bit value of one colour channel under its mask.
unsigned char Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long max = mask >> shift;
    return static_cast<unsigned char>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

bool GrabScreen(int x, int y, int width, int height, std::vector<unsigned char>& rgb) {
    if (width <= 0 || height <= 0) return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XImage* shot =
        XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (shot) {
        rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
        unsigned char* out = rgb.data();
        for (int row = 0; row < height; ++row)
            for (int col = 0; col < width; ++col, out += 3) {
                const unsigned long px = XGetPixel(shot, col, row);
                out[0] = Channel(px, shot->red_mask);
                out[1] = Channel(px, shot->green_mask);
                out[2] = Channel(px, shot->blue_mask);
            }
        XDestroyImage(shot);
    }
    XCloseDisplay(display);
    return shot != nullptr;
}

}  // namespace solx::wxhost
