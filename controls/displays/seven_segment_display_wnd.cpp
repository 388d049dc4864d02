#include "controls/displays/seven_segment_display_wnd.h"

#include "controls/base/accent_shade.h"
#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/displays/display_text.h"

IMPLEMENT_DYNAMIC(CSevenSegmentDisplayWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CSevenSegmentDisplayWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

void FillHexagon(Gdiplus::Graphics& graphics, const Gdiplus::Brush& brush,
                 const Gdiplus::RectF& box, bool horizontal)
{
    const REAL x = box.X;
    const REAL y = box.Y;
    const REAL w = box.Width;
    const REAL h = box.Height;
    if (horizontal)
    {
        const REAL s = 0.32f * h;
        const Gdiplus::PointF points[] = {{x + s, y},         {x + w - s, y}, {x + w, y + h / 2},
                                          {x + w - s, y + h}, {x + s, y + h}, {x, y + h / 2}};
        graphics.FillPolygon(&brush, points, 6);
        return;
    }
    const REAL s = 0.32f * w;
    const Gdiplus::PointF points[] = {{x + w / 2, y},     {x + w, y + s}, {x + w, y + h - s},
                                      {x + w / 2, y + h}, {x, y + h - s}, {x, y + s}};
    graphics.FillPolygon(&brush, points, 6);
}

} // namespace

CSevenSegmentDisplayWnd::CSevenSegmentDisplayWnd()
{
    kindName = "seven segment display";
    gridSpanX = 4;
    gridSpanY = 2;
    label = L"Readout";
    textValue = L"12.3";
}

CSevenSegmentDisplayWnd::State CSevenSegmentDisplayWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    return state;
}

void CSevenSegmentDisplayWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawSevenSegmentDisplay(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot,
                            state.snapshot.textValue);
}

BOOL CSevenSegmentDisplayWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CSevenSegmentDisplayWnd::ApplyItem(const ControlItem& item)
{
    CBaseControlWnd::ApplyItem(item);
}

void CSevenSegmentDisplayWnd::OnPaint()
{
    PaintControl(*this, &PaintSevenSegmentBackground);
}

void PaintSevenSegmentBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                                 const ControlDrawState& state)
{
    // The frame sits on the outermost pixels, clear of the strip and the panel.
    PaintBackdrop(graphics, rect, state, {.frame = 0x16FFFFFF});
    if (!state.drawBackground)
    {
        return;
    }
    const REAL width = REAL(rect.right - rect.left);
    const REAL height = REAL(rect.bottom - rect.top);
    const Gdiplus::LinearGradientBrush strip(
        Gdiplus::PointF(7, height - 6), Gdiplus::PointF(7, height - 4), Gdiplus::Color(0x00FFFFFF),
        Gdiplus::Color(0x12FFFFFF));
    graphics.FillRectangle(&strip, 7.0f, height - 6, width - 14, 2.0f);
    const Gdiplus::SolidBrush panel(
        AccentShade(state.accentColor, 0x14, 1.0, ChannelRounding::Round));
    graphics.FillRectangle(&panel, 8.0f, 22.0f, width - 16, height - 29);
}

void DrawSevenSegmentDisplay(Gdiplus::Graphics& graphics, const RECT& rect,
                             const ControlDrawState& state, const wchar_t* text)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    DrawControlText(graphics, state.label, {10, Gdiplus::FontStyleBold}, 0xD6E8E4DC,
                    Gdiplus::RectF(6, 4, REAL(width - 12), 14));

    const int digitWidth = ((width - 28) - 28) / 4;
    const int digitHeight = height - 35;
    // Hexagons of no or negative size would draw mirrored shapes.
    if (digitWidth <= 0 || digitHeight <= 0)
    {
        return;
    }
    const std::array<DigitSlot, 4> slots = SevenSegmentSlots(text);
    const COLORREF accent = state.accentColor;
    for (int k = 0; k < 4; ++k)
    {
        const REAL left = REAL(14 + k * (digitWidth + 7));
        DrawSevenSegmentDigit(graphics,
                              Gdiplus::RectF(left, 25, REAL(digitWidth), REAL(digitHeight)),
                              slots[k].character, accent);

        const REAL c = 0.13f * digitWidth;
        const REAL x = left + digitWidth + (7 - c) / 2;
        const REAL y = 25 + digitHeight - c - 1;
        if (slots[k].dot)
        {
            const Gdiplus::SolidBrush glow(AccentShade(accent, 0x46, 1.2));
            graphics.FillEllipse(&glow, x - 1.5f, y - 1.5f, c + 3, c + 3);
            const Gdiplus::SolidBrush dot(AccentShade(accent, 0xF5, 1.0, ChannelRounding::Round));
            graphics.FillEllipse(&dot, x, y, c, c);
        }
        else
        {
            const Gdiplus::SolidBrush dot(Gdiplus::Color(0x48000000));
            graphics.FillEllipse(&dot, x, y, c, c);
        }
    }
}

void DrawSevenSegmentDigit(Gdiplus::Graphics& graphics, const Gdiplus::RectF& box,
                           wchar_t character, COLORREF accent)
{
    const REAL x = box.X;
    const REAL y = box.Y;
    const REAL w = box.Width;
    const REAL h = box.Height;
    const REAL th = 0.075f * w;
    const REAL o = 0.065f * w;
    const REAL l = 0.1f * w;
    const REAL vh = h / 2 - l - th / 2 - 2;
    struct Segment
    {
        unsigned bit;
        Gdiplus::RectF box;
        bool horizontal;
    };
    const Segment segments[] = {
        {1, {x + l, y, w - 2 * l, th}, true},                   // a
        {8, {x + l, y + h - th, w - 2 * l, th}, true},          // d
        {64, {x + l, y + h / 2 - th / 2, w - 2 * l, th}, true}, // g
        {2, {x + w - o, y + l + 1, o, vh}, false},              // b
        {4, {x + w - o, y + h / 2 + th / 2 + 1, o, vh}, false}, // c
        {16, {x, y + h / 2 + th / 2 + 1, o, vh}, false},        // e
        {32, {x, y + l + 1, o, vh}, false},                     // f
    };
    const unsigned lit = SevenSegmentsOf(character);
    for (const Segment& segment : segments)
    {
        DrawDigitSegment(graphics, segment.box, (lit & segment.bit) != 0, segment.horizontal,
                         accent);
    }
}

void DrawDigitSegment(Gdiplus::Graphics& graphics, const Gdiplus::RectF& box, bool lit,
                      bool horizontal, COLORREF accent)
{
    if (!lit)
    {
        FillHexagon(graphics, Gdiplus::SolidBrush(Gdiplus::Color(0x48000000)), box, horizontal);
        return;
    }
    const Gdiplus::RectF grown(box.X - 1.8f, box.Y - 1.8f, box.Width + 3.6f, box.Height + 3.6f);
    FillHexagon(graphics, Gdiplus::SolidBrush(AccentShade(accent, 0x46, 1.25)), grown, horizontal);
    FillHexagon(graphics,
                Gdiplus::SolidBrush(AccentShade(accent, 0xF5, 1.0, ChannelRounding::Round)), box,
                horizontal);
}
