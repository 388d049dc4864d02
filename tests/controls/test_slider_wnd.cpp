#include "tests/controls/test_slider_wnd.h"

#include "platform/gdiplus/gdiplus.h"
#include "platform/win32/palette.h"

#include <algorithm>
#include <cmath>

BEGIN_MESSAGE_MAP(CTestSliderWnd, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_MOUSEWHEEL()
ON_WM_KEYDOWN()
ON_WM_ENABLE()
END_MESSAGE_MAP()

namespace
{

constexpr int kTrackHeight96 = 4;
constexpr int kThumbWidth96 = 10;
constexpr double kStep = 0.05; // one wheel notch or arrow key

// The track runs between the thumb's centres at either end.
struct Track
{
    double left;
    double span;
};

Track TrackOf(CSize size, UINT dpi)
{
    const double half = brvl::win32::ScaleForDpi(kThumbWidth96, dpi) / 2.0;
    return {half, std::max(0.0, size.cx - 2 * half)};
}

} // namespace

void CTestSliderWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    using brvl::win32::ScaleForDpi;
    using Gdiplus::ColorFromRef;
    using Gdiplus::REAL;
    namespace palette = brvl::palette;
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    const Gdiplus::SolidBrush background(ColorFromRef(palette::kBackground));
    graphics.FillRectangle(&background, 0, 0, state.size.cx, state.size.cy);

    const Track track = TrackOf(state.size, state.dpi);
    const REAL middle = REAL(state.size.cy) / 2;
    const REAL trackHeight = REAL(ScaleForDpi(kTrackHeight96, state.dpi));
    const Gdiplus::SolidBrush field(ColorFromRef(palette::kField));
    const Gdiplus::SolidBrush travelled(
        ColorFromRef(state.enabled ? palette::kAccent : palette::kDimText));
    graphics.FillRectangle(&field, Gdiplus::RectF(REAL(track.left), middle - trackHeight / 2,
                                                  REAL(track.span), trackHeight));
    const REAL thumbCentre = REAL(track.left + track.span * state.value);
    graphics.FillRectangle(&travelled, Gdiplus::RectF(REAL(track.left), middle - trackHeight / 2,
                                                      thumbCentre - REAL(track.left), trackHeight));

    const REAL thumbWidth = REAL(ScaleForDpi(kThumbWidth96, state.dpi));
    const Gdiplus::SolidBrush face(ColorFromRef(!state.enabled   ? palette::kPanel
                                                : state.dragging ? palette::kPressed
                                                                 : palette::kHover));
    const Gdiplus::Pen edge(ColorFromRef(state.enabled ? palette::kBorder : palette::kSeparator),
                            1.0f);
    const Gdiplus::RectF thumb(thumbCentre - thumbWidth / 2 + 0.5f, 0.5f, thumbWidth - 1,
                               REAL(state.size.cy) - 1);
    graphics.FillRectangle(&face, thumb);
    graphics.DrawRectangle(&edge, thumb);
}

CTestSliderWnd::State CTestSliderWnd::GetState() const
{
    CRect client;
    GetClientRect(&client);
    return {client.Size(), ::GetDpiForWindow(m_hWnd), m_value, IsWindowEnabled() != FALSE,
            m_dragging};
}

BOOL CTestSliderWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    const LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    return CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void CTestSliderWnd::SetValue(double value, bool silent)
{
    Change(value, silent);
}

bool CTestSliderWnd::Change(double value, bool silent)
{
    if (std::isnan(value) || std::clamp(value, 0.0, 1.0) == m_value)
    {
        return true;
    }
    m_value = std::clamp(value, 0.0, 1.0);
    Invalidate();
    if (silent)
    {
        return true;
    }
    const HWND self = m_hWnd;
    ::SendMessage(::GetParent(self), WM_COMMAND,
                  MAKEWPARAM(static_cast<UINT>(GetDlgCtrlID()), kValueChanged),
                  reinterpret_cast<LPARAM>(self));
    return ::IsWindow(self) != FALSE;
}

double CTestSliderWnd::ValueAt(int x) const
{
    const State state = GetState();
    const Track track = TrackOf(state.size, state.dpi);
    return track.span > 0 ? (x - track.left) / track.span : m_value;
}

void CTestSliderWnd::OnPaint()
{
    CPaintDC dc(this);
    Gdiplus::Graphics graphics(dc.GetSafeHdc());
    Draw(graphics, GetState());
}

void CTestSliderWnd::OnLButtonDown(UINT, CPoint point)
{
    if (!IsWindowEnabled())
    {
        return;
    }
    SetCapture();
    m_dragging = true;
    Invalidate();
    Change(ValueAt(point.x), false);
}

void CTestSliderWnd::OnMouseMove(UINT, CPoint point)
{
    if (m_dragging && IsWindowEnabled())
    {
        Change(ValueAt(point.x), false);
    }
}

void CTestSliderWnd::OnLButtonUp(UINT, CPoint)
{
    if (m_dragging)
    {
        ::ReleaseCapture();
    }
}

void CTestSliderWnd::OnCaptureChanged(CWnd*)
{
    m_dragging = false;
    Invalidate();
}

BOOL CTestSliderWnd::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    if (!IsWindowEnabled())
    {
        return CWnd::OnMouseWheel(flags, delta, point);
    }
    Change(m_value + kStep * delta / WHEEL_DELTA, false);
    return TRUE;
}

void CTestSliderWnd::OnKeyDown(UINT key, UINT, UINT)
{
    if (!IsWindowEnabled())
    {
        return;
    }
    switch (key)
    {
    case VK_LEFT:
    case VK_DOWN:
        Change(m_value - kStep, false);
        break;
    case VK_RIGHT:
    case VK_UP:
        Change(m_value + kStep, false);
        break;
    case VK_HOME:
        Change(0.0, false);
        break;
    case VK_END:
        Change(1.0, false);
        break;
    default:
        break;
    }
}

void CTestSliderWnd::OnEnable(BOOL)
{
    Invalidate();
}
