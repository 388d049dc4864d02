#include "platform/backend/wx/x11_screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace brvl::backend::wxui
{

namespace
{

// One colour channel of an X pixel, by the visual's mask, as 0..255.
unsigned char Channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
    {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1UL) == 0)
    {
        ++shift;
    }
    const unsigned long top = mask >> shift;
    return static_cast<unsigned char>(((pixel & mask) >> shift) * 255UL / top);
}

} // namespace

bool ReadX11Screen(void* xDisplay, ScreenPixels& pixels)
{
    auto* display = static_cast<Display*>(xDisplay);
    if (display == nullptr)
    {
        return false;
    }
    const int screen = DefaultScreen(display);
    const int width = DisplayWidth(display, screen);
    const int height = DisplayHeight(display, screen);
    // A request of its own on the toolkit's connection: it comes after every
    // drawing request already made, and nothing read earlier is reused.
    XImage* image =
        XGetImage(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr)
    {
        return false;
    }
    const Visual* visual = DefaultVisual(display, screen);
    pixels.width = width;
    pixels.height = height;
    pixels.rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    unsigned char* out = pixels.rgb.data();
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const unsigned long pixel = XGetPixel(image, x, y);
            *out++ = Channel(pixel, visual->red_mask);
            *out++ = Channel(pixel, visual->green_mask);
            *out++ = Channel(pixel, visual->blue_mask);
        }
    }
    XDestroyImage(image);
    return true;
}

} // namespace brvl::backend::wxui
