#pragma once

#include "platform/gdiplus/gdiplus.h"
#include "platform/win32/window_picture.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <algorithm>

// What the pages' tests share on top of the toolkit's kit.

// How many pixels of a window's picture differ from what `bitmap` holds.
inline int PixelsDifferingFromWindow(HWND window, Gdiplus::Bitmap& bitmap)
{
    WindowPicture picture;
    if (!ComposeWindowPicture(window, picture))
    {
        return -1;
    }
    int differing = 0;
    for (int y = 0; y < picture.height; ++y)
    {
        for (int x = 0; x < picture.width; ++x)
        {
            differing += picture.ColorAt(x, y) != PixelAt(bitmap, x, y) ? 1 : 0;
        }
    }
    return differing;
}

// A window's Draw at no size, a tiny size and a huge one, each followed by a
// fill that a Cairo context left in its error state would silently drop.
template <typename Window> void ExpectDrawLeavesGraphicsUsable(typename Window::State state)
{
    for (const CSize size : {CSize(0, 0), CSize(3, 3), CSize(3000, 2000)})
    {
        SCOPED_TRACE(::testing::Message() << size.cx << " x " << size.cy);
        Gdiplus::Bitmap canvas(std::max<int>(size.cx, 1), std::max<int>(size.cy, 1));
        Gdiplus::Graphics graphics(&canvas);
        state.size = size;
        Window::Draw(graphics, state);
        const Gdiplus::SolidBrush marker(Gdiplus::Color(255, 1, 2, 3));
        graphics.ResetClip();
        graphics.FillRectangle(&marker, 0, 0, 1, 1);
        EXPECT_EQ(PixelAt(canvas, 0, 0), RGB(1, 2, 3));
    }
}
