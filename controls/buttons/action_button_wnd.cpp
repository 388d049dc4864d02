#include "controls/buttons/action_button_wnd.h"

#include "controls/base/accent_shade.h"
#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CActionButtonWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CActionButtonWnd, CPushButtonControl)
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

using Gdiplus::REAL;

void FillRounded(Gdiplus::Graphics& graphics, const Gdiplus::Brush& brush, REAL x, REAL y, REAL w,
                 REAL h, REAL radius)
{
    Gdiplus::GraphicsPath path;
    AddRoundedRectFigure(path, x, y, w, h, radius);
    graphics.FillPath(&brush, &path);
}

} // namespace

CActionButtonWnd::CActionButtonWnd()
{
    kindName = "action button";
    gridSpanX = 4;
    gridSpanY = 2;
    label = L"Action";
    value = 0.0;
}

CActionButtonWnd::State CActionButtonWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    return state;
}

void CActionButtonWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawActionButton(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot);
}

BOOL CActionButtonWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_HAND, false);
}

bool CActionButtonWnd::InHitArea(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    const RECT body = ActionButtonBody(client);
    // A body of no width (a button under 18 pixels) takes no click.
    return ::PtInRect(&body, point) != FALSE;
}

void CActionButtonWnd::OnPaint()
{
    PaintControl(*this, &PaintControlBackground);
}

RECT ActionButtonBody(const RECT& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int bodyWidth = std::min(124, width - 18);
    const int left = rect.left + (width - bodyWidth) / 2;
    const int top = rect.top + (height <= 44 ? 4 : 24);
    const int bodyHeight = height > 44 ? 30 : std::min(34, height - 8);
    return RECT{left, top, left + bodyWidth, top + bodyHeight};
}

void DrawActionButton(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state)
{
    const RECT body = ActionButtonBody(rect);
    const REAL x = REAL(body.left);
    const REAL y = REAL(body.top);
    const REAL w = REAL(body.right - body.left);
    const REAL h = REAL(body.bottom - body.top);
    const COLORREF accent = state.accentColor;

    FillRounded(graphics, Gdiplus::SolidBrush(Gdiplus::Color(0x22000000)), x - 2, y + 4, w + 4,
                h + 4, 10);
    if (state.hover || state.pressed)
    {
        FillRounded(graphics,
                    Gdiplus::SolidBrush(AccentShade(accent, state.pressed ? 0x12 : 0x1C, 1.0,
                                                    ChannelRounding::Round)),
                    x - 2, y - 2, w + 4, h + 4, 10);
    }

    Gdiplus::Color top(255, 34, 36, 42);
    Gdiplus::Color bottom(255, 18, 20, 24);
    if (state.pressed)
    {
        top = AccentShade(accent, 0xFF, 0.88);
        bottom = AccentShade(accent, 0xFF, 0.6);
    }
    else if (state.hover)
    {
        top = AccentShade(accent, 0xFF, 1.03);
        bottom = AccentShade(accent, 0xFF, 0.76);
    }
    Gdiplus::GraphicsPath bodyPath;
    AddRoundedRectFigure(bodyPath, x, y, w, h, 8);
    const Gdiplus::LinearGradientBrush fill(Gdiplus::PointF(x, y), Gdiplus::PointF(x, y + h), top,
                                            bottom);
    graphics.FillPath(&fill, &bodyPath);
    const Gdiplus::Pen outline(Gdiplus::Color(0x3CFFFFFF), 1.0f);
    graphics.DrawPath(&outline, &bodyPath);

    DrawControlText(graphics, state.label, {12, Gdiplus::FontStyleBold}, 0xECFAF3EB,
                    Gdiplus::RectF(x, y, w, h));
}
