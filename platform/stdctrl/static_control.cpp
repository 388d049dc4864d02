// STATIC: labels (word-wrapped, "&" mnemonics), icons and black frames; with
// SS_NOTIFY it hears the mouse and reports clicks.

#include "platform/gdiplus/gdiplus.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/control_styles.h"
#include "platform/stdctrl/control_theme.h"
#include "platform/win32/palette.h"
#include "platform/win32/gdi.h"
#include "platform/win32/resource_data.h"
#include "platform/stdctrl/standard_controls.h"
#include "platform/win32/window_system.h"

#include "base/unicode_text.h"

#include <memory>

namespace brvl::win32
{

namespace
{

struct StaticState
{
    HFONT font = nullptr;
};

ControlStateTable<StaticState>& Statics()
{
    static ControlStateTable<StaticState> table;
    return table;
}

// An icon named by the control's text ("128" or "#128"), from the icon resources.
void PaintIcon(HDC dc, const RECT& client, const std::wstring& name)
{
    std::wstring id = name;
    if (!id.empty() && id[0] == L'#')
    {
        id.erase(0, 1);
    }
    const std::optional<std::string_view> png = FindResourceData("icon", WideToUtf8(id));
    if (!png)
    {
        return;
    }
    std::unique_ptr<Gdiplus::Bitmap> image(Gdiplus::Bitmap::FromMemory(png->data(), png->size()));
    if (!image || image->GetWidth() == 0)
    {
        return;
    }
    // Shown at 32 x 32 (the standard icon size) in the control's top-left corner.
    Gdiplus::Graphics g(dc);
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    g.DrawImage(image.get(), Gdiplus::RectF(Gdiplus::REAL(client.left), Gdiplus::REAL(client.top),
                                            32.0f, 32.0f));
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(hwnd, &ps);
    if (dc != nullptr)
    {
        const WindowPtr w = WindowSystem::Instance().Find(hwnd);
        const DWORD style = w ? w->style : 0;
        const std::wstring text = w ? w->text : std::wstring();
        RECT client{};
        GetClientRect(hwnd, &client);
        const DWORD kind = style & SS_TYPEMASK;
        if (kind == SS_BLACKFRAME)
        {
            theme::FillSolid(dc, client, palette::kBackground);
            theme::FrameSolid(dc, client, palette::kBlackFrame);
        }
        else if (kind == SS_ICON)
        {
            theme::FillSolid(dc, client, palette::kBackground);
            PaintIcon(dc, client, text);
        }
        else
        {
            theme::FillSolid(dc, client, palette::kBackground);
            UINT format = DT_WORDBREAK;
            format |= kind == SS_CENTER ? DT_CENTER : kind == SS_RIGHT ? DT_RIGHT : DT_LEFT;
            if ((style & SS_NOPREFIX) != 0)
            {
                format |= DT_NOPREFIX;
            }
            theme::DrawLabel(dc, text, client, format,
                             IsWindowEnabled(hwnd) ? palette::kText : palette::kDimText,
                             Statics().Of(hwnd).font);
        }
    }
    EndPaint(hwnd, &ps);
}

} // namespace

LRESULT StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_SETTEXT:
    case WM_ENABLE:
    {
        const LRESULT r = msg == WM_SETTEXT ? DefWindowProcW(hwnd, msg, wParam, lParam) : 0;
        InvalidateRect(hwnd, nullptr, FALSE);
        return r;
    }
    case WM_LBUTTONUP:
        // Only an SS_NOTIFY static is hit by the mouse at all.
        if ((GetWindowStyle(hwnd) & SS_NOTIFY) != 0)
        {
            NotifyParent(hwnd, STN_CLICKED);
        }
        return 0;
    default:
        return DefControlProc(Statics(), &Paint, hwnd, msg, wParam, lParam);
    }
}

} // namespace brvl::win32
