#include "controls/text/vertical_divider_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/painting_helpers.h"
#include "controls/text/text_painting.h"

IMPLEMENT_DYNAMIC(CVerticalDividerWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CVerticalDividerWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CVerticalDividerWnd::CVerticalDividerWnd()
{
    kindName = "vertical divider";
    SetGridSpan(CSize(1, 4));
    drawBorder = false;
    drawBackground = false;
}

void DrawVerticalDivider(Gdiplus::Graphics& graphics, const RECT& rect,
                         const ControlDrawState& state)
{
    // The same steps as the horizontal divider's, turned.
    if (state.blank)
    {
        graphics.Clear(Gdiplus::ColorFromRef(state.backgroundColor));
        return;
    }
    PaintControlBackground(graphics, rect, state);
    const Gdiplus::REAL x = Gdiplus::REAL(rect.left + (rect.right - rect.left) / 2) + 0.5f;
    const Gdiplus::Pen line(Gdiplus::ColorFromRef(state.accentColor, 0xE4), 2.0f);
    graphics.DrawLine(&line, x, Gdiplus::REAL(rect.top + 8), x, Gdiplus::REAL(rect.bottom - 8));
}

void CVerticalDividerWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawVerticalDivider(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot);
}

CVerticalDividerWnd::State CVerticalDividerWnd::GetState() const
{
    return ClientStateOf<State>(*this);
}

BOOL CVerticalDividerWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CVerticalDividerWnd::OnPaint()
{
    PaintControl(*this, &PaintNoBackground, false);
}
