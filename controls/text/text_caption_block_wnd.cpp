#include "controls/text/text_caption_block_wnd.h"

#include "controls/text/text_painting.h"
#include "controls/text/shown_texts.h"
#include "controls/base/client_state.h"

IMPLEMENT_DYNAMIC(CTextCaptionBlockWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CTextCaptionBlockWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void PaintCaptionBlockBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                                 const ControlDrawState& state)
{
    graphics.Clear(Gdiplus::ColorFromRef(state.backgroundColor));
    if (state.blank || !state.drawBackground)
    {
        return;
    }
    const Gdiplus::SolidBrush wash(Gdiplus::ColorFromRef(state.accentColor, 0x2A));
    graphics.FillRectangle(&wash, BoxIn(rect, 0, 0, Gdiplus::REAL(rect.right - rect.left),
                                        Gdiplus::REAL(rect.bottom - rect.top)));
}

void DrawTextCaptionBlock(Gdiplus::Graphics& graphics, const RECT& rect,
                          const ControlDrawState& state)
{
    const Gdiplus::REAL width = Gdiplus::REAL(rect.right - rect.left);
    const Gdiplus::REAL height = Gdiplus::REAL(rect.bottom - rect.top);
    const ShownTexts texts = CaptionBlockTexts(state);
    DrawBoxedText(graphics, texts.first, {12.0f, true, 0xE0E8ECF2},
                  BoxIn(rect, 2, 3, width - 4, 18), Gdiplus::StringAlignmentNear,
                  Gdiplus::StringAlignmentNear, TextFlow::OneLine);
    DrawBoxedText(graphics, texts.second, {11.0f, false, 0xC0CED4DC},
                  BoxIn(rect, 2, 21, width - 4, height - 22), Gdiplus::StringAlignmentNear,
                  Gdiplus::StringAlignmentNear, TextFlow::Wrapped);
}

CTextCaptionBlockWnd::CTextCaptionBlockWnd()
{
    kindName = "text caption block";
    SetGridSpan(CSize(6, 1));
    label = L"Caption";
    textValue = L"Body";
    drawBorder = false;
    drawBackground = false;
}

void CTextCaptionBlockWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawTextCaptionBlock(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot);
}

CTextCaptionBlockWnd::State CTextCaptionBlockWnd::GetState() const
{
    return ClientStateOf<State>(*this);
}

BOOL CTextCaptionBlockWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CTextCaptionBlockWnd::OnPaint()
{
    PaintControl(*this, &PaintCaptionBlockBackground);
}
