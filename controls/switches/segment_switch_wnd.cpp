#include "controls/switches/segment_switch_wnd.h"

#include "controls/base/accent_shade.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSegmentSwitchWnd, CSelectionControl)

BEGIN_MESSAGE_MAP(CSegmentSwitchWnd, CSelectionControl)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

RECT Strip(const RECT& rect)
{
    return {rect.left + 14, rect.top + 24, rect.right - 14, rect.bottom - 18};
}

int SegmentWidth(const RECT& strip, int count)
{
    return (strip.right - strip.left) / std::max(count, 1);
}

void DrawSegment(Gdiplus::Graphics& graphics, const ControlDrawState& state,
                 const SegmentSwitchState& s, int i, REAL xi, const RECT& strip, int sw)
{
    const REAL top = REAL(strip.top);
    const REAL sh = REAL(strip.bottom - strip.top);
    if (i > 0)
    {
        const Gdiplus::Pen divider(Gdiplus::Color(0x2AFFFFFF), 1.0f);
        graphics.DrawLine(&divider, xi + 0.5f, top + 5, xi + 0.5f, REAL(strip.bottom) - 5);
    }
    const bool selected = i == s.selectedIndex;
    const COLORREF accent = state.accentColor;
    if ((selected || i == s.hoverIndex || i == s.pressedIndex) && sh > 6 && sw > 6)
    {
        Gdiplus::GraphicsPath glow;
        AddRoundedRectFigure(glow, xi + 1, top + 1, REAL(sw - 2), sh - 2, 8);
        const Gdiplus::SolidBrush glowFill(
            Gdiplus::ColorFromRef(accent, state.pressed && i == s.pressedIndex ? 0x10 : 0x0C));
        graphics.FillPath(&glowFill, &glow);

        Gdiplus::GraphicsPath face;
        AddRoundedRectFigure(face, xi + 3, top + 3, REAL(sw - 6), sh - 6, 6);
        const Gdiplus::LinearGradientBrush faceFill(
            Gdiplus::PointF(xi + 3, top + 3), Gdiplus::PointF(xi + 3, top + sh - 3),
            selected ? AccentShade(accent, 0xFF, 1.04) : AccentShade(accent, 0x46, 0.98),
            selected ? AccentShade(accent, 0xFF, 0.76) : AccentShade(accent, 0x30, 0.72));
        graphics.FillPath(&faceFill, &face);
    }
    DrawControlText(graphics, SelectionItemText(s, i), 11, true,
                    Gdiplus::RectF(xi + 3, top + 3, REAL(sw - 6), sh - 6),
                    selected ? 0xE8FAF3EB : 0xAEBEC4CB, TextPlacement::Middle);
}

} // namespace

void DrawSegmentSwitch(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                       const SegmentSwitchState& s)
{
    DrawControlText(graphics, state.label, 10, true,
                    Gdiplus::RectF(REAL(rect.left + 6), REAL(rect.top + 6),
                                   REAL(rect.right - rect.left - 12), 14),
                    0xD6DEDCD6, TextPlacement::Middle);

    const RECT strip = Strip(rect);
    const REAL left = REAL(strip.left);
    const REAL top = REAL(strip.top);
    const REAL width = REAL(strip.right - strip.left);
    const REAL height = REAL(strip.bottom - strip.top);
    if (width <= 0 || height <= 0)
    {
        return;
    }
    Gdiplus::GraphicsPath path;
    AddRoundedRectFigure(path, left, top, width, height, 8);
    const Gdiplus::LinearGradientBrush fill(Gdiplus::PointF(left, top),
                                            Gdiplus::PointF(left, top + height),
                                            Gdiplus::Color(0xFF12151A), Gdiplus::Color(0xFF090B0E));
    graphics.FillPath(&fill, &path);
    const Gdiplus::Pen edge(Gdiplus::Color(0x3AFFFFFF), 1.0f);
    graphics.DrawPath(&edge, &path);

    // Segments narrower than a pixel do not fit and are not drawn.
    const int count = std::min(s.count, kMaxSelectionItems);
    const int sw = SegmentWidth(strip, count);
    if (sw < 1)
    {
        return;
    }
    for (int i = 0; i < count; ++i)
    {
        DrawSegment(graphics, state, s, i, left + REAL(i * sw), strip, sw);
    }
}

void RenderSegmentSwitch(Gdiplus::Graphics& graphics, const RECT& rect,
                         const ControlDrawState& state, const SegmentSwitchState& s)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
    {
        return;
    }
    if (state.blank)
    {
        graphics.Clear(Gdiplus::ColorFromRef(state.backgroundColor));
        return;
    }
    PaintControlBackground(graphics, rect, state);
    DrawSegmentSwitch(graphics, rect, state, s);
}

CSegmentSwitchWnd::CSegmentSwitchWnd() : CSelectionControl({L"A", L"B", L"C"}, 0, true)
{
    kindName = "segment switch";
    SetGridSpan(CSize(4, 2));
    label = L"Mode";
}

void CSegmentSwitchWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawSegmentSwitch(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot,
                      state.items);
}

int CSegmentSwitchWnd::HitTest(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    const RECT strip = Strip(client);
    if (count <= 0 || !::PtInRect(&strip, point))
    {
        return -1;
    }
    const int sw = std::max(SegmentWidth(strip, count), 1);
    return std::clamp((point.x - strip.left) / sw, 0, count - 1);
}

void CSegmentSwitchWnd::OnPaint()
{
    PaintControl(*this, &PaintControlBackground);
}
