#include "platform/win32/dpi_scale.h"

#include "platform/win32/window_api.h"

namespace brvl::win32
{

int ScaleForDpi(int length96, UINT dpi)
{
    return MulDiv(length96, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

int ScaleForWindow(int length96, HWND hwnd)
{
    return ScaleForDpi(length96, ::GetDpiForWindow(hwnd));
}

} // namespace brvl::win32
