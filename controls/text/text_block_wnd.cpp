#include "controls/text/text_block_wnd.h"

#include "controls/base/painting_helpers.h"
#include "controls/text/text_painting.h"
#include "controls/text/shown_texts.h"
#include "controls/base/client_state.h"

IMPLEMENT_DYNAMIC(CTextBlockWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CTextBlockWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void DrawTextBlock(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state)
{
    const Gdiplus::REAL width = Gdiplus::REAL(rect.right - rect.left);
    const Gdiplus::REAL height = Gdiplus::REAL(rect.bottom - rect.top);
    const ShownTexts texts = TextBlockTexts(state);
    DrawBoxedText(graphics, texts.first, {13.0f, true, 0xECF2EEE8},
                  BoxIn(rect, 10, 8, width - 20, 20), Gdiplus::StringAlignmentNear,
                  Gdiplus::StringAlignmentNear, TextFlow::OneLine);
    DrawBoxedText(graphics, texts.second, {13.0f, false, 0xE0E6E2DC},
                  BoxIn(rect, 10, 32, width - 20, height - 40), Gdiplus::StringAlignmentNear,
                  Gdiplus::StringAlignmentNear, TextFlow::Wrapped);
}

CTextBlockWnd::CTextBlockWnd()
{
    kindName = "text block";
    SetGridSpan(CSize(4, 2));
    label = L"Title";
    toolTip = L"Wrapped text block.\r\nSecond line.";
    drawBorder = false;
    drawBackground = false;
}

void CTextBlockWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawTextBlock(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot);
}

CTextBlockWnd::State CTextBlockWnd::GetState() const
{
    return ClientStateOf<State>(*this);
}

BOOL CTextBlockWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CTextBlockWnd::OnPaint()
{
    PaintControl(*this, &PaintControlBackground);
}
