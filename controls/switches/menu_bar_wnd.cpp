#include "controls/switches/menu_bar_wnd.h"

#include "controls/base/accent_shade.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "platform/win32/gdi.h"

#include <algorithm>
#include <climits>

IMPLEMENT_DYNAMIC(CMenuBarWnd, CSelectionControl)

BEGIN_MESSAGE_MAP(CMenuBarWnd, CSelectionControl)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

// A tab is its text plus 14 on each side, and 4 apart from the next.
constexpr int kTabPadding = 28;
constexpr int kTabGap = 4;
constexpr int kTabPoints = 18;

RECT Strip(const RECT& rect)
{
    return {rect.left + 6, rect.top + 4, rect.right - 6, rect.bottom - 4};
}

BYTE TabAlpha(const SegmentSwitchState& s, int i)
{
    if (i == s.selectedIndex)
    {
        return 0xD0;
    }
    if (i == s.pressedIndex)
    {
        return 0x38;
    }
    return i == s.hoverIndex ? 0x2A : 0;
}

// Top corners rounded, bottom corners square, so the tab stands on the baseline.
void DrawTab(Gdiplus::Graphics& graphics, const ControlDrawState& state, const RECT& item,
             double radius, BYTE alpha)
{
    const REAL left = REAL(item.left);
    const REAL top = REAL(item.top);
    const REAL right = REAL(item.right);
    const REAL bottom = REAL(item.bottom);
    const REAL d = REAL(2 * radius);
    if (right - left < d || bottom - top < d)
    {
        return;
    }
    Gdiplus::GraphicsPath tab;
    tab.AddArc(left, top, d, d, 180, 90);
    tab.AddArc(right - d, top, d, d, 270, 90);
    tab.AddLine(right, top + d / 2, right, bottom);
    tab.AddLine(right, bottom, left, bottom);
    tab.CloseFigure();
    const Gdiplus::LinearGradientBrush fill(
        Gdiplus::PointF(left, top), Gdiplus::PointF(left, bottom),
        AccentShade(state.accentColor, alpha, 1.02), AccentShade(state.accentColor, alpha, 0.78));
    graphics.FillPath(&fill, &tab);
}

} // namespace

MenuBarLayout MenuBarLayout::Of(const RECT& rect, const std::vector<int>& textWidths)
{
    MenuBarLayout layout{};
    layout.strip = Strip(rect);
    layout.height = rect.bottom - rect.top - 8;
    layout.radius = 6.0;
    long long x = layout.strip.left;
    for (const int width : textWidths)
    {
        if (x >= layout.strip.right)
        {
            break;
        }
        const long long right = std::min<long long>(x + width + kTabPadding, INT_MAX);
        layout.items.push_back({int(x), layout.strip.top, int(right), layout.strip.bottom});
        x += width + kTabPadding + kTabGap;
    }
    return layout;
}

std::vector<int> MeasureMenuTabs(HDC dc, const RECT& rect, const SegmentSwitchState& s)
{
    std::vector<int> widths;
    if (dc == nullptr)
    {
        return widths;
    }
    const HFONT font =
        CreateFontW(-MulDiv(kTabPoints, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_BOLD, 0, 0,
                    0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Segoe UI");
    if (font == nullptr)
    {
        return widths;
    }
    const HGDIOBJ previous = SelectObject(dc, font);
    const RECT strip = Strip(rect);
    long long x = strip.left;
    const int count = std::min(s.count, kMaxSelectionItems);
    for (int i = 0; i < count && x < strip.right; ++i)
    {
        const CString text = SelectionItemText(s, i);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.GetString(), text.GetLength(), &extent);
        widths.push_back(int(extent.cx));
        x += extent.cx + kTabPadding + kTabGap;
    }
    SelectObject(dc, previous);
    DeleteObject(font);
    return widths;
}

void DrawMenuBarControl(Gdiplus::Graphics& graphics, const RECT& rect,
                        const ControlDrawState& state, const SegmentSwitchState& s)
{
    // The Graphics has no DC of its own to measure on; the screen's has the
    // same DPI.
    const HDC screen = GetDC(nullptr);
    const MenuBarLayout layout = MenuBarLayout::Of(rect, MeasureMenuTabs(screen, rect, s));
    ReleaseDC(nullptr, screen);

    const RECT& strip = layout.strip;
    const Gdiplus::Pen baseline(Gdiplus::Color(0x5C5E6670), 1.0f);
    graphics.DrawLine(&baseline, REAL(strip.left) + 0.5f, REAL(strip.bottom) - 0.5f,
                      REAL(strip.right) - 0.5f, REAL(strip.bottom) - 0.5f);

    const int shown = std::min<int>(s.count, int(layout.items.size()));
    for (int i = 0; i < shown; ++i)
    {
        const RECT& item = layout.items[size_t(i)];
        const BYTE alpha = TabAlpha(s, i);
        if (alpha != 0)
        {
            DrawTab(graphics, state, item, layout.radius, alpha);
        }
        const bool selected = i == s.selectedIndex;
        if (selected)
        {
            // Cuts the baseline under the open tab.
            const Gdiplus::Pen opening(Gdiplus::ColorFromRef(state.backgroundColor), 1.5f);
            graphics.DrawLine(&opening, REAL(item.left) + 1, REAL(item.bottom) - 0.5f,
                              REAL(item.right) - 1, REAL(item.bottom) - 0.5f);
        }
        DrawControlText(graphics, SelectionItemText(s, i), 18, true,
                        Gdiplus::RectF(REAL(item.left), REAL(item.top),
                                       REAL(item.right - item.left), REAL(item.bottom - item.top)),
                        selected ? 0xE4F8F2EC : 0xB8D6DAE0, TextPlacement::Middle);
    }
}

CMenuBarWnd::CMenuBarWnd() : CSelectionControl({L"Apprentice", L"Maester"}, -1, false)
{
    kindName = "menu bar";
    SetGridSpan(CSize(12, 1));
}

void CMenuBarWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawMenuBarControl(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot,
                       state.items);
}

int CMenuBarWnd::HitTest(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    const RECT strip = Strip(client);
    if (count <= 0 || !::PtInRect(&strip, point))
    {
        return -1;
    }
    CClientDC dc(const_cast<CMenuBarWnd*>(this));
    const MenuBarLayout layout =
        MenuBarLayout::Of(client, MeasureMenuTabs(dc.GetSafeHdc(), client, GetSwitchState()));
    for (size_t i = 0; i < layout.items.size(); ++i)
    {
        if (::PtInRect(&layout.items[i], point))
        {
            return int(i);
        }
    }
    return -1;
}

void CMenuBarWnd::OnPaint()
{
    PaintControl(*this, &PaintControlBackground);
}
