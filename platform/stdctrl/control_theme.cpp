#include "platform/stdctrl/control_theme.h"

#include "platform/win32/gdi.h"
#include "platform/win32/window_api.h"

namespace brvl::win32::theme
{

void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    const HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF color, int thickness)
{
    const HBRUSH brush = CreateSolidBrush(color);
    RECT r = rect;
    for (int i = 0; i < thickness && r.right - r.left > 0 && r.bottom - r.top > 0; ++i)
    {
        FrameRect(dc, &r, brush);
        r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    DeleteObject(brush);
}

HFONT ControlFont(HFONT assigned)
{
    return assigned != nullptr ? assigned : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void DrawLabel(HDC dc, const std::wstring& text, RECT rect, UINT format, COLORREF color, HFONT font)
{
    const HGDIOBJ previous = SelectObject(dc, ControlFont(font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    SelectObject(dc, previous);
}

SIZE MeasureText(HFONT font, const std::wstring& text)
{
    SIZE size{0, 0};
    const HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr)
    {
        return size;
    }
    const HGDIOBJ previous = SelectObject(dc, ControlFont(font));
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return size;
}

} // namespace brvl::win32::theme
