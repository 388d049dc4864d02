#pragma once

#include "platform/win32/win_types.h"

#include <cstdint>
#include <filesystem>
#include <vector>

// A window's client area as the user would see it: its own backing image with
// its visible children composed over it, bottom to top, each clipped to its
// parent. Pending paints are done first.
struct WindowPicture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xAARRGGBB, row-major

    COLORREF ColorAt(int x, int y) const;
};

BOOL ComposeWindowPicture(HWND hwnd, WindowPicture& picture);
BOOL RenderWindowToPng(HWND hwnd, const std::filesystem::path& path);
