#include "controls/buttons/breadcrumb_button_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"

IMPLEMENT_DYNAMIC(CBreadcrumbButtonWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CBreadcrumbButtonWnd, CBaseControlWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace
{

constexpr COLORREF kRestingText = 0xA69E98;
constexpr COLORREF kHoveredText = 0xEAE2DC;

} // namespace

CBreadcrumbButtonWnd::CBreadcrumbButtonWnd()
{
    kindName = "breadcrumb button";
    label = L"Action";
    drawBorder = false;
    drawBackground = false;
}

CBreadcrumbButtonWnd::State CBreadcrumbButtonWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    return state;
}

void CBreadcrumbButtonWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const ControlDrawState& s = state.snapshot;
    graphics.Clear(Gdiplus::ColorFromRef(s.backgroundColor));
    const Gdiplus::Color text = s.disabled              ? Gdiplus::ColorFromRef(kRestingText, 0x60)
                                : s.hover && !s.pressed ? Gdiplus::ColorFromRef(kHoveredText, 0xE0)
                                                        : Gdiplus::ColorFromRef(kRestingText, 0xB0);
    DrawControlText(
        graphics, s.label, {10.5f, Gdiplus::FontStyleBold}, text.GetValue(),
        Gdiplus::RectF(6, 2, Gdiplus::REAL(state.size.cx - 12), Gdiplus::REAL(state.size.cy - 4)));
}

BOOL CBreadcrumbButtonWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_HAND, false);
}

void CBreadcrumbButtonWnd::OnPaint()
{
    PaintBuffered(*this,
                  [this](Gdiplus::Graphics& graphics, const RECT& client)
                  {
                      State state = GetState();
                      state.size = CSize(client.right, client.bottom);
                      Draw(graphics, state);
                  });
}

void CBreadcrumbButtonWnd::OnMouseMove(UINT, CPoint)
{
    if (TakesInput() && !hover)
    {
        hover = true;
        RequestLeaveNotice();
        Repaint();
    }
}

void CBreadcrumbButtonWnd::OnMouseLeave()
{
    const bool changed = hover || pressed;
    hover = false;
    if (::GetCapture() != m_hWnd)
    {
        pressed = false;
    }
    if (changed)
    {
        Repaint();
    }
}

void CBreadcrumbButtonWnd::OnLButtonDown(UINT, CPoint)
{
    if (!TakesInput())
    {
        return;
    }
    pressed = true;
    SetCapture();
    Repaint();
}

void CBreadcrumbButtonWnd::OnLButtonUp(UINT, CPoint point)
{
    const bool wasPressed = pressed;
    pressed = false;
    if (::GetCapture() == m_hWnd)
    {
        ::ReleaseCapture();
    }
    CRect client;
    GetClientRect(&client);
    if (wasPressed && TakesInput() && client.PtInRect(point))
    {
        if (!TellParent(WMU_CONTROL_CHANGED) || !TellParent(WMU_CONTROL_COMMIT))
        {
            return; // the parent destroyed this control
        }
    }
    Repaint();
}

void CBreadcrumbButtonWnd::OnCaptureChanged(CWnd*)
{
    pressed = false;
    Repaint();
}
