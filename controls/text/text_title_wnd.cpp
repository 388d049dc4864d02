#include "controls/text/text_title_wnd.h"

#include "controls/text/text_painting.h"
#include "controls/text/shown_texts.h"
#include "controls/base/client_state.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CTextTitleWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CTextTitleWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void DrawTextTitle(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state)
{
    graphics.Clear(Gdiplus::ColorFromRef(state.backgroundColor));
    if (state.blank)
    {
        return;
    }
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    DrawBoxedText(
        graphics, TitleTexts(state).first, {18.0f, true, 0xECE8ECF2},
        BoxIn(rect, 2, 0, Gdiplus::REAL(std::max<LONG>(0, width - 2)), Gdiplus::REAL(height)),
        Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, TextFlow::OneLine);
}

CTextTitleWnd::CTextTitleWnd()
{
    kindName = "text title";
    SetGridSpan(CSize(6, 1));
    label = L"Title";
    drawBorder = false;
    drawBackground = false;
}

void CTextTitleWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawTextTitle(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot);
}

CTextTitleWnd::State CTextTitleWnd::GetState() const
{
    return ClientStateOf<State>(*this);
}

BOOL CTextTitleWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CTextTitleWnd::OnPaint()
{
    PaintControl(*this, &PaintNoBackground);
}
