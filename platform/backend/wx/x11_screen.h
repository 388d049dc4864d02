#pragma once

// Internal to platform/backend/wx: reading what an X display shows. Kept apart
// from the wx files because the X headers define macros (None, Status, Bool)
// that clash with them.

#include <vector>

namespace brvl::backend::wxui
{

struct ScreenPixels
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb; // 3 bytes a pixel, row-major
};

// The root window of `xDisplay` (an Xlib Display*) as the server holds it at
// this moment, children included; false when the server does not answer.
bool ReadX11Screen(void* xDisplay, ScreenPixels& pixels);

} // namespace brvl::backend::wxui
