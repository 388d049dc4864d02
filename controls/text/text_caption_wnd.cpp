#include "controls/text/text_caption_wnd.h"

#include "controls/text/text_painting.h"
#include "controls/text/shown_texts.h"
#include "controls/base/client_state.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CTextCaptionWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CTextCaptionWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void DrawTextCaption(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state)
{
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    DrawBoxedText(graphics, CaptionTexts(state).first, {12.0f, false, 0xD0D8DCE2},
                  BoxIn(rect, 0, 0, Gdiplus::REAL(std::max<LONG>(0, width)), Gdiplus::REAL(height)),
                  Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter,
                  TextFlow::OneLine);
}

CTextCaptionWnd::CTextCaptionWnd()
{
    kindName = "text caption";
    SetGridSpan(CSize(4, 1));
    label = L"Caption";
    drawBorder = false;
    drawBackground = false;
}

void CTextCaptionWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawTextCaption(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot);
}

CTextCaptionWnd::State CTextCaptionWnd::GetState() const
{
    return ClientStateOf<State>(*this);
}

BOOL CTextCaptionWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CTextCaptionWnd::OnPaint()
{
    PaintControl(*this, &PaintBackgroundColour);
}
