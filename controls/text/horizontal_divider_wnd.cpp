#include "controls/text/horizontal_divider_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/painting_helpers.h"
#include "controls/text/text_painting.h"

IMPLEMENT_DYNAMIC(CHorizontalDividerWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CHorizontalDividerWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void DrawHorizontalDivider(Gdiplus::Graphics& graphics, const RECT& rect,
                           const ControlDrawState& state)
{
    if (state.blank)
    {
        graphics.Clear(Gdiplus::ColorFromRef(state.backgroundColor));
        return;
    }
    PaintControlBackground(graphics, rect, state);
    const LONG width = rect.right - rect.left;
    const Gdiplus::REAL y = Gdiplus::REAL(rect.top + (rect.bottom - rect.top) / 2) + 0.5f;
    const Gdiplus::Pen line(Gdiplus::ColorFromRef(state.accentColor, 0xE4), 2.0f);
    graphics.DrawLine(&line, Gdiplus::REAL(rect.left + 8), y, Gdiplus::REAL(rect.left + width - 8),
                      y);
}

CHorizontalDividerWnd::CHorizontalDividerWnd()
{
    kindName = "horizontal divider";
    SetGridSpan(CSize(4, 1));
    drawBorder = false;
    drawBackground = false;
}

void CHorizontalDividerWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawHorizontalDivider(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot);
}

CHorizontalDividerWnd::State CHorizontalDividerWnd::GetState() const
{
    return ClientStateOf<State>(*this);
}

BOOL CHorizontalDividerWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CHorizontalDividerWnd::OnPaint()
{
    PaintControl(*this, &PaintNoBackground, false);
}
