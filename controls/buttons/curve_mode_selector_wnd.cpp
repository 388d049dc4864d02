#include "controls/buttons/curve_mode_selector_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/base/standard_cursor.h"

IMPLEMENT_DYNAMIC(CCurveModeSelectorWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CCurveModeSelectorWnd, CBaseControlWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

struct Segment
{
    const wchar_t* text;
    COLORREF colour;
};

constexpr Segment kSegments[] = {{L"Mid", 0x6F51DB}, {L"Side", 0xE09254}};
constexpr int kTrackHeight = 42;

BYTE Truncated(double channel)
{
    return static_cast<BYTE>(channel);
}

} // namespace

CCurveModeSelectorWnd::CCurveModeSelectorWnd()
{
    kindName = "curve mode selector";
    drawBackground = false;
    drawBorder = false;
}

CCurveModeSelectorWnd::State CCurveModeSelectorWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    state.mode = mode;
    state.hoverSegment = hoverSegment;
    state.pressedSegment = pressedSegment;
    return state;
}

BOOL CCurveModeSelectorWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

RECT CCurveModeSelectorWnd::SegmentRect(CSize client, int segment)
{
    const int split = 7 + ((client.cx - 14) - 6) / 2;
    return segment == 0 ? RECT{7, 7, split, 37} : RECT{split + 6, 7, client.cx - 7, 37};
}

int CCurveModeSelectorWnd::HitTestModeSegment(CSize client, CPoint point)
{
    for (const int segment : {0, 1})
    {
        const RECT rect = SegmentRect(client, segment);
        if (::PtInRect(&rect, point))
        {
            return segment;
        }
    }
    return -1;
}

int CCurveModeSelectorWnd::HitTest(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    return HitTestModeSegment(client.Size(), point);
}

void CCurveModeSelectorWnd::SetMode(int m)
{
    const int chosen = m > 0 ? 1 : 0;
    if (chosen != mode)
    {
        Select(chosen);
    }
}

bool CCurveModeSelectorWnd::Select(int m)
{
    mode = m;
    value = m;
    if (!TellParent(WMU_CONTROL_CHANGED))
    {
        return false;
    }
    Repaint();
    return true;
}

void CCurveModeSelectorWnd::OnPaint()
{
    PaintBuffered(*this,
                  [this](Gdiplus::Graphics& graphics, const RECT& client)
                  {
                      State state = GetState();
                      state.size = CSize(client.right, client.bottom);
                      Draw(graphics, state);
                  });
}

void CCurveModeSelectorWnd::OnMouseMove(UINT, CPoint point)
{
    const int segment = HitTest(point);
    if (segment != hoverSegment)
    {
        hoverSegment = segment;
        Repaint();
    }
    if (segment >= 0)
    {
        RequestLeaveNotice();
    }
}

void CCurveModeSelectorWnd::OnMouseLeave()
{
    hoverSegment = -1;
    Repaint();
}

void CCurveModeSelectorWnd::OnLButtonDown(UINT, CPoint point)
{
    pressedSegment = HitTest(point);
    if (pressedSegment >= 0)
    {
        SetCapture();
        Repaint();
    }
}

void CCurveModeSelectorWnd::OnLButtonUp(UINT, CPoint point)
{
    const int pressedOn = pressedSegment;
    pressedSegment = -1;
    if (::GetCapture() == m_hWnd)
    {
        ::ReleaseCapture();
    }
    if (pressedOn >= 0 && HitTest(point) == pressedOn && !Select(pressedOn))
    {
        return; // the parent destroyed this control
    }
    Repaint();
}

void CCurveModeSelectorWnd::OnCaptureChanged(CWnd*)
{
    pressedSegment = -1;
    Repaint();
}

BOOL CCurveModeSelectorWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    POINT point{};
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (HitTest(point) >= 0)
    {
        ShowStandardCursor(IDC_HAND);
        return TRUE;
    }
    return CBaseControlWnd::OnSetCursor(wnd, hitTest, message);
}

void CCurveModeSelectorWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    graphics.Clear(Gdiplus::ColorFromRef(state.snapshot.backgroundColor));
    const REAL width = REAL(state.size.cx);
    // The track keeps its height whatever the control's.
    Gdiplus::GraphicsPath track;
    AddRoundedRectFigure(track, 1, 1, width - 2, kTrackHeight, 10);
    const Gdiplus::LinearGradientBrush trackFill(Gdiplus::PointF(1, 1), Gdiplus::PointF(1, 43),
                                                 Gdiplus::Color(0xFF12151A),
                                                 Gdiplus::Color(0xFF0A0C10));
    graphics.FillPath(&trackFill, &track);
    const Gdiplus::Pen trackEdge(Gdiplus::Color(0x1AFFFFFF), 1.0f);
    graphics.DrawPath(&trackEdge, &track);
    for (const int index : {0, 1})
    {
        DrawModeSegment(graphics, SegmentRect(state.size, index), kSegments[index].text,
                        kSegments[index].colour, index, state);
    }
}

void DrawModeSegment(Gdiplus::Graphics& graphics, const RECT& segment, const wchar_t* text,
                     COLORREF colour, int index, const CCurveModeSelectorWnd::State& state)
{
    const Gdiplus::RectF box(REAL(segment.left + 3), REAL(segment.top + 3),
                             REAL(segment.right - segment.left - 6),
                             REAL(segment.bottom - segment.top - 6));
    Gdiplus::GraphicsPath path;
    AddRoundedRectFigure(path, box.X, box.Y, box.Width, box.Height, 8);

    const bool selected = index == state.mode;
    const double f = selected ? 0.18 : 0.72;
    const double red = GetRValue(colour);
    const double green = GetGValue(colour);
    const double blue = GetBValue(colour);
    BYTE r = Truncated(red * (1 - f) + 24 * f);
    BYTE g = Truncated(green * (1 - f) + 26 * f);
    BYTE b = Truncated(blue * (1 - f) + 30 * f);
    if (index == state.hoverSegment)
    {
        r = Truncated(0.92 * r + 20.4);
        g = Truncated(0.92 * g + 20.4);
        b = Truncated(0.92 * b + 20.4);
    }
    if (index == state.pressedSegment)
    {
        r = Truncated(0.9 * r);
        g = Truncated(0.9 * g);
        b = Truncated(0.9 * b);
    }
    const Gdiplus::SolidBrush fill(Gdiplus::Color(selected ? 0xF0 : 0xB4, r, g, b));
    graphics.FillPath(&fill, &path);
    const Gdiplus::Pen outline(Gdiplus::ColorFromRef(colour, selected ? 0xD2 : 0x50),
                               selected ? 1.4f : 1.0f);
    graphics.DrawPath(&outline, &path);

    const Gdiplus::Color ink =
        selected ? Gdiplus::Color(255, 244, 246, 250)
                 : Gdiplus::Color(255, Truncated(0.42 * red + 133.4),
                                  Truncated(0.42 * green + 135.72), Truncated(0.42 * blue + 139.2));
    DrawControlText(graphics, text, {10.5f, Gdiplus::FontStyleBold}, ink.GetValue(), box);
}
